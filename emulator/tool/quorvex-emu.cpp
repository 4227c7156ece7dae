// quorvex-emu: one emulated registrar on a pseudo-terminal, for the real serial line and for
// trying the program without a device. Prints the device path first, then serves until
// SIGINT or SIGTERM.
#include "PtyServer.h"
#include "emulator/EmulatorOptions.h"
#include "emulator/Replay.h"
#include "serial/Announce.h"

#include <csignal>
#include <cstring>
#include <ctime>
#include <iconv.h>
#include <iostream>
#include <string>
#include <vector>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void requestStop(int)
{
    g_stop = 1;
}

void installStopHandlers()
{
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no restart: poll returns at once on a signal
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // Whoever started us may stop reading our output; that must not end the service.
    std::signal(SIGPIPE, SIG_IGN);
}

// Text in one encoding to another; kept as it was when it does not convert.
std::string converted(const std::string& text, const char* to, const char* from)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return text;
    std::string in = text;
    std::string out(in.size() * 4, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1))
        return text;
    out.resize(out.size() - outLeft);
    return out;
}

// Arguments typed in a UTF-8 terminal become Windows-1251 bytes, the registrar's code page.
std::string toCp1251(const std::string& utf8)
{
    return converted(utf8, "CP1251", "UTF-8");
}

std::string toUtf8(const std::string& cp1251)
{
    return converted(cp1251, "UTF-8", "CP1251");
}

// --show-receipts: the paper of every receipt that ends, and the customer display.
void showReceiptsOnStandardError(quorvex::emulator::Registrar& registrar)
{
    auto& receipts = registrar.model().receipts();
    receipts.setReceiptListener([](const std::vector<std::string>& printed) {
        std::cerr << "--- receipt ---\n";
        for (const std::string& line : printed)
            std::cerr << toUtf8(line) << '\n';
        std::cerr << std::flush;
    });
    receipts.setDisplayListener([](const quorvex::emulator::DisplayRows& rows) {
        std::cerr << "display: [" << toUtf8(rows.upper) << "] [" << toUtf8(rows.lower) << "]"
                  << std::endl;
    });
}

// --replay: the log's answers instead of the fiscal model. False when the log is unusable.
bool startReplay(const std::string& logPath, quorvex::emulator::Registrar& registrar)
{
    using namespace quorvex;
    // Arguments arrive converted to Windows-1251; the file system takes the path as typed.
    const std::string shownPath = toUtf8(logPath);
    const emulator::LoadedReplay loaded =
        emulator::loadReplay(shownPath, shownPath, emulator::ReplayAnswers::WhenUsedUp::RepeatLast);
    for (const std::string& message : loaded.messages)
        std::cerr << "quorvex-emu: " << message << '\n';
    if (!loaded.answers)
        return false;
    emulator::replayOn(registrar, loaded.answers,
                       [](const emulator::HandledRequest& request, std::size_t timesRecorded) {
                           std::cerr << "quorvex-emu: "
                                     << toUtf8(emulator::describeUnrecorded(request, timesRecorded))
                                     << std::endl;
                       });
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace quorvex::emulator;
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(toCp1251(argv[i]));
    const ParsedOptions parsed = parseEmulatorOptions(args);
    if (!parsed.error.empty()) {
        std::cerr << "quorvex-emu: " << parsed.error << '\n';
        return 2;
    }
    if (parsed.options.help) {
        std::cout << emulatorUsage();
        return 0;
    }

    Registrar registrar;
    applyOptions(parsed.options, registrar);
    registrar.model().state().setClock(quorvex::emulator::machineLocalTime());
    if (parsed.options.showReceipts)
        showReceiptsOnStandardError(registrar);
    if (parsed.options.replayLog && !startReplay(*parsed.options.replayLog, registrar))
        return 2;
    PtyServer server(registrar);
    std::string error;
    if (!server.open(error)) {
        std::cerr << "quorvex-emu: " << error << '\n';
        return 1;
    }
    installStopHandlers();
    std::cout << server.devicePath() << std::endl;
    quorvex::serial::announceEmulator(server.devicePath());
    server.run(g_stop);
    quorvex::serial::withdrawAnnouncement();
    return 0;
}
