#include "fiscal/OperatorInput.h"

#include "platform/NumberText.h"

#include <cstdio>

namespace quorvex::fiscal {

std::string sixDigitDate(int year, int month, int day)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d%02d%02d", day % 100, month % 100, year % 100);
    return text;
}

ServiceCashAmount serviceCashAmount(const std::string& text, bool cashOut)
{
    const auto amount = platform::decimalValue(text);
    if (!amount)
        return {ServiceCashAmount::Problem::NotANumber};
    if (!(*amount > 0))
        return {ServiceCashAmount::Problem::NotPositive};
    return {ServiceCashAmount::Problem::None, cashOut ? -*amount : *amount};
}

} // namespace quorvex::fiscal
