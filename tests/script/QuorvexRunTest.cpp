// quorvex-run end to end: exit codes, the memo on stdout in UTF-8, messages and reports.
#include "QuorvexRunTool.h"
#include "tests/serial/qt/PtyEmulatorProcess.h"
#include "tests/support/ScopedRuntimeDirectory.h"

#include <gtest/gtest.h>

#include "link/ExchangeLogReader.h"

#include <chrono>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

namespace quorvex::script::testing {
namespace {

std::string script(const std::vector<std::string>& lines)
{
    return writeTextFile("run.txt", joinLines(lines));
}

TEST(QuorvexRunTest, RunsToTheEndOfTheFileAndPrintsTheMemoInUtf8)
{
    const std::string path =
        script({"%DeclareBeg", "%New i", "%DeclareEnd", "%Set i = \"0\"", "%While (i < 3)",
                "%Oper (i, 1, 0, i)", "%EndWhile", "%Print i", "4AW", "+ привет"});

    const ToolResult result = runTool(path);

    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out.rfind(";i=3\nPC: ", 0), 0u) << result.out;
    EXPECT_NE(result.out.find("\nFP: "), std::string::npos);
    EXPECT_NE(result.out.find(utf8(u8"Комментарий::  привет!!!\n")), std::string::npos);
    EXPECT_EQ(result.err, utf8(u8"Конец файла!\n"));
}

// --trace writes each exchange as a decoded, tab-separated line on standard error.
TEST(QuorvexRunTest, TraceWritesEveryExchangeDecoded)
{
    const ToolResult result = runTool("--trace " + script({"4AW", "0F"}));

    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.err.find(
                  utf8(u8"\t1\t4A Получить состояние регистратора\tW\t\t00 00 00 00 00 3A\t—\t")),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find(utf8(u8"\t22 00 00 00 00 3A\tНеверная команда, Общая ошибка\t")),
              std::string::npos)
        << result.err;
}

TEST(QuorvexRunTest, QuietDropsTheExchangeLines)
{
    const ToolResult result = runTool("--quiet --speed 9600 " + script({"0F", "21Hello"}));

    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "");
}

TEST(QuorvexRunTest, ScriptErrorsAndTimeOutsExitWithOne)
{
    const ToolResult error = runTool(script({"%DeclareBeg", "%DeclareBeg"}));
    EXPECT_EQ(error.exitCode, 1);
    EXPECT_EQ(error.err, utf8(u8"Ошибка - ошибка в описаниях. DeclareBeg уже был ранее.\n"));

    const ToolResult atOnce = runTool(script({"%DeclareBeg", "%New a", "%Oper (a, b, 0, a)"}));
    EXPECT_EQ(atOnce.exitCode, 1);
    EXPECT_EQ(atOnce.out, "%Oper (a, b, 0, a)\n");
}

TEST(QuorvexRunTest, BadOptionsMissingScriptAndUnopenablePortExitWithTwo)
{
    const std::string path = script({"0F"});

    EXPECT_EQ(runTool("--bogus " + path).exitCode, 2);
    EXPECT_EQ(runTool("--speed fast " + path).exitCode, 2);
    EXPECT_EQ(runTool("--answer-end soon " + path).exitCode, 2);
    EXPECT_EQ(runTool("--busy-limit 0 " + path).exitCode, 2);
    EXPECT_EQ(runTool("--busy-limit 5s " + path).exitCode, 2);
    EXPECT_EQ(runTool("--port").exitCode, 2);
    EXPECT_EQ(runTool("").exitCode, 2);
    EXPECT_EQ(runTool("/nonexistent/script.txt").exitCode, 2);
    const ToolResult port = runTool("--port /nonexistent/tty " + path);
    EXPECT_EQ(port.exitCode, 2);
    EXPECT_EQ(port.err, "quorvex-run: no such port /nonexistent/tty\n");
    EXPECT_EQ(port.out, "");
}

TEST(QuorvexRunTest, PortWithoutPermissionIsExplainedWithExitTwo)
{
    // A device nobody may open; root passes every permission, so the tool then runs as nobody.
    const std::string device = writeTextFile("locked-tty", "");
    ASSERT_EQ(::chmod(device.c_str(), 0), 0);
    const std::string asUser =
        ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";

    const ToolResult result = runTool("--port " + device + " " + script({"0F"}), asUser);

    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err, "quorvex-run: permission denied on " + device +
                              ": add your user to the dialout group\n");
}

TEST(QuorvexRunTest, SecondRegistrarDifferencesGoToStderrOrTheRtfReport)
{
    // The two emulated registrars report different versions and factory numbers.
    const std::string path =
        script({"%DeclareBeg", "%DeclareEnd", "%EnableSecond", "%RunCommand (90)"});

    const ToolResult plain = runTool("--second EMU2 " + path);
    EXPECT_EQ(plain.exitCode, 3);
    EXPECT_NE(plain.err.find(utf8(u8"Код команды: 5Ah(90)")), std::string::npos) << plain.err;
    EXPECT_NE(plain.err.find(utf8(u8"Регистратор №2: 3.10")), std::string::npos);

    const std::string reportPath = writeTextFile("report.rtf", "");
    const ToolResult reported = runTool("--second EMU2 --report " + reportPath + " " + path);
    EXPECT_EQ(reported.exitCode, 3);
    EXPECT_EQ(reported.err, utf8(u8"Конец файла!\n"));
    EXPECT_EQ(readFile(reportPath).rfind("{\\rtf1", 0), 0u);
}

TEST(QuorvexRunTest, AgreeingRegistrarsExitWithZero)
{
    const ToolResult result =
        runTool("--second EMU2 " + script({"%DeclareBeg", "%DeclareEnd", "%EnableSecond", "0F"}));

    EXPECT_EQ(result.exitCode, 0) << result.err;
}

TEST(QuorvexRunTest, LogOptionWritesTheExchangeLog)
{
    const std::string logPath = ::testing::TempDir() + "quorvex_run_exchange.log";
    std::remove(logPath.c_str());

    const ToolResult result = runTool("--log " + logPath + " " + script({"0F"}));

    EXPECT_EQ(result.exitCode, 0);
    EXPECT_FALSE(readFile(logPath).empty());
}

TEST(QuorvexRunTest, ADayOnQuorvexEmuOverAPseudoTerminal)
{
    const test_support::ScopedRuntimeDirectory runtime("quorvex-run-day-");
    quorvex::testing::PtyEmulatorProcess emulator(QUORVEX_EMU_PATH, {}, runtime.path().string());
    ASSERT_FALSE(emulator.devicePath().empty());
    const std::string day = script({
        "%DeclareBeg",
        "%DeclareEnd",
        "%RunCommand (70, \"100.00\")", // cash in: drawer, day's cash in, day's cash out
        "%Print %Ret0",
        "%RunCommand (69, 9011, 2)", // X report: next Z number, sales, returns, cash in, ...
        "%Print %Ret0",
        "%Print %Ret3",
        "%RunCommand (69, 9011, 0)", // Z report 1 closes the day
        "%Print %Ret0",
        "%RunCommand (69, 9011, 2)",
        "%Print %Ret0",
        "%Print %Ret3",
        "%RunCommand (95, 9011, 0001, 0001)", // short periodic report: first, last, count, ...
        "%Print %Ret2",
        "%RunCommand (235, 1, 9)", // copies: first and last document found, count
        "%Print %Ret0",
        "%Print %Ret1",
    });

    const ToolResult result = runTool("--port " + emulator.devicePath() + " " + day);

    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, utf8(u8"Конец файла!\n"));
    EXPECT_EQ(result.out, ";%Ret0=10000\n"
                          ";%Ret0=1\n;%Ret3=10000\n"
                          ";%Ret0=1\n"
                          ";%Ret0=2\n;%Ret3=0\n"
                          ";%Ret2=1\n"
                          ";%Ret0=1\n;%Ret1=5\n");
}

// The command runs in a shell of its own; its exit status, output and error output.
ToolResult runShell(const std::string& command)
{
    const std::string outPath = writeTextFile("out.txt", "");
    const std::string errPath = writeTextFile("err.txt", "");
    const std::string codePath = writeTextFile("code.txt", "");
    const std::string line =
        "(" + command + ") >" + outPath + " 2>" + errPath + "; echo $? >" + codePath;
    if (std::system(line.c_str()) != 0)
        return {};
    return {std::stoi(readFile(codePath)), readFile(outPath), readFile(errPath)};
}

const std::vector<std::string> kEndlessLoop = {
    "%DeclareBeg", "%New i", "%DeclareEnd", "%Set i = \"0\"", "%While (i < 1)", "4AW", "%EndWhile"};

TEST(QuorvexRunTest, ASignalEndsTheRunAfterTheExchangeAndEveryReportIsWritten)
{
    const std::string endless = script(kEndlessLoop);
    const std::string next = writeTextFile("next.txt", "0F\n");
    const std::string junit = writeTextFile("signal.xml", "stale report of an earlier run");
    const std::string log = writeTextFile("signal.log", "");

    const ToolResult result =
        runShell(std::string(QUORVEX_RUN_PATH) + " --junit " + junit + " --log " + log + " " +
                 endless + " " + next + " & pid=$!; sleep 0.5; kill -TERM $pid; wait $pid");

    EXPECT_EQ(result.exitCode, 143);
    EXPECT_EQ(result.out.substr(result.out.size() - 1), "\n");
    const std::string xml = readFile(junit);
    EXPECT_NE(xml.find(R"(tests="2" failures="0" errors="1" skipped="1")"), std::string::npos)
        << xml;
    EXPECT_NE(xml.find(R"(<error message="interrupted by signal 15" type="interrupted">)"),
              std::string::npos)
        << xml;
    const std::string written = readFile(log);
    EXPECT_EQ(written.rfind(";Конец Сеанса   "), written.rfind("\r\n;") + 2);
    const link::ExchangeLogContents contents = link::readExchangeLog(written);
    EXPECT_EQ(contents.summary.problemCount, 0u);
    EXPECT_GT(contents.exchanges.size(), 1u);

    // A second signal does not wait for the 20-second delay to end.
    const auto start = std::chrono::steady_clock::now();
    const ToolResult twice =
        runShell(std::string(QUORVEX_RUN_PATH) + " " +
                 script({"%DeclareBeg", "%DeclareEnd", "%Delay 20000"}) +
                 " & pid=$!; sleep 0.3; kill -TERM $pid; sleep 0.3; kill -TERM $pid; wait $pid");
    EXPECT_EQ(twice.exitCode, 143);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

// A script from a pipe is copied first, so its loop runs all three passes.
TEST(QuorvexRunTest, AScriptFromAPipeRunsItsLoops)
{
    const std::string loop = script({"%DeclareBeg", "%New i", "%DeclareEnd", "%Set i = \"0\"",
                                     "%While (i < 3)", "4AW", "%Oper (i, 1, 0, i)", "%EndWhile"});

    const ToolResult result =
        runShell("cat " + loop + " | " + std::string(QUORVEX_RUN_PATH) + " /dev/stdin");

    EXPECT_EQ(result.exitCode, 0) << result.err;
    std::size_t passes = 0;
    for (auto at = result.out.find("PC: "); at != std::string::npos;
         at = result.out.find("PC: ", at + 1))
        ++passes;
    EXPECT_EQ(passes, 3u) << result.out;
}

TEST(QuorvexRunTest, OutputsThatCannotBeWrittenAreRefusedOrTold)
{
    const std::string path = script({"0F"});
    const std::string log = writeTextFile("refused.log", "");
    std::remove(log.c_str());

    const ToolResult junit = runTool("--log " + log + " --junit /nonexistent/j.xml " + path);
    EXPECT_EQ(junit.exitCode, 2);
    EXPECT_EQ(junit.err, "quorvex-run: cannot write the JUnit report /nonexistent/j.xml: no such "
                         "file or folder\n");
    EXPECT_FALSE(std::filesystem::exists(log)); // refused before anything was sent or logged
    EXPECT_EQ(runTool("--report /nonexistent/r.rtf " + path).exitCode, 2);
    EXPECT_EQ(runTool("--log /nonexistent/x.log " + path).exitCode, 2);

    // The log fills the 1 KB a file may take: said once, and the run ends with status 1.
    const ToolResult full =
        runShell("trap '' XFSZ; ulimit -f 2; " + std::string(QUORVEX_RUN_PATH) + " --quiet --log " +
                 log + " " + script(std::vector<std::string>(16, "4AW")));
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_EQ(full.err.find("cannot write the exchange log"),
              full.err.rfind("cannot write the exchange log"))
        << full.err;
    EXPECT_NE(full.err.find("cannot write the exchange log"), std::string::npos) << full.err;
}

TEST(QuorvexRunTest, HelpDescribesEveryOption)
{
    const ToolResult result = runTool("--help");

    EXPECT_EQ(result.exitCode, 0);
    for (const char* option :
         {"--port", "--speed", "--second", "--second-speed", "--log", "--answer-end",
          "--busy-limit", "--quiet", "--report", "--second-log", "--compare-all", "--ignore",
          "--junit", "Exit status"})
        EXPECT_NE(result.out.find(option), std::string::npos) << option;
}

} // namespace
} // namespace quorvex::script::testing
