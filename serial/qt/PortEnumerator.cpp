#include "serial/qt/PortEnumerator.h"

#include "serial/Announce.h"
#include "serial/PortRegistry.h"

#include <QtGlobal>
#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#ifdef Q_OS_WIN
#include "serial/win32/Win32PortList.h"
#else
#include <QSerialPortInfo>
#endif

namespace quorvex::serial {

namespace {

// One listing per process, whichever instance runs it.
struct ListingState {
    bool listing = false;
    std::uint32_t position = 0;
    std::optional<std::vector<std::string>> deviceSet; // held from Begin until exhausted/End
};

ListingState& listingState()
{
    static ListingState state;
    return state;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The run of digits starting at text[from].
std::string_view digitRun(const std::string& text, std::size_t from)
{
    std::size_t end = from;
    while (end < text.size() && isDigit(text[end]))
        ++end;
    return std::string_view(text).substr(from, end - from);
}

} // namespace

int baudOf(speed value)
{
    static constexpr std::array<int, 15> kBauds = {256000, 128000, 115200, 57600, 56000,
                                                   38400,  19200,  11400,  9600,  4800,
                                                   2400,   1200,   600,    300,   110};
    return kBauds.at(static_cast<std::size_t>(value));
}

PortEnumerator::PortEnumerator()
{
    listingState().listing = false;
}

int PortEnumerator::BeginEnumeratePorts()
{
    ListingState& state = listingState();
    if (state.listing)
        return kListingBusy;
    state.position = 0;
    state.deviceSet = listedPortNames();
    state.listing = true;
    return 0;
}

std::string PortEnumerator::EnumeratePorts()
{
    ListingState& state = listingState();
    if (!state.deviceSet || state.position >= state.deviceSet->size()) {
        state.deviceSet.reset();
        return {};
    }
    return (*state.deviceSet)[state.position++];
}

int PortEnumerator::EndEnumeratePorts()
{
    ListingState& state = listingState();
    state.listing = false;
    state.position = 0;
    state.deviceSet.reset();
    return 0;
}

// Runs of digits compare by length first, then digit by digit: numeric order.
bool portNameLess(const std::string& a, const std::string& b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const std::string_view numberA = digitRun(a, i);
            const std::string_view numberB = digitRun(b, j);
            if (numberA.size() != numberB.size())
                return numberA.size() < numberB.size();
            if (numberA != numberB)
                return numberA < numberB;
            i += numberA.size();
            j += numberB.size();
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

std::vector<std::string> presentSerialPortNames()
{
#ifdef Q_OS_WIN
    std::vector<std::string> names = win32SerialPortNames();
#else
    std::vector<std::string> names;
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
        const std::string name = port.portName().toStdString();
        if (!name.empty())
            names.push_back(name);
    }
#endif
    std::sort(names.begin(), names.end(), portNameLess);
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

std::vector<std::string> listedPortNames()
{
    std::vector<std::string> names = presentSerialPortNames();
    for (const std::string& name : portRegistry().virtualPortNames())
        names.push_back(name);
    for (const std::string& path : announcedEmulators())
        names.push_back(path);
    return names;
}

} // namespace quorvex::serial
