#include "platform/qt/TextCodec.h"
#include "platform/qt/Cp1251Table.h"

#include <gtest/gtest.h>

using namespace quorvex::platform;

namespace {

std::string allBytes()
{
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes.push_back(static_cast<char>(b));
    return bytes;
}

} // namespace

// Every byte survives a round trip, 0x98 included: it has no character in Windows-1251 and
// the codec carries it as U+0098.
TEST(TextCodec, AllBytesRoundTripAndCyrillicDecodes)
{
    const std::string bytes = allBytes();

    const QString text = fromCp1251(bytes);

    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(toCp1251(text), bytes);
    EXPECT_EQ(text.at(0x98).unicode(), 0x0098);
    EXPECT_EQ(fromCp1251("\xCF\xF0\xE8\xE2\xE5\xF2 \xA8\xB8\xB9"), QStringLiteral("Привет Ёё№"));
    EXPECT_EQ(toCp1251(QStringLiteral("Успешно!")), "\xD3\xF1\xEF\xE5\xF8\xED\xEE!");
}

TEST(TextCodec, UnmappableCharactersBecomeQuestionMarks)
{
    EXPECT_EQ(toCp1251(QStringLiteral("a中b")), "a?b");
    EXPECT_EQ(toCp1251(QString::fromUcs4(U"x\U0001F600y")), "x?y"); // one '?' per character
}

TEST(TextCodec, TableAgreesWithTheCodecInBothDirections)
{
    const std::string bytes = allBytes();
    EXPECT_EQ(fromCp1251ByTable(bytes), fromCp1251(bytes));
    const std::string ascii = bytes.substr(0, 0x80); // the converter-free path
    EXPECT_EQ(fromCp1251ByTable(ascii), fromCp1251(ascii));

    for (char16_t unit = 1; unit < 0xD800; ++unit) {
        const QString single(QChar{unit});
        ASSERT_EQ(toCp1251ByTable(single), toCp1251(single)) << "U+" << std::hex << int(unit);
    }
}

// Control bytes become their control pictures; 0x20 and the Cyrillic bytes stay as they decode.
TEST(TextCodec, VisibleFormShowsControlBytesAsPictures)
{
    const std::string bytes("\x01\x05\x03\x16 \x00\x1F\xD4", 8);
    EXPECT_EQ(fromCp1251Visible(bytes),
              QString::fromUtf16(u"\u2401\u2405\u2403\u2416 \u2400\u241F\u0424"));
    EXPECT_EQ(toCp1251FromVisible(fromCp1251Visible(bytes)), bytes);
}
