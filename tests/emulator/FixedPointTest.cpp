#include "emulator/FixedPoint.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

using namespace quorvex::emulator;

// Products far beyond 64 bits divide exactly, with the sign of the product and both roundings.
TEST(FixedPoint, ProductQuotientsAreExactBeyondSixtyFourBits)
{
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    const struct {
        std::int64_t a, b, denominator, truncated, rounded;
    } cases[] = {
        {7, 3, 2, 10, 11},    // 10.5: half away from zero
        {-7, 3, 2, -10, -11}, // and its mirror
        {7, -3, 4, -5, -5},   // -5.25
        {0, -5, 3, 0, 0},
        {9'999'999'999, 999'999'999, 1000, 9'999'999'989'000'000, 9'999'999'989'000'000},
        {999'999'999'999, 999'999'999'999, 999'999'999'999, 999'999'999'999, 999'999'999'999},
        {kMax, kMax, kMax, kMax, kMax},       // a 126-bit product
        {kMax, 2, 4, kMax / 2, kMax / 2 + 1}, // the top bit shifts out in division
        {1'000'000'000'000, 333, 1'000'000'000'001, 332, 333},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(productQuotient(c.a, c.b, c.denominator), c.truncated)
            << c.a << "*" << c.b << "/" << c.denominator;
        EXPECT_EQ(roundedProductQuotient(c.a, c.b, c.denominator), c.rounded)
            << c.a << "*" << c.b << "/" << c.denominator;
    }
}
