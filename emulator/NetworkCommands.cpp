#include "emulator/NetworkCommands.h"

#include "emulator/DayData.h"

#include <cstdio>
#include <vector>

namespace quorvex::emulator {

namespace {

constexpr std::size_t kAddressDigits = 8;
constexpr std::size_t kNumberDigits = 4;
constexpr std::size_t kFirstAddress = 1;
constexpr std::size_t kFirstNumber = 5;

char upperHexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c;
    if (c >= 'A' && c <= 'F')
        return c;
    if (c >= 'a' && c <= 'f')
        return static_cast<char>(c - 'a' + 'A');
    return 0;
}

// The field in upper case when it is exactly `digits` hex digits of either case.
std::optional<std::string> hexField(const std::string& text, std::size_t digits)
{
    if (text.size() != digits)
        return std::nullopt;
    std::string upper;
    for (const char c : text) {
        const char digit = upperHexDigit(c);
        if (digit == 0)
            return std::nullopt;
        upper += digit;
    }
    return upper;
}

std::string joinFields(const NetworkFields& fields)
{
    std::string data = fields[0];
    for (std::size_t i = 1; i < fields.size(); ++i)
        data += ',' + fields[i];
    return data;
}

} // namespace

std::optional<ModelAnswer> NetworkCommands::handle(int command, const std::string& data,
                                                   DeviceState& state)
{
    switch (command) {
    case kModemStateCommand:
        return modemReport(data, state);
    case kReadNetworkCommand:
        return readNetwork(data);
    case kWriteNetworkCommand:
        return writeNetwork(data);
    default:
        return std::nullopt;
    }
}

void NetworkCommands::setModemState(std::uint8_t state)
{
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", state);
    m_modemState = digits;
}

// Data "1" prints the report (kept in the journal), "0" only answers.
ModelAnswer NetworkCommands::modemReport(const std::string& data, DeviceState& state) const
{
    if (data != "0" && data != "1")
        return refused(refusal::kSyntaxError);
    // A printed report is a document of its own: not while a receipt is open.
    if (data == "1" && state.openReceipt != OpenReceipt::None)
        return refused(refusal::kNotAllowed);
    const ModemTimes& t = m_modemTimes;
    if (data == "1") {
        state.recordDocument(DocumentKind::ModemReport,
                             {"ОТЧЕТ СОСТОЯНИЯ МОДЕМА", "СОСТОЯНИЕ: " + m_modemState,
                              "НЕДОСТАВЛЕН С: " + t.undeliveredDate + " " + t.undeliveredTime,
                              "ПЕРСОНАЛИЗАЦИЯ: " + t.personalisedDate + " " + t.personalisedTime});
    }
    return ModelAnswer{m_modemState + "," + t.undeliveredDate + "," + t.undeliveredTime + "," +
                           t.personalisedDate + "," + t.personalisedTime,
                       {}};
}

ModelAnswer NetworkCommands::readNetwork(const std::string& data) const
{
    if (!data.empty())
        return refused(refusal::kSyntaxError);
    return ModelAnswer{joinFields(m_network), {}};
}

// All eight members well formed, or nothing changes.
ModelAnswer NetworkCommands::writeNetwork(const std::string& data)
{
    const std::vector<std::string> parts = daydata::splitFields(data);
    if (parts.size() != m_network.size() || (parts[0] != "0" && parts[0] != "1"))
        return refused(refusal::kSyntaxError);
    NetworkFields fields;
    fields[0] = parts[0];
    for (std::size_t i = kFirstAddress; i < parts.size(); ++i) {
        const auto field = hexField(parts[i], i < kFirstNumber ? kAddressDigits : kNumberDigits);
        if (!field)
            return refused(refusal::kSyntaxError);
        fields[i] = *field;
    }
    m_network = fields;
    return ModelAnswer{};
}

} // namespace quorvex::emulator
