// The code box's two-character hexadecimal conversion.
#include "script/ManualCommand.h"

#include <gtest/gtest.h>

using quorvex::script::convertCommandCode;

TEST(ManualCommandTest, TwoHexDigitsOfEitherCaseGiveTheCode)
{
    EXPECT_EQ(convertCommandCode("4a").code, 74);
    EXPECT_TRUE(convertCommandCode("4a").valid);
    EXPECT_EQ(convertCommandCode("4A").code, 74);
    EXPECT_EQ(convertCommandCode("00").code, 0);
    EXPECT_EQ(convertCommandCode("fF").code, 255);
    EXPECT_EQ(convertCommandCode("0F").code, 15);
}

TEST(ManualCommandTest, ABadDigitKeepsThePartialCode)
{
    const auto badSecond = convertCommandCode("4g");
    EXPECT_FALSE(badSecond.valid);
    EXPECT_EQ(badSecond.code, 64);

    const auto badFirst = convertCommandCode("G1");
    EXPECT_FALSE(badFirst.valid);
    EXPECT_EQ(badFirst.code, 0);

    // Script lines such as "%Oper" put '%' and a letter into the code box.
    EXPECT_FALSE(convertCommandCode("%O").valid);
    EXPECT_EQ(convertCommandCode("%O").code, 0);
    EXPECT_FALSE(convertCommandCode("1 ").valid);
    EXPECT_EQ(convertCommandCode("1 ").code, 16);
    EXPECT_FALSE(convertCommandCode("\xC0"
                                    "1")
                     .valid); // a Cyrillic letter
}
