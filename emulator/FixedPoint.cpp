#include "emulator/FixedPoint.h"

namespace quorvex::emulator {

namespace {

constexpr int kMaxDigits = 17; // every accepted digit string stays below kHugeNumber

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<std::int64_t> parseFixed(std::string_view text, int decimals, bool signAllowed)
{
    bool negative = false;
    if (signAllowed && !text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
    if (whole.empty() && fraction.empty())
        return std::nullopt;
    if (fraction.size() > static_cast<std::size_t>(decimals))
        return std::nullopt;
    for (char c : whole)
        if (!isDigit(c))
            return std::nullopt;
    for (char c : fraction)
        if (!isDigit(c))
            return std::nullopt;

    std::size_t significant = whole.find_first_not_of('0');
    significant = significant == std::string_view::npos ? 0 : whole.size() - significant;
    if (significant + static_cast<std::size_t>(decimals) > kMaxDigits)
        return negative ? -kHugeNumber : kHugeNumber;

    std::int64_t value = 0;
    for (char c : whole)
        value = value * 10 + (c - '0');
    for (int i = 0; i < decimals; ++i)
        value =
            value * 10 + (static_cast<std::size_t>(i) < fraction.size() ? fraction[i] - '0' : 0);
    return negative ? -value : value;
}

std::optional<std::int64_t> parseDigits(std::string_view text)
{
    if (text.empty() || text.find('.') != std::string_view::npos)
        return std::nullopt;
    return parseFixed(text, 0, false);
}

std::string fixedText(std::int64_t value, int decimals)
{
    const bool negative = value < 0;
    std::string digits = std::to_string(negative ? -value : value);
    if (digits.size() <= static_cast<std::size_t>(decimals))
        digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
    if (decimals > 0)
        digits.insert(digits.size() - static_cast<std::size_t>(decimals), 1, '.');
    return negative ? "-" + digits : digits;
}

std::int64_t roundedQuotient(__int128 numerator, std::int64_t denominator)
{
    const bool negative = numerator < 0;
    const __int128 magnitude = negative ? -numerator : numerator;
    const __int128 rounded = (magnitude + denominator / 2) / denominator;
    return static_cast<std::int64_t>(negative ? -rounded : rounded);
}

} // namespace quorvex::emulator
