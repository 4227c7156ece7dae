// Numbers in typed texts and answer fields, read the same way by every window and the script
// engine, and the one message for a text that is none.
#include "platform/NumberText.h"

#include <gtest/gtest.h>

namespace quorvex::platform {
namespace {

TEST(NumberText, LenientIntegersDecimalsAndStrictIntegers)
{
    struct Case {
        const char* text;
        std::optional<int> integer; // blanks around allowed
        std::optional<double> number;
        std::optional<std::int32_t> strict; // sign and digits only
    };
    const Case cases[] = {
        {"25", 25, 25.0, 25},
        {"0025", 25, 25.0, 25},
        {" -5 ", -5, -5.0, std::nullopt},
        {"+7", 7, 7.0, 7},
        {"-2147483648", -2147483647 - 1, -2147483648.0, -2147483647 - 1},
        {"100.00", std::nullopt, 100.0, std::nullopt},
        {"1e3", std::nullopt, 1000.0, std::nullopt},
        {"2147483648", std::nullopt, 2147483648.0, std::nullopt},
        {"abc", std::nullopt, std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt, std::nullopt},
        {"+", std::nullopt, std::nullopt, std::nullopt},
        {"12abc", std::nullopt, std::nullopt, std::nullopt},
        {"1,5", std::nullopt, std::nullopt, std::nullopt},
        {"+-5", std::nullopt, std::nullopt, std::nullopt},
        {"--1", std::nullopt, std::nullopt, std::nullopt},
        {"inf", std::nullopt, std::nullopt, std::nullopt},
        {"nan", std::nullopt, std::nullopt, std::nullopt},
        {"0x10", std::nullopt, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(integerValue(c.text), c.integer) << '"' << c.text << '"';
        EXPECT_EQ(decimalValue(c.text), c.number) << '"' << c.text << '"';
        EXPECT_EQ(toInt32(c.text), c.strict) << '"' << c.text << '"';
    }
    EXPECT_EQ(longIntegerValue(" 99999999999"), 99'999'999'999);
    EXPECT_EQ(conversionError("abc"), "Ошибка преобразования в число: abc");
}

} // namespace
} // namespace quorvex::platform
