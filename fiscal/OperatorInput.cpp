#include "fiscal/OperatorInput.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace quorvex::fiscal {

namespace {

std::string trimBlanks(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// from_chars reads no leading '+'; the operator may type one.
std::string withoutPlus(std::string text)
{
    if (!text.empty() && text[0] == '+' && (text.size() == 1 || text[1] != '-'))
        text.erase(0, 1);
    return text;
}

} // namespace

std::string sixDigitDate(int year, int month, int day)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d%02d%02d", day % 100, month % 100, year % 100);
    return text;
}

std::optional<double> parseNumber(const std::string& text)
{
    const std::string number = withoutPlus(trimBlanks(text));
    if (number.empty() || number[0] == '+')
        return std::nullopt;
    double value = 0;
    const char* end = number.data() + number.size();
    const auto [ptr, ec] = std::from_chars(number.data(), end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> parseInteger(const std::string& text)
{
    const std::string number = withoutPlus(trimBlanks(text));
    if (number.empty() || number[0] == '+')
        return std::nullopt;
    int value = 0;
    const char* end = number.data() + number.size();
    const auto [ptr, ec] = std::from_chars(number.data(), end, value);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

std::string notAnIntegerMessage(const std::string& text)
{
    return "'" + text + "' is not a valid integer value";
}

ServiceCashAmount serviceCashAmount(const std::string& text, bool cashOut)
{
    const auto amount = parseNumber(text);
    if (!amount)
        return {ServiceCashAmount::Problem::NotANumber};
    if (!(*amount > 0))
        return {ServiceCashAmount::Problem::NotPositive};
    return {ServiceCashAmount::Problem::None, cashOut ? -*amount : *amount};
}

} // namespace quorvex::fiscal
