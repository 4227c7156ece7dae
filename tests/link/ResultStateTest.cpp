#include "link/ResultState.h"

#include "platform/RecordingDialogs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvex::link {
namespace {

using platform::RecordingDialogs;
using Messages = std::vector<std::string>;

RetData resultWithFlags(std::uint32_t flags)
{
    RetData result;
    result.ErrorFlags = flags;
    return result;
}

class ResultStateTest : public ::testing::Test {
protected:
    ResultState m_state;
    RecordingDialogs m_dialogs;
};

TEST_F(ResultStateTest, CopiesTheResultAndCountsTheAnswer)
{
    RetData result;
    result.Command = 0x4A;
    result.FieldCount = 2;
    result.Fields[1] = std::string(1, 'X');
    result.Status = {1, 2, 3, 4, 5, 6};
    m_state.pendingAnswers = 1;

    m_state.takeResult(result, m_dialogs);

    EXPECT_EQ(m_state.copy.Command, 0x4A);
    EXPECT_EQ(m_state.copy.Fields[1], "X");
    EXPECT_EQ(m_state.copy.Status[5], 6);
    EXPECT_EQ(m_state.pendingAnswers, 0);
    EXPECT_EQ(m_state.errorCount, 0);
    EXPECT_TRUE(m_dialogs.calls().empty());
}

TEST_F(ResultStateTest, ShowsOnlyTheFirstErrorInTableOrder)
{
    m_state.takeResult(resultWithFlags(0x00000200 | 0x00000040), m_dialogs);

    EXPECT_EQ(m_dialogs.messages(), Messages{"Обнуление ОЗУ"});
    EXPECT_EQ(m_state.errorCount, 1);
}

TEST_F(ResultStateTest, ReceiptAndFiscalisationStatesAreNoErrors)
{
    const std::uint32_t silentBits = 0x00000080 | 0x00000400 | 0x00000800 | 0x00001000 |
                                     0x00004000 | 0x00200000 | 0x00400000 | 0x00800000;
    m_state.errorCount = 3;

    m_state.takeResult(resultWithFlags(0x00000400), m_dialogs);
    m_state.takeResult(resultWithFlags(silentBits), m_dialogs);

    EXPECT_TRUE(m_dialogs.calls().empty());
    EXPECT_EQ(m_state.errorCount, 3);
}

TEST_F(ResultStateTest, TimeoutCountsOneErrorAndOneAnswer)
{
    m_state.pendingAnswers = 5;

    m_state.takeResult(resultWithFlags(ERR_TIMEOUT), m_dialogs);

    EXPECT_EQ(m_dialogs.messages(), Messages{"Таймаут"});
    EXPECT_EQ(m_state.errorCount, 1);
    EXPECT_EQ(m_state.pendingAnswers, 4);
}

TEST_F(ResultStateTest, ALostLineIsNamedInsteadOfTheTimeout)
{
    RetData lost = resultWithFlags(ERR_TIMEOUT);
    lost.LineFault = "Порт ttyUSB0: устройство отключено или линия разорвана";

    m_state.takeResult(lost, m_dialogs);

    EXPECT_EQ(m_dialogs.messages(), Messages{lost.LineFault});
    EXPECT_EQ(m_state.errorCount, 1);
}

TEST_F(ResultStateTest, EveryAnswerWithAnErrorIsCounted)
{
    m_state.takeResult(resultWithFlags(ERR_NAK), m_dialogs);
    m_state.takeResult(resultWithFlags(ERR_BCC), m_dialogs);

    EXPECT_EQ(m_dialogs.messages(), (Messages{"Ошибка приема команды", "Ошибка протокола"}));
    EXPECT_EQ(m_state.errorCount, 2);
    EXPECT_EQ(m_state.pendingAnswers, -2);
}

TEST(ErrorTexts, OrderIsTheTableOrderNotTheBitOrder)
{
    // Little room in fiscal memory (0x00100000) is tested before the write error (0x00010000),
    // the link errors before the general errors.
    EXPECT_EQ(errorTextFor(0x00100000 | 0x00010000), std::string("В фиск. памяти мало места"));
    EXPECT_EQ(errorTextFor(0x00010000 | 0x00080000), std::string("Ошибка записи в фиск. память"));
    EXPECT_EQ(errorTextFor(ERR_BCC | 0x08000000), std::string("Ошибка протокола"));
    EXPECT_EQ(errorTextFor(0x08000000 | 0x10000000), std::string("Общая ошибка"));
    EXPECT_EQ(errorTextFor(0x00000100 | 0x00000200), std::string("Обнуление ОЗУ"));
    EXPECT_EQ(errorTextFor(0x00000001 | 0x10000000), std::string("Синтаксическая ошибка"));
    EXPECT_EQ(errorTextFor(0x00002000 | 0x00020000), std::string("Не модуля фиск. памяти"));
    EXPECT_EQ(errorTextFor(0), nullptr);
    EXPECT_EQ(errorTextFor(0x20000000 | 0x40000000 | 0x80000000), nullptr);
}

TEST(PrinterResultsCallbacks, BothFeedTheProcessStateAndDialogs)
{
    platform::ScopedRecordingDialogs dialogs;
    resultState() = ResultState{};
    RetData nak = resultWithFlags(ERR_NAK);
    RetData fine;
    fine.Command = 0x30;

    PrinterResultsx(nak);
    PrinterResults(fine);

    EXPECT_EQ(dialogs->messages(), Messages{"Ошибка приема команды"});
    EXPECT_EQ(resultState().errorCount, 1);
    EXPECT_EQ(resultState().pendingAnswers, -2);
    EXPECT_EQ(resultState().copy.Command, 0x30);
    resultState() = ResultState{};
}

} // namespace
} // namespace quorvex::link
