#include "script/OperArithmetic.h"

#include "platform/NumberText.h"
#include "script/ScriptLine.h"

#include <charconv>
#include <cstdint>

namespace quorvex::script {

namespace {

enum OperCode {
    Add = 0,
    Subtract,
    Multiply,
    Divide,
    Remainder,
    Concatenate,
    FloatDivide,
    RandomRange,
    RepeatCharacter,
    Length,
    Equal,
};

bool needsIntegers(int code)
{
    return (code >= Add && code <= Remainder) || (code >= FloatDivide && code <= RepeatCharacter);
}

bool refusesStrings(int code)
{
    return (code >= Add && code <= Remainder) || code == FloatDivide;
}

// Two's-complement wrap-around of a 64-bit intermediate to 32 bits.
std::int32_t wrap32(std::int64_t value)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

OperResult stored(std::string value)
{
    OperResult result;
    if (value.size() > kMaxOperResultLength) {
        result.failure = OperFailure::TooLong;
        return result;
    }
    result.store = true;
    result.value = std::move(value);
    return result;
}

OperResult failed(OperFailure failure, std::string badText = {})
{
    OperResult result;
    result.failure = failure;
    result.badText = std::move(badText);
    return result;
}

// "%.15g" as in the C locale: std::to_chars never takes the decimal point from the process
// locale, so a script run under a ',' locale still stores "0.25".
std::string formatGeneral(double value)
{
    char text[64];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15);
    return std::string(text, result.ptr);
}

std::int32_t randomInRange(std::int32_t low, std::int32_t high, OperRandom& random)
{
    const std::int32_t span = wrap32(std::int64_t{high} - low + 1);
    if (span == 0)
        return low;
    const std::int64_t r = static_cast<std::int64_t>(random() >> 1); // non-negative, 31 bits
    return wrap32(low + r % span); // r % span keeps r's sign: never negative
}

OperResult computeIntegers(std::int32_t a, std::int32_t b, int code, OperRandom& random)
{
    switch (code) {
    case Add:
        return stored(std::to_string(wrap32(std::int64_t{a} + b)));
    case Subtract:
        return stored(std::to_string(wrap32(std::int64_t{a} - b)));
    case Multiply:
        return stored(std::to_string(wrap32(std::int64_t{a} * b)));
    case Divide:
        if (b == 0)
            return failed(OperFailure::DivisionByZero);
        return stored(std::to_string(wrap32(std::int64_t{a} / b))); // truncates toward zero
    case Remainder:
        if (b == 0)
            return failed(OperFailure::DivisionByZero);
        return stored(std::to_string(wrap32(std::int64_t{a} % b))); // sign of a
    case FloatDivide:
        if (b == 0)
            return failed(OperFailure::DivisionByZero);
        return stored(formatGeneral(static_cast<double>(a) / static_cast<double>(b)));
    case RandomRange:
        return stored(std::to_string(randomInRange(a, b, random)));
    case RepeatCharacter:
        if (b <= 0)
            return stored({});
        if (static_cast<std::size_t>(b) > kMaxOperResultLength)
            return failed(OperFailure::TooLong);
        return stored(std::string(static_cast<std::size_t>(b), static_cast<char>(a & 0xFF)));
    default:
        return {};
    }
}

} // namespace

OperResult computeOper(const OperOperand& a, const OperOperand& b, int code, OperRandom& random)
{
    if ((a.quoted || b.quoted) && refusesStrings(code))
        return failed(OperFailure::StringOperand);
    if (needsIntegers(code)) {
        const auto left = platform::toInt32(a.text);
        if (!left)
            return failed(OperFailure::NotANumber, a.text);
        const auto right = platform::toInt32(b.text);
        if (!right)
            return failed(OperFailure::NotANumber, b.text);
        return computeIntegers(*left, *right, code, random);
    }
    switch (code) {
    case Concatenate:
        if (a.text.size() + b.text.size() > kMaxOperResultLength)
            return failed(OperFailure::TooLong);
        return stored(a.text + b.text);
    case Length:
        return stored(std::to_string(a.text.size()));
    case Equal:
        return stored(a.text == b.text ? "1" : "0");
    default:
        return {}; // 11 and above: nothing stored, no error
    }
}

} // namespace quorvex::script
