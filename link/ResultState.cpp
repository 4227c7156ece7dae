#include "link/ResultState.h"

#include "platform/Dialogs.h"

#include <array>
#include <string>

namespace quorvex::link {

namespace {

struct ErrorText {
    std::uint32_t bit;
    const char* text;
};

// Tested in this order; the first bit found set decides which text the operator sees.
constexpr std::array<ErrorText, 21> kErrorTexts = {{
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
}};

} // namespace

const char* errorTextFor(std::uint32_t errorFlags)
{
    for (const ErrorText& entry : kErrorTexts) {
        if ((errorFlags & entry.bit) != 0)
            return entry.text;
    }
    return nullptr;
}

std::string errorTextsFor(std::uint32_t errorFlags)
{
    std::string texts;
    for (const ErrorText& entry : kErrorTexts) {
        if ((errorFlags & entry.bit) == 0)
            continue;
        if (texts.find(entry.text) != std::string::npos)
            continue; // two bits share "Обнуление ОЗУ"
        if (!texts.empty())
            texts += ", ";
        texts += entry.text;
    }
    return texts;
}

void ResultState::takeResult(const RetData& result, platform::Dialogs& dialogs)
{
    copy = result;
    --pendingAnswers;
    if (const char* text = errorTextFor(result.ErrorFlags)) {
        // Counted before the box is shown: the box runs a nested message loop, and whatever
        // runs in it must already see this result as failed.
        ++errorCount;
        // A vanished device is named as such; the time-out bit stays for every caller.
        dialogs.showMessage(result.LineFault.empty() ? std::string(text) : result.LineFault);
    }
}

ResultState& resultState()
{
    static ResultState state;
    return state;
}

void PrinterResultsx(RetData& result)
{
    resultState().takeResult(result, platform::dialogs());
}

void PrinterResults(RetData& result)
{
    resultState().takeResult(result, platform::dialogs());
}

} // namespace quorvex::link
