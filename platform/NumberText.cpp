#include "platform/NumberText.h"

#include <charconv>
#include <cmath>

namespace quorvex::platform {

namespace {

std::string trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The text without a leading '+', which from_chars does not take.
std::string withoutPlus(std::string text)
{
    if (!text.empty() && text[0] == '+' && (text.size() < 2 || text[1] != '-'))
        text.erase(0, 1);
    return text;
}

// The whole text as one number, nothing left over.
template <typename Number> std::optional<Number> wholeNumber(const std::string& plain)
{
    Number value{};
    const char* end = plain.data() + plain.size();
    const auto [ptr, ec] = std::from_chars(plain.data(), end, value);
    if (plain.empty() || ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<double> decimalValue(const std::string& text)
{
    const auto value = wholeNumber<double>(withoutPlus(trimmed(text)));
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return value;
}

std::optional<int> integerValue(const std::string& text)
{
    return wholeNumber<int>(withoutPlus(trimmed(text)));
}

std::optional<std::int64_t> longIntegerValue(const std::string& text)
{
    return wholeNumber<std::int64_t>(withoutPlus(trimmed(text)));
}

std::optional<std::int32_t> toInt32(const std::string& text)
{
    // from_chars takes a '-' but no '+', and no second sign after a '+'.
    if (!text.empty() && text[0] == '+' && (text.size() < 2 || text[1] == '-' || text[1] == '+'))
        return std::nullopt;
    return wholeNumber<std::int32_t>(withoutPlus(text));
}

std::string conversionError(const std::string& text)
{
    return "Ошибка преобразования в число: " + text;
}

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace quorvex::platform
