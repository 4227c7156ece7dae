#pragma once
// Fixed-point numbers as the registrar reads and prints them: amounts in hundredths, quantities
// in thousandths, percentages in hundredths of a percent. Integer arithmetic only, so a sum never
// depends on binary fractions.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvex::emulator {

// Larger than every limit below; what a number with too many digits reads as, so that it is
// refused as an overflow rather than as malformed.
constexpr std::int64_t kHugeNumber = 1'000'000'000'000'000'000;

// Reads "[sign]digits[.digits]" (a sign only when signAllowed, at most `decimals` digits after
// the point, at least one digit in all) as a count of 10^-decimals units. Nothing else is
// accepted: no blanks, no exponent. Too many digits read as kHugeNumber (with its sign).
[[nodiscard]] std::optional<std::int64_t> parseFixed(std::string_view text, int decimals,
                                                     bool signAllowed);
// Reads plain decimal digits (at least one, nothing else); too many read as kHugeNumber.
[[nodiscard]] std::optional<std::int64_t> parseDigits(std::string_view text);

// The value with `decimals` digits after the point: fixedText(-50, 2) is "-0.50".
[[nodiscard]] std::string fixedText(std::int64_t value, int decimals);

// a * b / denominator, with the product held exactly in 128 bits built from 64-bit halves (no
// compiler extension, so 32-bit targets build it too); denominator > 0 and the quotient must fit
// in 64 bits, which holds for products of two values within the model's limits.
// Truncated toward zero:
[[nodiscard]] std::int64_t productQuotient(std::int64_t a, std::int64_t b,
                                           std::int64_t denominator);
// Rounded half away from zero:
[[nodiscard]] std::int64_t roundedProductQuotient(std::int64_t a, std::int64_t b,
                                                  std::int64_t denominator);

} // namespace quorvex::emulator
