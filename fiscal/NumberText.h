#pragma once
// Numbers typed into the fiscal windows and read from answer fields. The decimal point is always
// '.', whatever the locale.
#include <optional>
#include <string>

namespace quorvex::fiscal {

// A decimal number with an optional sign, blanks around it allowed ("-5.00", " 1.5 ", "1e3").
// nullopt for anything else, and for infinities and NaN.
[[nodiscard]] std::optional<double> decimalValue(const std::string& text);
// A decimal integer with an optional sign, blanks around it allowed, within int.
[[nodiscard]] std::optional<int> integerValue(const std::string& text);
// The message for a text that is not a number: «Ошибка преобразования в число: abc».
[[nodiscard]] std::string conversionError(const std::string& text);
// An answer field holding an integer number of hundredths, as money: "1250" gives "12.50",
// "-5" gives "-0.05". nullopt when the field is not an integer.
[[nodiscard]] std::optional<std::string> hundredthsAsMoney(const std::string& field);

} // namespace quorvex::fiscal
