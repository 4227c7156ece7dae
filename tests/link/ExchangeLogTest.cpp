// The exchange log, alone and as written by the link's sessions and exchanges.
#include "link/ExchangeLog.h"
#include "link/Frame.h"
#include "link/Link.h"
#include "platform/RuntimeDirectory.h"
#include "tests/link/ScriptedLine.h"
#include "tests/support/TestDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace quorvex::link {
namespace {

namespace fs = std::filesystem;
using testing::LineScript;
using testing::ReadResult;

const Bytes kAllStatus80Answer = {0x01, 0x2B, 0x21, 0x4A, 0x04, 0x80, 0x80, 0x80, 0x80,
                                  0x80, 0x80, 0x05, 0x30, 0x33, 0x39, 0x3F, 0x03};
// Single-digit day, month, hour, minute and second: each padding rule shows.
const std::string kStamp = " 7-03-2026  1:05:08";

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ExchangeLogging : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = test_support::freshTestDirectory("quorvex-log");
        fs::create_directories(root / "a");
        fs::create_directories(root / "b");
        directory = (root / "a").string();
        testing::addScriptedPort(registry, "A", first);
        testing::addScriptedPort(registry, "B", second);
        link.exchangeLog().setDirectoryProvider([this] { return directory; });
    }
    void TearDown() override { fs::remove_all(root); }

    int send(int command, const std::string& data)
    {
        return link.SendCommand(
            nullptr, [](RetData&) {}, 0, command, data);
    }
    std::string logText(const char* sub = "a") { return readFile(root / sub / "Brelox.log"); }

    fs::path root;
    std::string directory;
    serial::PortRegistry registry;
    std::shared_ptr<LineScript> first = std::make_shared<LineScript>();
    std::shared_ptr<LineScript> second = std::make_shared<LineScript>();
    testing::FixedClock clock{{7, 3, 2026, 1, 5, 8}};
    Link link{registry, &clock};
};

TEST_F(ExchangeLogging, SessionStartRequestAndAnswerLines)
{
    link.SetLogName("Brelox.log");
    first->queueAnswerBytes(kAllStatus80Answer);

    ASSERT_GT(link.OpenFirstPort("A", 19200), 0);
    send(0x4A, "W");

    EXPECT_EQ(logText(),
              ";Начало сеанса   " + kStamp + " \r\n" + //
                  ";" + kStamp + "  21\r\n" +          //
                  "4AW\r\n" +                          //
                  ";" + kStamp + "   \r\n" +           //
                  ";" + std::string(kAllStatus80Answer.begin(), kAllStatus80Answer.end()) + "\r\n");
    EXPECT_EQ(link.exchangeLog().path(), (root / "a" / "Brelox.log").string());
}

TEST_F(ExchangeLogging, NameWithBackslashesReachesItsSubdirectory)
{
    fs::create_directories(root / "a" / "logs");
    link.SetLogName("logs\\Brelox.log");

    ASSERT_GT(link.OpenFirstPort("A", 19200), 0);

    EXPECT_EQ(logText("a/logs"), ";Начало сеанса   " + kStamp + " \r\n");
}

TEST_F(ExchangeLogging, SessionsOfBothPortsStartAndEnd)
{
    link.SetLogName("Brelox.log");

    ASSERT_GT(link.OpenFirstPort("A", 19200), 0);
    ASSERT_GT(link.OpenSecondPort("B", 19200), 0);
    link.CloseSecondPort();
    link.CloseFirstPort();

    const std::string start = ";Начало сеанса   " + kStamp + " \r\n";
    const std::string end = ";Конец Сеанса   " + kStamp + " \r\n";
    EXPECT_EQ(logText(), start + start + end + end);

    // A recording played as the second registrar stays out of the log.
    link.setSecondPortLogged(false);
    ASSERT_GT(link.OpenSecondPort("B", 19200), 0);
    link.UseSecondPort(1);
    send(0x4A, "W");
    link.CloseSecondPort();
    EXPECT_EQ(logText(), start + start + end + end);
}

TEST_F(ExchangeLogging, FailedOpenLogsWhyAndTheLinkKeepsItUntilTheNextOpen)
{
    const std::string why = "permission denied on /dev/ttyUSB0: add your user to the dialout group";
    registry.setFallback([&](const std::string&, int, std::string& failure) {
        failure = why;
        return nullptr;
    });
    link.SetLogName("Brelox.log");

    EXPECT_EQ(link.OpenFirstPort("ttyUSB0", 19200), -1);
    EXPECT_EQ(link.openFailure(), why);
    ASSERT_GT(link.OpenSecondPort("B", 19200), 0);
    EXPECT_EQ(link.openFailure(), "");

    EXPECT_EQ(logText(), ";" + kStamp + "  " + why + "\r\n" + //
                             ";Начало сеанса   " + kStamp + " \r\n");
}

TEST_F(ExchangeLogging, LogOffWritesNothing)
{
    link.SetLogName("Brelox.log");
    link.SetLogName("");

    EXPECT_EQ(link.OpenFirstPort("missing", 19200), -1);
    ASSERT_GT(link.OpenFirstPort("A", 19200), 0);
    send(0x4A, "W");
    link.CloseFirstPort();

    EXPECT_TRUE(fs::is_empty(root / "a"));
    EXPECT_TRUE(link.exchangeLog().path().empty());
}

TEST_F(ExchangeLogging, PathStaysWhereTheFirstEntryPutIt)
{
    link.SetLogName("Brelox.log");
    ASSERT_GT(link.OpenFirstPort("A", 19200), 0);

    directory = (root / "b").string();
    link.SetLogName("Other.log");
    send(0x4A, "W");

    EXPECT_TRUE(fs::is_empty(root / "b"));
    EXPECT_FALSE(fs::exists(root / "a" / "Other.log"));
    EXPECT_NE(logText().find("4AW\r\n"), std::string::npos);
}

TEST_F(ExchangeLogging, UnwritableLogIsToldOnceAndLeavesTheExchangeAlone)
{
    directory = (root / "no-such-directory").string();
    link.SetLogName("Brelox.log");
    std::vector<LogFailure> told;
    link.exchangeLog().setFailureListener([&](const LogFailure& f) { told.push_back(f); });
    first->queueAnswerBytes(kAllStatus80Answer);

    EXPECT_EQ(link.exchangeLog().check(), std::errc::no_such_file_or_directory);
    ASSERT_GT(link.OpenFirstPort("A", 19200), 0);
    RetData seen;
    EXPECT_EQ(link.SendCommand(
                  nullptr, [&](RetData& r) { seen = r; }, 0, 0x4A, "W"),
              0);

    EXPECT_EQ(seen.ErrorFlags, 0u);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].kind, LogFailure::Kind::CannotOpen);
    EXPECT_EQ(told[0].path, (root / "no-such-directory" / "Brelox.log").string());
    EXPECT_EQ(told[0].reason, std::errc::no_such_file_or_directory);
    EXPECT_FALSE(fs::exists(root / "no-such-directory"));

    // Once an entry is written again, a new failure is told again.
    fs::create_directories(root / "no-such-directory");
    EXPECT_TRUE(link.exchangeLog().write(" ", ";x"));
    fs::remove_all(root / "no-such-directory");
    EXPECT_FALSE(link.exchangeLog().write(" ", ";x"));
    EXPECT_EQ(told.size(), 2u);
}

TEST_F(ExchangeLogging, OverlongPathIsNeverCutToAnotherName)
{
    ExchangeLog log(&clock, [this] { return directory; });
    log.setName(std::string(kMaxLogPath, 'n'));

    EXPECT_FALSE(log.write("", "START"));
    EXPECT_TRUE(log.path().empty());
    EXPECT_TRUE(fs::is_empty(root / "a"));
}

TEST_F(ExchangeLogging, NestedCommandLogsEachAnswerWithItsOwnBytes)
{
    link.SetLogName("Brelox.log");
    const Bytes outerAnswer = buildAnswerFrame(0x21, 0x4A, "outer", {});
    const Bytes innerAnswer = buildAnswerFrame(0x22, 0x4C, "inner", {});
    first->queueAnswerBytes(outerAnswer);
    first->queueAnswerBytes(innerAnswer);
    ASSERT_GT(link.OpenFirstPort("A", 19200), 0);

    EXPECT_EQ(link.SendCommand(
                  nullptr, [&](RetData&) { send(0x4C, "2"); }, 0, 0x4A, "1"),
              0);

    const std::string text = logText();
    const std::size_t request1 = text.find("4A1\r\n");
    const std::size_t request2 = text.find("4C2\r\n");
    const std::size_t answer2 =
        text.find(";" + std::string(innerAnswer.begin(), innerAnswer.end()));
    const std::size_t answer1 =
        text.find(";" + std::string(outerAnswer.begin(), outerAnswer.end()));
    ASSERT_NE(answer1, std::string::npos);
    EXPECT_LT(request1, request2);
    EXPECT_LT(request2, answer2);
    EXPECT_LT(answer2, answer1);
}

// A callback that holds a message box open for minutes does not move the answer's time: the
// answer is dated when its last byte arrived, though written after the callback.
TEST_F(ExchangeLogging, AnswerIsDatedWhenItArrivedNotWhenTheCallbackReturned)
{
    link.SetLogName("Brelox.log");
    first->queueAnswerBytes(kAllStatus80Answer);
    ASSERT_GT(link.OpenFirstPort("A", 19200), 0);

    ASSERT_EQ(link.SendCommand(
                  nullptr,
                  [this](RetData&) {
                      clock.set({7, 3, 2026, 1, 9, 40});
                  },
                  0, 0x4A, "W"),
              0);

    const std::string text = logText();
    EXPECT_NE(text.find(";" + kStamp + "   \r\n;\x01"), std::string::npos) << text;
    EXPECT_EQ(text.find(" 1:09:40"), std::string::npos) << text;
}

TEST_F(ExchangeLogging, ACutExchangeSaysWhyAfterItsAnswer)
{
    link.SetLogName("Brelox.log");
    first->queueAnswer(LineScript::bytesToReads(Bytes(5000, 0xAA)));
    first->queueAnswer({ReadResult::error()});
    ASSERT_GT(link.OpenFirstPort("A", 19200), 0);

    send(0x4A, "1");
    first->gone = true;
    // The message box about the lost line stays open for minutes: the note keeps the time the
    // loss was found.
    (void)link.SendCommand(
        nullptr,
        [this](RetData&) {
            clock.set({7, 3, 2026, 1, 9, 40});
        },
        0, 0x4A, "2");

    const std::string text = logText();
    const std::string streaming = ";" + kStamp +
                                  "  Порт A: обмен прерван, данные идут без паузы (более 4401 "
                                  "байт)\r\n;" +
                                  kStamp + "  22\r\n4A2\r\n";
    const std::string gone = ";" + kStamp + "   \r\n;\r\n;" + kStamp +
                             "  Порт A: устройство отключено или линия разорвана\r\n";
    EXPECT_NE(text.find(streaming), std::string::npos) << text;
    EXPECT_EQ(text.size() - text.rfind(gone), gone.size()) << text;
}

} // namespace
} // namespace quorvex::link
