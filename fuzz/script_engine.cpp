// The script engine on any script file: run, then one step and a resume from the third line,
// against the two emulated registrars in virtual time. Every call must end with a known outcome,
// leaving the link idle on the first port and the engine at rest; a run that is abandoned after
// a bounded number of lines ends there.
//
// Input: the script file's bytes.
#include "FuzzCheck.h"
#include "emulator/EmulatedLine.h"
#include "link/Link.h"
#include "link/ResultState.h"
#include "link/Session.h"
#include "platform/Clock.h"
#include "script/Interpreter.h"
#include "script/ScriptConsoleHost.h"
#include "serial/PortRegistry.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>

using namespace quorvex;

namespace {

// Lines a run may read before it is abandoned (loops may run for ever).
constexpr int kLineBudget = 1000;

// Counts the lines a run reads: the engine shows the count of every line it reads.
class CountingHost final : public script::ScriptConsoleHost {
public:
    void setLineNumberText(const std::string& text) override
    {
        ScriptConsoleHost::setLineNumberText(text);
        if (onLine)
            onLine();
    }
    std::function<void()> onLine;
};

class VirtualClock final : public platform::Clock {
public:
    platform::LocalTime now() override { return {7, 12, 2026, 1, 52, 58}; }
    void sleepMs(int) override {}
};

struct Fixture {
    Fixture()
    {
        platform::setProcessClock(&clock);
        emulator::registerEmulatedPorts(serial::portRegistry());
        FUZZ_CHECK(link::OpenFirstPort("EMU1", 19200) != -1);
        FUZZ_CHECK(link::OpenSecondPort("EMU2", 19200) != -1);
        link::session().secondConnected = true;
        path = (std::filesystem::temp_directory_path() /
                ("quorvex-fuzz-script-" + std::to_string(::getpid()) + ".txt"))
                   .string();
    }
    ~Fixture() { std::filesystem::remove(path); }

    VirtualClock clock;
    std::string path;
};

bool knownEnd(script::RunEnd end)
{
    using script::RunEnd;
    switch (end) {
    case RunEnd::EndOfFile:
    case RunEnd::Stopped:
    case RunEnd::StepDone:
    case RunEnd::TimedOut:
    case RunEnd::CountMismatch:
    case RunEnd::Failed:
    case RunEnd::OpenFailed:
        return true;
    case RunEnd::None:
    case RunEnd::Refused:
        return false;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Fixture fixture;
    std::ofstream(fixture.path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    emulator::resetProcessRegistrars();
    link::UseSecondPort(0);
    link::resultState() = {};

    CountingHost host;
    host.setKeepTexts(false);
    script::Interpreter interpreter(host);
    int lines = 0;
    host.onLine = [&] {
        if (++lines == kLineBudget)
            interpreter.abandonRun();
    };
    interpreter.setScriptPath(fixture.path);

    const auto check = [&](script::RunEnd end) {
        FUZZ_CHECK(knownEnd(end));
        FUZZ_CHECK(!interpreter.inProgress());
        FUZZ_CHECK(interpreter.variableCount() <= script::kMaxVariables);
        FUZZ_CHECK(link::processLink().isIdle());
        FUZZ_CHECK(!link::processLink().secondPortSelected());
    };
    check(interpreter.Run());
    // Abandoning ends a run at the line it was asked at.
    FUZZ_CHECK(lines <= kLineBudget);
    // Step and resume read the rest of the file once, from the line in the box on.
    host.setLineNumberText("3");
    check(interpreter.Step());
    host.setLineNumberText("3");
    check(interpreter.Resume());
    return 0;
}
