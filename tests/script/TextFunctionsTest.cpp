// Text functions of the script interpreter: number and string tests, result references, the
// 300-byte line reader and the textual search used by If/Else.
#include "script/TextFunctions.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

using namespace quorvex::script;

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

FilePtr fileWith(const std::string& content)
{
    FilePtr file(std::tmpfile());
    std::fwrite(content.data(), 1, content.size(), file.get());
    std::rewind(file.get());
    return file;
}

std::string lineAt(std::FILE* file)
{
    std::string line;
    EXPECT_TRUE(readScriptLine(file, line));
    return line;
}

} // namespace

TEST(TextFunctionsTest, IsNumbAcceptsOnlyDigitsAndTheEmptyText)
{
    EXPECT_TRUE(IsNumb(""));
    EXPECT_TRUE(IsNumb("0123456789"));
    EXPECT_FALSE(IsNumb("12a"));
    EXPECT_FALSE(IsNumb("-1"));
    EXPECT_FALSE(IsNumb(" 1"));
    EXPECT_FALSE(IsNumb("\xB9")); // '№' in Windows-1251, a byte above 127
}

TEST(TextFunctionsTest, IsStrNeedsQuotesAtBothEnds)
{
    EXPECT_TRUE(IsStr("\""));
    EXPECT_TRUE(IsStr("\"\""));
    EXPECT_TRUE(IsStr("\"текст\""));
    EXPECT_FALSE(IsStr(""));
    EXPECT_FALSE(IsStr("\"open"));
    EXPECT_FALSE(IsStr("close\""));
    EXPECT_FALSE(IsStr(" \"a\""));
}

TEST(TextFunctionsTest, GetAnsiStringReadsTheFieldNumberOfAResultReference)
{
    EXPECT_EQ(GetAnsiString("  %Ret12 "), 12);
    EXPECT_EQ(GetAnsiString("%Ret0"), 0);
    EXPECT_EQ(GetAnsiString("\t%Ret007\r\n"), 7);
    EXPECT_EQ(GetAnsiString("%Ret"), -1);
    EXPECT_EQ(GetAnsiString("%Retx"), -1);
    EXPECT_EQ(GetAnsiString("%Ret1x"), -1);
    EXPECT_EQ(GetAnsiString("%Ret 1"), -1);
    EXPECT_EQ(GetAnsiString("%ret1"), -1);
    EXPECT_EQ(GetAnsiString("x%Ret1"), -1);
    EXPECT_EQ(GetAnsiString("%Ret99999999999999999999"), -1);
}

TEST(TextFunctionsTest, TrimmingKeepsCyrillicBytes)
{
    // Bytes above 127 are negative as plain char; they must not count as blanks.
    EXPECT_EQ(trimText(" \t\xC0\xC1 \r\n"), "\xC0\xC1");
    EXPECT_EQ(trimText("\xFF"), "\xFF");
    EXPECT_EQ(trimText(" \x01\x1F "), "");
    EXPECT_EQ(trimTrailingControls("  %Else \r\n"), "  %Else ");
    EXPECT_EQ(trimTrailingControls("\xE0\r"), "\xE0");
}

TEST(TextFunctionsTest, LinesAreReadThroughA300ByteBuffer)
{
    const std::string longLine(450, 'a');
    FilePtr file = fileWith(longLine + "\nlast");
    std::string line;

    ASSERT_TRUE(readScriptLine(file.get(), line));
    EXPECT_EQ(line, std::string(299, 'a'));
    ASSERT_TRUE(readScriptLine(file.get(), line));
    EXPECT_EQ(line, std::string(151, 'a') + "\n");
    ASSERT_TRUE(readScriptLine(file.get(), line));
    EXPECT_EQ(line, "last");
    EXPECT_FALSE(readScriptLine(file.get(), line));
    EXPECT_TRUE(line.empty());
}

TEST(TextFunctionsTest, LineReaderKeepsNulBytes)
{
    FilePtr file = fileWith(std::string("21a\0b\n", 6));

    EXPECT_EQ(lineAt(file.get()), std::string("21a\0b\n", 6));
}

TEST(TextFunctionsTest, SearchStopsAtAnyLineContainingTheText)
{
    const std::string first = "%If (a < b)\r\n";
    const std::string second = "+ note: the %Else branch follows\r\n";
    const std::string third = "  %Else\r\n";
    FilePtr file = fileWith(first + second + third + "%EndIf\r\n");
    long position = 0;

    ASSERT_TRUE(SearchInFile("%Else", file.get(), position));
    EXPECT_EQ(position, static_cast<long>(first.size()));
    EXPECT_EQ(std::ftell(file.get()), position);
    EXPECT_EQ(lineAt(file.get()), second);

    position = std::ftell(file.get());
    ASSERT_TRUE(SearchInFile("%Else", file.get(), position));
    EXPECT_EQ(position, static_cast<long>(first.size() + second.size()));
    EXPECT_EQ(lineAt(file.get()), third);
}

TEST(TextFunctionsTest, SearchIsCaseSensitiveAndEndsAtTheEndOfTheFile)
{
    const std::string content = "%else\n%ELSE\nlast line without end";
    FilePtr file = fileWith(content);
    long position = 0;

    EXPECT_FALSE(SearchInFile("%Else", file.get(), position));
    EXPECT_EQ(position, static_cast<long>(content.size()));
    EXPECT_EQ(std::ftell(file.get()), position);
}

TEST(TextFunctionsTest, SearchStartsAtTheGivenPosition)
{
    FilePtr file = fileWith("%EndIf\n01\n%EndIf\n");
    long position = 3; // inside the first line: the search sees "If\n" first

    ASSERT_TRUE(SearchInFile("%EndIf", file.get(), position));
    EXPECT_EQ(position, 10);
}

TEST(TextFunctionsTest, EmptySearchTextFindsNothingAndMovesNothing)
{
    FilePtr file = fileWith("a\nb\n");
    std::fseek(file.get(), 2, SEEK_SET);
    long position = 2;

    EXPECT_FALSE(SearchInFile("", file.get(), position));
    EXPECT_EQ(position, 2);
    EXPECT_EQ(std::ftell(file.get()), 2);
}

TEST(TextFunctionsTest, SearchInALongLineFindsThePieceThatHoldsTheText)
{
    // The second 299-byte piece of the line holds the text: that piece's start is reported.
    const std::string line = std::string(320, ' ') + "%Else\n";
    FilePtr file = fileWith(line);
    long position = 0;

    ASSERT_TRUE(SearchInFile("%Else", file.get(), position));
    EXPECT_EQ(position, 299);
}
