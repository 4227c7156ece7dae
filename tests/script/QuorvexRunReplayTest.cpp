// quorvex-run against a recorded exchange: a run recorded on EMU1 and played back by
// quorvex-emu --replay gives the same memo; --second-log compares a live registrar with the
// recording (--ignore leaves fields out); several scripts give one JUnit report.
#include "QuorvexRunTool.h"
#include "tests/serial/qt/PtyEmulatorProcess.h"
#include "tests/support/ScopedRuntimeDirectory.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>

namespace quorvex::script::testing {
namespace {

const std::vector<std::string> kSession = {
    "%DeclareBeg",  "%DeclareEnd", "0F", "21Hello", "%RunCommand (90, \"0\")",
    "%Print %Ret6", "4AW"};

// Records kSession on EMU1; returns the log's path.
std::string recordedLog()
{
    const std::string logPath = writeTextFile("recorded.log", "");
    std::remove(logPath.c_str());
    const ToolResult result =
        runTool("--log " + logPath + " " + writeTextFile("rec.txt", joinLines(kSession)));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return logPath;
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

TEST(QuorvexRunReplayTest, ARunReplayedByQuorvexEmuGivesTheSameMemo)
{
    const std::string log = recordedLog();
    const std::string session = writeTextFile("session.txt", joinLines(kSession));
    const ToolResult live = runTool(session);
    const test_support::ScopedRuntimeDirectory runtime("quorvex-replay-");
    const std::string errors = writeTextFile("emu-err.txt", "");
    quorvex::testing::PtyEmulatorProcess emulator(QUORVEX_EMU_PATH, {"--replay", log},
                                                  runtime.path().string(), errors);
    ASSERT_FALSE(emulator.devicePath().empty());

    const ToolResult replayed = runTool("--answer-end etx --port " + emulator.devicePath() + " " +
                                        session + " " + writeTextFile("new.txt", "33\n"));

    EXPECT_EQ(replayed.exitCode, 0) << replayed.err;
    EXPECT_EQ(replayed.out.substr(0, live.out.size()), live.out);
    EXPECT_NE(replayed.out.find(";%Ret6=QV000001\n"), std::string::npos);
    emulator.stop();
    EXPECT_EQ(readFile(errors), "quorvex-emu: never recorded: 33\n");
}

TEST(QuorvexRunReplayTest, SecondLogReportsAChangedAnswerAtItsFieldUnlessIgnored)
{
    // Two digits swapped: the answer's checksum stays right.
    const std::string changed =
        writeTextFile("changed.log", replaceAll(readFile(recordedLog()), "QV000001", "QV000010"));
    const std::string session = writeTextFile("session.txt", joinLines(kSession));

    const ToolResult differing = runTool("--compare-all --second-log " + changed + " " + session);
    EXPECT_EQ(differing.exitCode, 3);
    EXPECT_NE(differing.err.find(utf8(u8"Не совпадают значения результата, - параметр №6\n"
                                      u8"Регистратор №1: QV000001\nРегистратор №2: QV000010\n")),
              std::string::npos)
        << differing.err;

    EXPECT_EQ(
        runTool("--compare-all --ignore 5A:6 --second-log " + changed + " " + session).exitCode, 0);
    EXPECT_EQ(runTool("--compare-all --ignore 5A --second-log " + changed + " " + session).exitCode,
              0);
    // Without --compare-all only commands after %EnableSecond are compared.
    EXPECT_EQ(runTool("--second-log " + changed + " " + session).exitCode, 0);
}

// Five requests, four of them not in the recording (one of those asked once more than
// recorded): each is a difference, though the live registrar refuses two of them as the
// recording's stand-in does.
TEST(QuorvexRunReplayTest, RequestsTheRecordingLacksAreDifferences)
{
    const std::string log = recordedLog();
    const std::string junit = writeTextFile("lacks.xml", "");

    const ToolResult result = runTool("--compare-all --junit " + junit + " --second-log " + log +
                                      " " + writeTextFile("other.txt", "0F\n4AX\n33\n0F\n21Bye\n"));

    EXPECT_EQ(result.exitCode, 3);
    for (const char* told : {"quorvex-run: never recorded: 4A X\n", "never recorded: 33\n",
                             "quorvex-run: 0F recorded only 1 time\n"})
        EXPECT_NE(result.err.find(told), std::string::npos) << result.err;
    EXPECT_NE(result.err.find(utf8(u8"Код команды: 21h(33)\n"
                                   u8"Запрос не найден в записи обмена: 21 Bye\n")),
              std::string::npos)
        << result.err;
    const std::string xml = readFile(junit);
    EXPECT_NE(xml.find(R"(failures="1" errors="0")"), std::string::npos) << xml;
    EXPECT_NE(xml.find(utf8(u8"Запрос не найден в записи обмена: 4A X")), std::string::npos);
}

TEST(QuorvexRunReplayTest, CutConvertedAndUnreadableRecordingsAreRefused)
{
    const std::string log = recordedLog();
    const std::string recorded = readFile(log);
    const std::string script = writeTextFile("s.txt", joinLines(kSession));
    // Cut at the head of the request 5A0: what comes after it was never recorded.
    const std::size_t body = recorded.find("5A0\r\n");
    const std::string cutAtEntry = recorded.substr(0, recorded.rfind('\n', body - 3) + 1);
    EXPECT_EQ(runTool("--compare-all --second-log " + writeTextFile("entry.log", cutAtEntry) + " " +
                      script)
                  .exitCode,
              3);
    const ToolResult cut = runTool(
        "--compare-all --second-log " +
        writeTextFile("cut.log", recorded.substr(0, recorded.rfind(";Конец") - 9)) + " " + script);
    EXPECT_EQ(cut.exitCode, 2);
    EXPECT_NE(cut.err.find(": entry cut short (skipped)\n"), std::string::npos) << cut.err;
    EXPECT_NE(cut.err.find("a recording to compare against must be whole"), std::string::npos);

    // As the README's own command leaves it.
    const std::string converted = writeTextFile("utf8.log", "");
    ASSERT_EQ(std::system(("iconv -f cp1251 -t utf-8 " + log + " > " + converted).c_str()), 0);
    const ToolResult utf8Log = runTool("--second-log " + converted + " " + script);
    EXPECT_EQ(utf8Log.exitCode, 2);
    EXPECT_NE(utf8Log.err.find(" is UTF-8 text, but an exchange log is Windows-1251"),
              std::string::npos)
        << utf8Log.err;

    EXPECT_EQ(runTool("--second-log /nonexistent/x.log " + script).exitCode, 2);
    const ToolResult empty =
        runTool("--second-log " + writeTextFile("bad.log", "junk\r\n") + " " + script);
    EXPECT_EQ(empty.exitCode, 2);
    EXPECT_NE(empty.err.find(":1: not an entry of an exchange log (skipped)"), std::string::npos)
        << empty.err;
    EXPECT_EQ(runTool("--second EMU2 --second-log " + log + " " + script).exitCode, 2);
    EXPECT_EQ(runTool("--ignore 4A:x " + script).exitCode, 2);
}

// Attributes of the first element `name` in `xml` from `from` on, entities resolved.
std::map<std::string, std::string> attributesOf(const std::string& element)
{
    std::map<std::string, std::string> attributes;
    static const std::regex attribute(R"re(([\w-]+)="([^"]*)")re");
    for (std::sregex_iterator it(element.begin(), element.end(), attribute), end; it != end; ++it)
        attributes[(*it)[1]] = replaceAll(replaceAll((*it)[2], "&lt;", "<"), "&amp;", "&");
    return attributes;
}

struct ParsedCase {
    std::map<std::string, std::string> attributes;
    std::string problem;                        // failure, error, skipped or empty
    std::map<std::string, std::string> failure; // its attributes
    std::string out;
};

std::vector<ParsedCase> testcases(const std::string& xml)
{
    std::vector<ParsedCase> cases;
    static const std::regex testcase(
        R"re(<testcase ([^>]*)>\s*(?:<(failure|error|skipped) ([^>]*?)/?>(?:[^<]*</\w+>)?\s*)?<system-out>([^<]*)</system-out>\s*</testcase>)re");
    for (std::sregex_iterator it(xml.begin(), xml.end(), testcase), end; it != end; ++it)
        cases.push_back({attributesOf((*it)[1]), (*it)[2], attributesOf((*it)[3]), (*it)[4]});
    return cases;
}

// The live registrar is out of paper; the recording was made with paper. --log writes only the
// live registrar's exchanges.
TEST(QuorvexRunReplayTest, ALiveStatusErrorAgainstACleanRecordingIsADifference)
{
    const std::string script = writeTextFile("status.txt", "4AW\n4AW\n");
    const std::string golden = writeTextFile("golden.log", "");
    std::remove(golden.c_str());
    ASSERT_EQ(runTool("--log " + golden + " " + script).exitCode, 0);
    const test_support::ScopedRuntimeDirectory runtime("quorvex-status-");
    quorvex::testing::PtyEmulatorProcess emulator(QUORVEX_EMU_PATH, {"--status", "2=0x01"},
                                                  runtime.path().string());
    ASSERT_FALSE(emulator.devicePath().empty());
    const std::string live = "--answer-end etx --port " + emulator.devicePath() +
                             " --compare-all --second-log " + golden + " ";
    const std::string newLog = writeTextFile("new.log", "");
    std::remove(newLog.c_str());

    const ToolResult result = runTool(live + "--log " + newLog + " " + script);

    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.err.find(utf8(u8"Код команды: 4Ah(74)\n"
                                   u8"Не совпадает бит состояния S2:01 (Нет бумаги)\n"
                                   u8"Регистратор №1: 1\nРегистратор №2: 0\n")),
              std::string::npos)
        << result.err;
    const std::string written = readFile(newLog);
    EXPECT_EQ(replaceAll(written, "4AW\r\n", "").size(), written.size() - 2 * 5) << written;
    EXPECT_EQ(runTool(live + "--ignore 4A:status " + script).exitCode, 0);
}

TEST(QuorvexRunReplayTest, JUnitReportHasOneCasePerScriptWithItsFailure)
{
    const std::string passing = writeTextFile("pass.txt", "0F\n");
    const std::string failing = writeTextFile("fail.txt", "%DeclareBeg\n%DeclareBeg\n");
    const std::string differing = writeTextFile(
        "diff.txt", joinLines({"%DeclareBeg", "%DeclareEnd", "%EnableSecond", "%RunCommand (90)"}));
    const std::string unsent = writeTextFile("unsent.txt", "21" + std::string(200, 'x') + "\n");
    const std::string report = writeTextFile("junit.xml", "");

    const std::string folder = ::testing::TempDir();

    const ToolResult result = runTool("--second EMU2 --junit " + report + " " + passing + " " +
                                      differing + " " + failing + " " + unsent);
    const std::string xml = readFile(report);
    const ToolResult withFolder = runTool("--junit " + report + " " + folder + " " + passing);

    EXPECT_EQ(result.exitCode, 1); // ended early outranks differences
    EXPECT_EQ(withFolder.exitCode, 2);
    const auto folderCases = testcases(readFile(report));
    ASSERT_EQ(folderCases.size(), 2u);
    EXPECT_EQ(folderCases[0].problem, "error");
    EXPECT_EQ(folderCases[0].failure.at("type"), "unreadable script");
    EXPECT_EQ(folderCases[1].problem, "");
    ASSERT_EQ(
        xml.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites>\n <testsuite ", 0), 0u);
    EXPECT_NE(xml.find(R"(tests="4" failures="1" errors="2" skipped="0")"), std::string::npos);
    EXPECT_TRUE(std::regex_search(
        xml, std::regex(R"re(timestamp="\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d(Z|[+-]\d\d:\d\d)")re")));
    const auto cases = testcases(xml);
    ASSERT_EQ(cases.size(), 4u) << xml;
    EXPECT_EQ(cases[0].attributes.at("name"), passing);
    EXPECT_EQ(cases[0].attributes.at("classname"), "EMU1 vs EMU2");
    EXPECT_TRUE(std::regex_match(cases[0].attributes.at("time"), std::regex(R"(\d+\.\d{3})")));
    EXPECT_EQ(cases[0].problem, "");
    EXPECT_EQ(cases[0].out.rfind("PC: ", 0), 0u);
    EXPECT_EQ(cases[1].problem, "failure");
    EXPECT_EQ(cases[1].failure.at("type"), "differences");
    EXPECT_NE(cases[1].failure.at("message").find(utf8(u8"Регистратор №2: 3.10")),
              std::string::npos);
    EXPECT_EQ(cases[2].problem, "error");
    EXPECT_EQ(cases[2].failure.at("type"), "script error");
    EXPECT_EQ(cases[2].failure.at("message"),
              utf8(u8"Ошибка - ошибка в описаниях. DeclareBeg уже был ранее."));
    EXPECT_EQ(cases[3].problem, "error");
    EXPECT_EQ(cases[3].failure.at("type"), "not sent");
}

} // namespace
} // namespace quorvex::script::testing
