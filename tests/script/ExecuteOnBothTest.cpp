// One command on two emulated registrars: outcomes, result lists, port selection and the
// mismatch reports in both formats.
#include "script/ExecuteOnBoth.h"
#include "script/CompareIgnore.h"
#include "script/ManualCommand.h"
#include "script/RecordingComparison.h"
#include "script/ScriptConsoleHost.h"

#include "emulator/EmulatedLine.h"
#include "emulator/Replay.h"
#include "link/Link.h"
#include "link/ResultState.h"
#include "link/Session.h"
#include "script/ReportDocument.h"
#include "tests/support/EmulatedRegistrars.h"
#include "tests/support/platform/RecordingDialogs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

using namespace quorvex;
using script::ExecuteOutcome;
using script::ReportFormat;
using test_support::first;
using test_support::second;

namespace {

constexpr int kCode = 0x4A;

class ExecuteOnBothTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_support::resetEmulatedRegistrars();
        ASSERT_NO_FATAL_FAILURE(test_support::openEmulatedLink(
            (std::filesystem::temp_directory_path() / "quorvex-eob.log").string(), 19200, 19200));
        link::session().secondConnected = true;
        script::setComparisonReport(&m_report);
    }

    void TearDown() override
    {
        script::setComparisonReport(nullptr);
        link::session().secondConnected = false;
    }

    void answer(const std::string& firstData, const std::string& secondData)
    {
        first().setAnswerData(kCode, firstData);
        second().setAnswerData(kCode, secondData);
    }

    ExecuteOutcome run(ReportFormat format = ReportFormat::Script, bool secondAllowed = true)
    {
        return script::ExecuteOnBoth(kCode, "W", secondAllowed, format, m_lists);
    }

    std::vector<std::string> reportTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& line : m_report.lines()) {
            EXPECT_EQ(line.colour, script::kReportRed) << line.text;
            texts.push_back(line.text);
        }
        return texts;
    }

    platform::ScopedRecordingDialogs m_dialogs;
    script::ReportDocument m_report;
    script::TwoRegistrarResults m_lists;
};

TEST_F(ExecuteOnBothTest, WithoutSecondRegistrarOnlyTheFirstIsAsked)
{
    answer("1,2,3", "9");

    link::session().secondConnected = false;
    EXPECT_EQ(run(), ExecuteOutcome::Done);
    link::session().secondConnected = true;
    EXPECT_EQ(run(ReportFormat::Script, false), ExecuteOutcome::Done);

    EXPECT_EQ(first().handledCommands().size(), 2u);
    EXPECT_TRUE(second().handledCommands().empty());
    EXPECT_EQ(m_lists.first.count, 3);
    EXPECT_EQ(m_lists.first.texts[2], "3");
    EXPECT_EQ(m_lists.second.count, 0);
    EXPECT_TRUE(m_report.lines().empty());
}

TEST_F(ExecuteOnBothTest, EqualAnswersFillBothListsAndReportNothing)
{
    answer("1,2,3", "1,2,3");

    EXPECT_EQ(run(), ExecuteOutcome::Done);

    EXPECT_EQ(m_lists.second.count, 3);
    EXPECT_EQ(m_lists.second.texts[0], "1");
    EXPECT_TRUE(m_report.lines().empty());
    EXPECT_FALSE(link::processLink().secondPortSelected());
    ASSERT_EQ(second().handledRequests().size(), 1u);
    EXPECT_EQ(second().handledRequests()[0].command, kCode);
    EXPECT_EQ(second().handledRequests()[0].data, "W");
}

TEST_F(ExecuteOnBothTest, OneDifferingValueGivesOneScriptReport)
{
    answer("1,2,3", "1,2,4");

    EXPECT_EQ(run(), ExecuteOutcome::Done);

    EXPECT_EQ(reportTexts(),
              (std::vector<std::string>{" ", "Код команды: 4Ah(74)",
                                        "Не совпадают значения результата, - параметр №2",
                                        "Регистратор №1: 3", "Регистратор №2: 4"}));
    EXPECT_FALSE(link::processLink().secondPortSelected());
}

TEST_F(ExecuteOnBothTest, ThreeDifferingValuesInBothFormats)
{
    answer("a,5,x,y", "b,05,x,z");

    EXPECT_EQ(run(ReportFormat::Script), ExecuteOutcome::Done);
    EXPECT_EQ(m_report.lines().size(), 15u);
    m_report.clear();
    EXPECT_EQ(run(ReportFormat::Manual), ExecuteOutcome::Done);

    const auto texts = reportTexts();
    ASSERT_EQ(texts.size(), 9u);
    EXPECT_EQ(texts[0], "Не совпадают значения результата, - параметр №0");
    EXPECT_EQ(texts[3], "Не совпадают значения результата, - параметр №1");
    EXPECT_EQ(texts[5], "Регистратор №2: 05");
    EXPECT_EQ(texts[6], "Не совпадают значения результата, - параметр №3");
}

TEST_F(ExecuteOnBothTest, IgnoredFieldsAndAnswersAreNeitherComparedNorReported)
{
    answer("a,5,x,y", "b,05,x,z");
    script::setComparisonIgnore(script::parseIgnoreList("4A:0, 4A:3,21").list);
    EXPECT_EQ(run(ReportFormat::Manual), ExecuteOutcome::Done);
    EXPECT_EQ(reportTexts(),
              (std::vector<std::string>{"Не совпадают значения результата, - параметр №1",
                                        "Регистратор №1: 5", "Регистратор №2: 05"}));

    m_report.clear();
    answer("1,2", "1,9,3");
    script::setComparisonIgnore(script::parseIgnoreList("4A").list);
    EXPECT_EQ(run(), ExecuteOutcome::Done);
    EXPECT_TRUE(m_report.lines().empty());
    script::setComparisonIgnore({});
}

TEST(CompareIgnoreTest, ParsesCodesAndFieldsAndNamesTheFirstBadRule)
{
    const auto parsed = script::parseIgnoreList(" 3E, EB:0,,5:12 ");
    EXPECT_EQ(parsed.error, "");
    EXPECT_TRUE(parsed.list.ignoresAnswer(0x3E));
    EXPECT_TRUE(parsed.list.ignoresField(0x3E, 7));
    EXPECT_FALSE(parsed.list.ignoresAnswer(0xEB));
    EXPECT_TRUE(parsed.list.ignoresField(0xEB, 0));
    EXPECT_FALSE(parsed.list.ignoresField(0xEB, 1));
    EXPECT_TRUE(parsed.list.ignoresField(0x05, 12));
    for (const char* bad : {"3G", "123", "3E:", "3E:x", ":1", "3E:-1", "3E:100", "-3"})
        EXPECT_FALSE(script::parseIgnoreRule(bad).has_value()) << bad;
    const auto withBad = script::parseIgnoreList("3E,zz,EB:q");
    EXPECT_EQ(withBad.error, "not a command code or CODE:FIELD: 'zz'");
    EXPECT_TRUE(withBad.list.ignoresAnswer(0x3E));
}

TEST_F(ExecuteOnBothTest, DifferentCountsGiveOnlyTheCountReport)
{
    answer("1,2", "1,9,3");

    EXPECT_EQ(run(), ExecuteOutcome::CountsDiffer);

    EXPECT_EQ(reportTexts(),
              (std::vector<std::string>{" ", "Код команды: 4Ah(74)",
                                        "Не совпадает количество параметров результата: ",
                                        "Регистратор №1: 2", "Регистратор №2: 3"}));
    EXPECT_FALSE(link::processLink().secondPortSelected());
}

TEST_F(ExecuteOnBothTest, SilentRegistrarsAreTimeOutsWithoutReports)
{
    answer("1,2,3", "4,5,6");
    m_lists.first.texts[0] = "old";

    first().faults().silent = true;
    EXPECT_EQ(run(), ExecuteOutcome::FirstTimedOut);
    EXPECT_TRUE(second().handledCommands().empty());
    EXPECT_EQ(m_lists.first.texts[0], "old");

    first().faults().silent = false;
    second().faults().silent = true;
    EXPECT_EQ(run(), ExecuteOutcome::SecondTimedOut);

    EXPECT_EQ(m_lists.first.texts[0], "1");
    EXPECT_EQ(m_lists.second.count, 0);
    EXPECT_TRUE(m_report.lines().empty());
    EXPECT_FALSE(link::processLink().secondPortSelected());
}

TEST_F(ExecuteOnBothTest, EntriesBeyondTheCountKeepOldTexts)
{
    answer("1,2,3,4,5", "1,2,3,4,5");
    ASSERT_EQ(run(), ExecuteOutcome::Done);
    answer("7", "7");
    m_lists.first.texts[25] = "kept";

    ASSERT_EQ(run(), ExecuteOutcome::Done);

    EXPECT_EQ(m_lists.first.count, 1);
    EXPECT_EQ(m_lists.first.texts[0], "7");
    EXPECT_EQ(m_lists.first.texts[4], "5");
    EXPECT_EQ(m_lists.second.texts[4], "5");
    EXPECT_EQ(m_lists.first.texts[25], "kept");
}

TEST_F(ExecuteOnBothTest, RefusedCommandIsNotTakenForThePreviousAnswer)
{
    answer("1,2,3", "1,2,3");
    ASSERT_EQ(run(), ExecuteOutcome::Done);
    const std::string tooLong(link::kMaxRequestData + 1, 'x');

    const auto outcome = script::ExecuteOnBoth(kCode, tooLong, true, ReportFormat::Script, m_lists);

    EXPECT_EQ(outcome, ExecuteOutcome::Refused);
    EXPECT_EQ(link::processLink().lastRefusal(), link::Refusal::DataTooLong);
    EXPECT_EQ(first().handledCommands().size(), 1u);
    EXPECT_EQ(second().handledCommands().size(), 1u);
    EXPECT_FALSE(link::processLink().secondPortSelected());
}

TEST_F(ExecuteOnBothTest, ManualCommandShowsTheRefusalNotATimeout)
{
    script::ScriptConsoleHost host;

    const auto outcome = script::executeManualCommand(
        host, kCode, std::string(link::kMaxRequestData + 1, 'x'), m_lists);

    EXPECT_EQ(outcome, ExecuteOutcome::Refused);
    EXPECT_EQ(host.messages(),
              std::vector<std::string>{link::refusalMessage(link::Refusal::DataTooLong)});
    EXPECT_TRUE(first().handledCommands().empty());
}

// A registrar given up as busy has not answered: nothing is compared, and the console names the
// busy registrar instead of a time-out.
TEST_F(ExecuteOnBothTest, BusyRegistrarIsNoAnswerWithItsOwnMessage)
{
    answer("1,2,3", "1,2,3");
    first().faults().workingMs = 600; // SYN every 60 ms of virtual time
    std::int64_t clockUs = 0;
    link::processLink().setObserverClocks(
        {[&clockUs] { return clockUs += 1'000'000; }, [] { return std::int64_t{0}; }});
    link::processLink().setBusyLimit(2);
    script::ScriptConsoleHost host;

    const auto outcome = script::executeManualCommand(host, kCode, "W", m_lists);

    link::processLink().setBusyLimit(link::kDefaultBusyLimitSeconds);
    link::processLink().setObserverClocks(
        {[] {
             return std::chrono::duration_cast<std::chrono::microseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                 .count();
         },
         [] {
             return std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::system_clock::now().time_since_epoch())
                 .count();
         }});
    EXPECT_EQ(outcome, ExecuteOutcome::FirstTimedOut);
    ASSERT_FALSE(host.messages().empty());
    EXPECT_EQ(host.messages().back(), "Ошибка выполнения команды. Регистратор занят слишком долго");
    EXPECT_TRUE(second().handledCommands().empty());
}

TEST_F(ExecuteOnBothTest, HookSeesTheFirstAnswerBeforeTheSecondIsAsked)
{
    answer("1,2,3", "1,2,3");
    std::string fpLine;
    std::size_t secondHandledAtHook = 99;
    script::ExecuteHooks hooks;
    hooks.onFirstAnswer = [&](const link::RetData& result) {
        fpLine = script::exchangeLineFp(result);
        secondHandledAtHook = second().handledCommands().size();
    };

    script::ExecuteOnBoth(kCode, "W", true, ReportFormat::Manual, m_lists, hooks);

    EXPECT_EQ(secondHandledAtHook, 0u);
    EXPECT_EQ(fpLine.rfind("FP: ", 0), 0u);
    EXPECT_NE(fpLine.find("1,2,3"), std::string::npos);
}

TEST_F(ExecuteOnBothTest, RepeatResendsTheFirstRequestAndSendsCodeToTheSecond)
{
    answer("1,2,3", "1,2,3");
    second().setAnswerData(0x21, "1,2,4");
    ASSERT_EQ(run(), ExecuteOutcome::Done);
    // The link's last request went to the second registrar; the repeat sends that one again.
    const auto lastSent = second().handledRequests().back();

    const auto outcome = script::RepeatOnBoth(0x21, "D", true, ReportFormat::Manual, m_lists);

    EXPECT_EQ(outcome, ExecuteOutcome::Done);
    const auto& requests = first().handledRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].sequence, lastSent.sequence);
    EXPECT_EQ(requests[1].command, lastSent.command);
    EXPECT_EQ(second().handledRequests().back().command, 0x21);
    EXPECT_EQ(second().handledRequests().back().data, "D");
    EXPECT_EQ(m_report.lines().size(), 3u);
}

link::LoggedExchange recorded(int command, const std::string& data, const std::string& answer,
                              std::uint8_t s2, bool checksumOk = true)
{
    link::LoggedExchange e;
    e.command = command;
    e.data = data;
    e.outcome = link::LoggedOutcome::Answer;
    e.answerData = answer;
    e.answerStatus = {0x80, 0x80, s2, 0x80, 0x80, 0x80 | test_support::kFiscalisedS5};
    e.checksumOk = checksumOk;
    return e;
}

// Against a recording the status bits and the link's errors count too, and a request the
// recording lacks is a difference of its own; two live registrars are compared by fields only.
TEST_F(ExecuteOnBothTest, AgainstARecordingStatusAndUnrecordedRequestsAreDifferences)
{
    auto recording = std::make_shared<script::RecordedSecondRegistrar>();
    emulator::registerReplayPort(
        serial::portRegistry(), "replay:eob",
        std::make_shared<emulator::ReplayAnswers>(std::vector{
            recorded(kCode, "W", "1,2,3", 0x81), recorded(0x21, "D", "x", 0x80, false)}),
        [recording](const emulator::HandledRequest& r, std::size_t times) {
            recording->noteUnrecorded(r.command, r.data, times);
        });
    ASSERT_NE(link::OpenSecondPort("replay:eob", 19200), -1);
    first().setAnswerData(kCode, "1,2,3");
    first().setAnswerData(0x21, "x");

    EXPECT_EQ(run(), ExecuteOutcome::Done); // compared as a live registrar
    EXPECT_TRUE(m_report.lines().empty());

    script::setRecordedSecond(recording);
    EXPECT_EQ(run(ReportFormat::Manual), ExecuteOutcome::Done);
    EXPECT_EQ(script::ExecuteOnBoth(0x21, "D", true, ReportFormat::Manual, m_lists),
              ExecuteOutcome::Done);
    EXPECT_EQ(script::ExecuteOnBoth(kCode, "X", true, ReportFormat::Script, m_lists),
              ExecuteOutcome::Done);
    script::setComparisonIgnore(script::parseIgnoreList("4A:status").list);
    EXPECT_EQ(run(), ExecuteOutcome::Done);
    script::setComparisonIgnore({});
    script::setRecordedSecond(nullptr);
    link::CloseSecondPort();
    serial::portRegistry().removeVirtualPort("replay:eob");

    EXPECT_EQ(reportTexts(),
              (std::vector<std::string>{
                  "Не совпадает бит состояния S2:01 (Нет бумаги)", "Регистратор №1: 0",
                  "Регистратор №2: 1", "Не совпадает ошибка обмена (Ошибка протокола)",
                  "Регистратор №1: 0", "Регистратор №2: 1", " ", "Код команды: 4Ah(74)",
                  "Запрос не найден в записи обмена: 4A X"}));
}

TEST(CompareIgnoreTest, StatusRulesLeaveOutTheStatusOnly)
{
    const auto parsed = script::parseIgnoreList("4A:status,3E");

    EXPECT_EQ(parsed.error, "");
    EXPECT_TRUE(parsed.list.ignoresStatus(0x4A));
    EXPECT_FALSE(parsed.list.ignoresAnswer(0x4A));
    EXPECT_FALSE(parsed.list.ignoresField(0x4A, 0));
    EXPECT_TRUE(parsed.list.ignoresStatus(0x3E));
    EXPECT_FALSE(parsed.list.ignoresStatus(0x5A));
}

TEST(ExecuteDisplayFormats, StatusExchangeAndCodeLines)
{
    link::RetData result;
    result.Status = {0x80, 0x0A, 0, 0xFF, 1, 0x3C};
    result.RequestFrame = std::string("\x01"
                                      "abc",
                                      4);
    result.RawAnswer = "\x01"
                       "xyz\x03";

    EXPECT_EQ(script::statusText(result), "80 0A 00 FF 01 3C ");
    EXPECT_EQ(script::exchangeLinePc(result), "PC: abc");
    EXPECT_EQ(script::exchangeLineFp(result), "FP: xyz\x03");
    EXPECT_EQ(script::exchangeLineFp(link::RetData{}), "FP: ");
    EXPECT_EQ(script::commandCodeLine(5), "Код команды: 05h(5)");
    EXPECT_EQ(script::commandCodeLine(0x1AB), "Код команды: 1ABh(427)");
}

} // namespace
