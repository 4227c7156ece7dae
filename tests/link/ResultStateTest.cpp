#include "link/ResultState.h"

#include "tests/support/platform/RecordingDialogs.h"

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

TEST(ErrorTexts, AllTwentyOneTextsInTheirTestingOrder)
{
    struct Entry {
        std::uint32_t bit;
        const char* text;
    };
    const Entry table[] = {
        {0x00000001, "Синтаксическая ошибка"},
        {0x00000002, "Неверная команда"},
        {0x00000004, "Дата и время неверны"},
        {0x00000008, "Ошибка печати"},
        {0x00000010, "Арифметическое переполнение"},
        {0x00000020, "Команда не разрешена"},
        {0x00000040, "Обнуление ОЗУ"},
        {0x00000100, "Обнуление ОЗУ"},
        {0x00000200, "Нет бумаги"},
        {0x00002000, "Не модуля фиск. памяти"},
        {0x00100000, "В фиск. памяти мало места"},
        {0x00010000, "Ошибка записи в фиск. память"},
        {0x00020000, "Фиск. память переполнена"},
        {0x00040000, "Запись в фиск. память запрещена"},
        {0x00080000, "Ошибка последнего Z-отчета"},
        {ERR_BCC, "Ошибка протокола"},
        {ERR_NAK, "Ошибка приема команды"},
        {ERR_TIMEOUT, "Таймаут"},
        {ERR_BUSY, "Регистратор занят слишком долго, ожидание ответа прервано"},
        {0x08000000, "Общая ошибка"},
        {0x10000000, "Общая ошибка фиск. памяти"},
    };

    // Each bit alone gives its text, and wins over every bit tested after it.
    std::uint32_t laterBits = 0;
    for (auto entry = std::rbegin(table); entry != std::rend(table); ++entry) {
        laterBits |= entry->bit;
        const char* alone = errorTextFor(entry->bit);
        const char* first = errorTextFor(laterBits);
        EXPECT_EQ(std::string(alone ? alone : "<none>"), entry->text) << std::hex << entry->bit;
        EXPECT_EQ(std::string(first ? first : "<none>"), entry->text) << std::hex << entry->bit;
    }
    EXPECT_EQ(errorTextFor(0), nullptr);
    EXPECT_EQ(errorTextFor(0x40000000 | 0x80000000), nullptr);
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
