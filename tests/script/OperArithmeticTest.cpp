#include "script/OperArithmetic.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <string>

namespace quorvex::script {
namespace {

class OperArithmeticTest : public ::testing::Test {
protected:
    std::string compute(const std::string& a, const std::string& b, int code)
    {
        const OperResult result = computeOper({a, false}, {b, false}, code, random);
        EXPECT_EQ(result.failure, OperFailure::None) << a << " " << code << " " << b;
        return result.value;
    }
    OperRandom random{42};
};

TEST_F(OperArithmeticTest, IntegerOperationsWrapAroundAt32Bits)
{
    EXPECT_EQ(compute("2147483647", "1", 0), "-2147483648");
    EXPECT_EQ(compute("-2147483648", "1", 1), "2147483647");
    EXPECT_EQ(compute("65536", "65536", 2), "0");
    EXPECT_EQ(compute("-2147483648", "-1", 3), "-2147483648");
    EXPECT_EQ(compute("-2147483648", "-1", 4), "0");
}

TEST_F(OperArithmeticTest, DivisionTruncatesTowardZeroAndRemainderTakesTheSignOfA)
{
    EXPECT_EQ(compute("-7", "2", 3), "-3");
    EXPECT_EQ(compute("7", "-2", 3), "-3");
    EXPECT_EQ(compute("-7", "2", 4), "-1");
    EXPECT_EQ(compute("7", "-2", 4), "1");
}

TEST_F(OperArithmeticTest, FloatingDivisionUsesFifteenSignificantDigits)
{
    EXPECT_EQ(compute("1", "3", 6), "0.333333333333333");
    EXPECT_EQ(compute("10", "4", 6), "2.5");
    EXPECT_EQ(compute("-9", "3", 6), "-3");
}

// Sets LC_NUMERIC to the first installed locale with a decimal comma; restores it on leaving.
class CommaDecimalLocale {
public:
    CommaDecimalLocale() : m_previous(std::setlocale(LC_NUMERIC, nullptr))
    {
        for (const char* name : {"ru_RU.UTF-8", "ru_RU.utf8", "de_DE.UTF-8", "fr_FR.UTF-8",
                                 "uk_UA.UTF-8", "ru_RU.CP1251"}) {
            if (std::setlocale(LC_NUMERIC, name) && *std::localeconv()->decimal_point == ',') {
                m_active = true;
                return;
            }
        }
        std::setlocale(LC_NUMERIC, m_previous.c_str());
    }
    ~CommaDecimalLocale() { std::setlocale(LC_NUMERIC, m_previous.c_str()); }
    [[nodiscard]] bool active() const { return m_active; }

private:
    std::string m_previous;
    bool m_active = false;
};

TEST_F(OperArithmeticTest, FloatingDivisionWritesAPointUnderACommaLocale)
{
    CommaDecimalLocale locale;
    if (!locale.active())
        GTEST_SKIP() << "no locale with a decimal comma is installed";

    EXPECT_EQ(compute("1", "4", 6), "0.25");
    EXPECT_EQ(compute("1", "3", 6), "0.333333333333333");
}

TEST_F(OperArithmeticTest, DivisionByZeroIsAFailureForEveryDivision)
{
    for (int code : {3, 4, 6})
        EXPECT_EQ(computeOper({"1"}, {"0"}, code, random).failure, OperFailure::DivisionByZero);
}

TEST_F(OperArithmeticTest, RandomStaysInItsRangeAndAnEmptyRangeGivesTheLowBound)
{
    for (int i = 0; i < 200; ++i) {
        const int value = std::stoi(compute("5", "8", 7));
        EXPECT_GE(value, 5);
        EXPECT_LE(value, 8);
    }
    EXPECT_EQ(compute("9", "8", 7), "9");                              // n = 0
    EXPECT_EQ(compute("-2147483648", "2147483647", 7), "-2147483648"); // n wraps to 0
}

TEST_F(OperArithmeticTest, CharacterRepetitionUsesTheLowByteOfA)
{
    EXPECT_EQ(compute("65", "3", 8), "AAA");
    EXPECT_EQ(compute("322", "2", 8), "BB"); // 322 & 0xFF = 66
    EXPECT_EQ(compute("65", "0", 8), "");
    EXPECT_EQ(compute("65", "-4", 8), "");
}

TEST_F(OperArithmeticTest, TextOperationsTakeAnyOperand)
{
    const OperResult joined = computeOper({"abc", true}, {"12", false}, 5, random);
    EXPECT_EQ(joined.value, "abc12");
    EXPECT_EQ(compute("-x-", "", 9), "3");
    EXPECT_EQ(compute("5", "05", 10), "0");
    EXPECT_EQ(compute("05", "05", 10), "1");
}

TEST_F(OperArithmeticTest, CodesAboveTenStoreNothing)
{
    const OperResult result = computeOper({"1"}, {"2"}, 11, random);

    EXPECT_FALSE(result.store);
    EXPECT_EQ(result.failure, OperFailure::None);
}

TEST_F(OperArithmeticTest, StringsAreRefusedByArithmeticAndTextsMustBeNumbers)
{
    for (int code : {0, 1, 2, 3, 4, 6})
        EXPECT_EQ(computeOper({"1", true}, {"2"}, code, random).failure,
                  OperFailure::StringOperand);
    // Random range and repetition convert the string's text instead of refusing it.
    EXPECT_EQ(computeOper({"3", true}, {"3"}, 7, random).value, "3");

    const OperResult bad = computeOper({"12"}, {"1x"}, 0, random);
    EXPECT_EQ(bad.failure, OperFailure::NotANumber);
    EXPECT_EQ(bad.badText, "1x");
    EXPECT_EQ(computeOper({"99999999999"}, {"1"}, 0, random).failure, OperFailure::NotANumber);
}

} // namespace
} // namespace quorvex::script
