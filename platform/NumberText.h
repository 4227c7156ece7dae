#pragma once
// Numbers in texts the operator types and the registrar answers, and the one message for a text
// that is not one. The decimal point is always '.', whatever the locale.
#include <cstdint>
#include <optional>
#include <string>

namespace quorvex::platform {

// A decimal number with an optional sign, blanks around it allowed ("-5.00", " 1.5 ", "1e3").
// nullopt for anything else, and for infinities and NaN.
[[nodiscard]] std::optional<double> decimalValue(const std::string& text);
// A decimal integer with an optional sign, blanks around it allowed, within int.
[[nodiscard]] std::optional<int> integerValue(const std::string& text);
// As integerValue, within 64 bits.
[[nodiscard]] std::optional<std::int64_t> longIntegerValue(const std::string& text);
// Strict: an optional sign and one or more digits, nothing else (no blanks), within 32 bits.
[[nodiscard]] std::optional<std::int32_t> toInt32(const std::string& text);
// The value of one hexadecimal digit (0-9, A-F, a-f); -1 for any other character.
[[nodiscard]] int hexDigitValue(char c);
// The message for a text that is not a number: «Ошибка преобразования в число: abc».
[[nodiscard]] std::string conversionError(const std::string& text);

} // namespace quorvex::platform
