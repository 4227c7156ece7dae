// quorvex-emu: one emulated registrar on a pseudo-terminal, for the real serial line and for
// trying the program without a device. Prints the device path first, then serves until
// SIGINT or SIGTERM.
#include "PtyServer.h"
#include "emulator/EmulatorOptions.h"
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

// Arguments typed in a UTF-8 terminal become Windows-1251 bytes, the registrar's code page.
// An argument that does not convert is kept as it was typed.
std::string toCp1251(const std::string& utf8)
{
    iconv_t cd = iconv_open("CP1251", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return utf8;
    std::string in = utf8;
    std::string out(in.size(), '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1))
        return utf8;
    out.resize(out.size() - outLeft);
    return out;
}

// The machine's local date and time, where the registrar's clock starts.
quorvex::emulator::DateTime localNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
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
    registrar.model().state().setClock(localNow());
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
