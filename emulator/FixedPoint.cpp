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

namespace {

// An unsigned 128-bit number as two 64-bit halves.
struct Wide {
    std::uint64_t high = 0;
    std::uint64_t low = 0;
};

Wide multiply(std::uint64_t a, std::uint64_t b)
{
    constexpr std::uint64_t kHalf = 0xFFFF'FFFF;
    const std::uint64_t lowLow = (a & kHalf) * (b & kHalf);
    const std::uint64_t lowHigh = (a & kHalf) * (b >> 32);
    const std::uint64_t highLow = (a >> 32) * (b & kHalf);
    const std::uint64_t highHigh = (a >> 32) * (b >> 32);
    const std::uint64_t middle = (lowLow >> 32) + (lowHigh & kHalf) + (highLow & kHalf);
    return {highHigh + (lowHigh >> 32) + (highLow >> 32) + (middle >> 32),
            (middle << 32) | (lowLow & kHalf)};
}

Wide plus(Wide x, std::uint64_t y)
{
    const std::uint64_t low = x.low + y;
    return {x.high + (low < x.low ? 1 : 0), low};
}

// x / divisor by binary long division; the quotient's bits above 64 are assumed zero.
std::uint64_t divide(Wide x, std::uint64_t divisor)
{
    std::uint64_t remainder = 0;
    std::uint64_t quotient = 0;
    for (int bit = 127; bit >= 0; --bit) {
        const std::uint64_t next = bit >= 64 ? (x.high >> (bit - 64)) & 1 : (x.low >> bit) & 1;
        // A remainder whose top bit shifts out is at least 2^64 and so above the divisor.
        const bool shiftedOut = (remainder >> 63) != 0;
        remainder = (remainder << 1) | next;
        quotient <<= 1;
        if (shiftedOut || remainder >= divisor) {
            remainder -= divisor;
            quotient |= 1;
        }
    }
    return quotient;
}

std::uint64_t magnitude(std::int64_t value)
{
    return value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

std::int64_t signedQuotient(std::int64_t a, std::int64_t b, std::int64_t denominator,
                            std::uint64_t addend)
{
    const auto divisor = static_cast<std::uint64_t>(denominator);
    const std::uint64_t q = divide(plus(multiply(magnitude(a), magnitude(b)), addend), divisor);
    const bool negative = (a < 0) != (b < 0);
    return negative ? -static_cast<std::int64_t>(q) : static_cast<std::int64_t>(q);
}

} // namespace

std::int64_t productQuotient(std::int64_t a, std::int64_t b, std::int64_t denominator)
{
    return signedQuotient(a, b, denominator, 0);
}

std::int64_t roundedProductQuotient(std::int64_t a, std::int64_t b, std::int64_t denominator)
{
    return signedQuotient(a, b, denominator, static_cast<std::uint64_t>(denominator / 2));
}

} // namespace quorvex::emulator
