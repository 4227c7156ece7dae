// The service cash amount and the registrar's dates.
#include "fiscal/OperatorInput.h"

#include <gtest/gtest.h>

namespace quorvex::fiscal {
namespace {

TEST(SixDigitDate, DayMonthAndTwoDigitYearWithLeadingZeros)
{
    EXPECT_EQ(sixDigitDate(2026, 12, 7), "071226");
    EXPECT_EQ(sixDigitDate(2000, 1, 31), "310100");
    EXPECT_EQ(sixDigitDate(1999, 10, 1), "011099");
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
