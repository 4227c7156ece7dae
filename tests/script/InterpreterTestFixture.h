#pragma once
// Runs scripts through the interpreter against the emulated registrars EMU1/EMU2 of the
// process link, in virtual time, with a recording host, dialogs and comparison report.
#include "emulator/EmulatedLine.h"
#include "link/Link.h"
#include "link/ResultState.h"
#include "link/Session.h"
#include "platform/Clock.h"
#include "platform/RuntimeDirectory.h"
#include "script/ComparisonReport.h"
#include "script/Interpreter.h"
#include "script/ScriptConsoleHost.h"
#include "tests/support/EmulatedRegistrars.h"
#include "tests/support/platform/RecordingDialogs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <system_error>
#include <vector>

namespace quorvex::script::testing {

using test_support::first;
using test_support::second;

class SleepRecordingClock final : public platform::Clock {
public:
    platform::LocalTime now() override { return {}; }
    void sleepMs(int milliseconds) override { sleeps.push_back(milliseconds); }
    std::vector<int> sleeps;
};

class RecordingReport final : public ComparisonReport {
public:
    void AppendReportLine(const std::string& text, Rgb) override { lines.push_back(text); }
    std::vector<std::string> lines;
};

// The files a test process wrote with writeTextFile; they go when the process ends.
class WrittenFiles {
public:
    ~WrittenFiles()
    {
        for (const std::string& path : m_paths) {
            std::error_code ignored;
            std::filesystem::remove(path, ignored);
        }
    }
    void add(const std::string& path)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_paths.push_back(path);
    }

private:
    std::mutex m_mutex;
    std::vector<std::string> m_paths;
};

inline std::string writeTextFile(const std::string& name, const std::string& content)
{
    // The process id keeps the names apart when test processes run side by side.
    static std::atomic<int> counter{0};
    static WrittenFiles written;
    const std::string path = ::testing::TempDir() + "quorvex_" +
                             std::to_string(platform::currentProcessId()) + "_" +
                             std::to_string(++counter) + "_" + name;
    std::ofstream(path, std::ios::binary) << content;
    written.add(path);
    return path;
}

inline std::string joinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

class InterpreterFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        emulator::resetProcessRegistrars();
        emulator::registerEmulatedPorts(serial::portRegistry());
        ASSERT_NE(link::OpenFirstPort("EMU1", 19200), -1);
        link::UseSecondPort(0);
        link::session().secondConnected = false;
        link::resultState() = link::ResultState{};
        platform::setProcessClock(&clock);
        setComparisonReport(&report);
    }

    void TearDown() override
    {
        link::CloseFirstPort();
        link::CloseSecondPort();
        link::session().secondConnected = false;
        platform::setProcessClock(nullptr);
        setComparisonReport(nullptr);
    }

    void connectSecond()
    {
        ASSERT_NE(link::OpenSecondPort("EMU2", 19200), -1);
        link::session().secondConnected = true;
    }

    RunEnd run(const std::vector<std::string>& lines)
    {
        interpreter.setScriptPath(writeTextFile("script.txt", joinLines(lines)));
        return interpreter.Run();
    }

    // The language section that most statement tests start with.
    static std::vector<std::string> declaring(std::vector<std::string> names,
                                              std::vector<std::string> body)
    {
        std::vector<std::string> lines{"%DeclareBeg"};
        for (const std::string& name : names)
            lines.push_back("%New " + name);
        lines.push_back("%DeclareEnd");
        lines.insert(lines.end(), body.begin(), body.end());
        return lines;
    }

    [[nodiscard]] std::string lastMessage() const
    {
        return host.messages().empty() ? std::string() : host.messages().back();
    }
    [[nodiscard]] std::string lastMemoLine() const
    {
        return host.memo().empty() ? std::string() : host.memo().back();
    }
    [[nodiscard]] std::string valueOf(const std::string& name) const
    {
        for (const ScriptVariable& variable : interpreter.variables()) {
            if (variable.Name == name)
                return variable.Value;
        }
        return "<undeclared>";
    }

    platform::ScopedRecordingDialogs dialogs;
    SleepRecordingClock clock;
    RecordingReport report;
    ScriptConsoleHost host;
    Interpreter interpreter{host};
};

} // namespace quorvex::script::testing
