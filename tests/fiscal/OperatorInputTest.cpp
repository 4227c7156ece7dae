// Numbers the operator types into the report, cash and copy windows, and the registrar's dates.
#include "fiscal/OperatorInput.h"

#include <gtest/gtest.h>

#include <limits>

namespace quorvex::fiscal {
namespace {

TEST(SixDigitDate, DayMonthAndTwoDigitYearWithLeadingZeros)
{
    EXPECT_EQ(sixDigitDate(2026, 12, 7), "071226");
    EXPECT_EQ(sixDigitDate(2000, 1, 31), "310100");
    EXPECT_EQ(sixDigitDate(1999, 10, 1), "011099");
}

TEST(OperatorNumbers, IntegersAndAmountsAsTyped)
{
    struct Case {
        const char* text;
        std::optional<int> integer;
        std::optional<double> number;
    };
    const Case cases[] = {
        {"25", 25, 25.0},
        {"0025", 25, 25.0},
        {" -5 ", -5, -5.0},
        {"+7", 7, 7.0},
        {"100.00", std::nullopt, 100.0},
        {"1e3", std::nullopt, 1000.0},
        {"2147483648", std::nullopt, 2147483648.0},
        {"abc", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
        {"12abc", std::nullopt, std::nullopt},
        {"1,5", std::nullopt, std::nullopt},
        {"+-5", std::nullopt, std::nullopt},
        {"inf", std::nullopt, std::nullopt},
        {"nan", std::nullopt, std::nullopt},
        {"0x10", std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseInteger(c.text), c.integer) << '"' << c.text << '"';
        EXPECT_EQ(parseNumber(c.text), c.number) << '"' << c.text << '"';
    }
    EXPECT_EQ(notAnIntegerMessage("abc"), "'abc' is not a valid integer value");
}

TEST(ServiceCash, PositiveAmountsOnlyAndCashOutNegated)
{
    using Problem = ServiceCashAmount::Problem;
    struct Case {
        const char* text;
        bool cashOut;
        Problem problem;
        double amount;
    };
    const Case cases[] = {
        {"100.00", false, Problem::None, 100.0}, {"100.00", true, Problem::None, -100.0},
        {"abc", false, Problem::NotANumber, 0},  {"0", false, Problem::NotPositive, 0},
        {"-5", true, Problem::NotPositive, 0},   {"-0", false, Problem::NotPositive, 0},
    };
    for (const Case& c : cases) {
        const ServiceCashAmount result = serviceCashAmount(c.text, c.cashOut);

        EXPECT_EQ(result.problem, c.problem) << c.text;
        EXPECT_EQ(result.amount, c.amount) << c.text;
    }
}

} // namespace
} // namespace quorvex::fiscal
