// «%Oper (a, b, code, result)».
#include "script/Interpreter.h"

#include "platform/NumberText.h"
#include "script/RunEnding.h"

#include "script/TextFunctions.h"

#include <climits>

namespace quorvex::script {

void Interpreter::oper(const std::string& rest)
{
    std::string text = trimText(rest);
    OperOperand a;
    if (!classifyOperand(trimText(textBetween(text, '(', ',')), a))
        failAtOnce("Ошибка первого параметра!");

    text = trimText(textAfter(text, ','));
    OperOperand b;
    if (!classifyOperand(trimText(textBefore(text, ',')), b))
        failAtOnce("Ошибка второго параметра!");

    text = trimText(textAfter(text, ','));
    const std::string codeText = trimText(textBefore(text, ','));
    if (codeText.empty() || !IsNumb(codeText))
        failAtOnce("Ошибка операции!");

    text = trimText(textAfter(text, ','));
    const int resultVariable = findVariable(trimText(textBefore(text, ')')));
    if (resultVariable < 0)
        failAtOnce("Ошибка результата операции!");

    // Digits too many for an int are a code above 11 all the same: nothing is stored.
    const int code = platform::toInt32(codeText).value_or(INT_MAX);
    storeOperResult(computeOper(a, b, code, m_random), resultVariable);
}

// The variables window is not refreshed: the new value shows there after a later Set.
void Interpreter::storeOperResult(const OperResult& result, int resultVariable)
{
    switch (result.failure) {
    case OperFailure::None:
        break;
    case OperFailure::StringOperand:
        failAtOnce("Ошибка операции!");
    case OperFailure::NotANumber:
        failAtOnce(platform::conversionError(result.badText));
    case OperFailure::DivisionByZero:
        failAtOnce("Деление на ноль");
    case OperFailure::TooLong:
        failNamingLine("Ошибка - результат операции длиннее " +
                       std::to_string(kMaxOperResultLength) + " символов.");
    }
    if (result.store)
        m_variables[static_cast<std::size_t>(resultVariable)].Value = result.value;
}

} // namespace quorvex::script
