#include "fiscal/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace quorvex::fiscal {

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

template <typename Number> std::optional<Number> wholeNumber(const std::string& text)
{
    const std::string plain = withoutPlus(trimmed(text));
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
    const auto value = wholeNumber<double>(text);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return value;
}

std::optional<int> integerValue(const std::string& text)
{
    return wholeNumber<int>(text);
}

std::string conversionError(const std::string& text)
{
    return "Ошибка преобразования в число: " + text;
}

std::optional<std::string> hundredthsAsMoney(const std::string& field)
{
    const auto value = wholeNumber<std::int64_t>(field);
    if (!value)
        return std::nullopt;
    const std::uint64_t magnitude =
        *value < 0 ? 0 - static_cast<std::uint64_t>(*value) : static_cast<std::uint64_t>(*value);
    const std::uint64_t cents = magnitude % 100;
    return std::string(*value < 0 ? "-" : "") + std::to_string(magnitude / 100) +
           (cents < 10 ? ".0" : ".") + std::to_string(cents);
}

} // namespace quorvex::fiscal
