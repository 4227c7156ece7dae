// The article file, the article text and the numbers of the fiscal windows.
#include "fiscal/ArticleFile.h"
#include "fiscal/NumberText.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace quorvex::fiscal {
namespace {

TEST(ArticleFile, RowsTakeTheirFieldsUpToEachSemicolon)
{
    const std::string piece(kArticlePieceLength, 'x');
    const struct {
        const char* name;
        std::string text;
        std::vector<ArticleFields> rows;
    } cases[] = {
        {"whole line", "А;12;1;10.00;Хлеб;\n", {{"А", "12", "1", "10.00", "Хлеб"}}},
        {"no last semicolon", "А;12;1;10.00;Хлеб\n", {{"А", "12", "1", "10.00", ""}}},
        {"no semicolon at all", "А 12 1 10.00 Хлеб\n", {{"", "", "", "", ""}}},
        {"gap", "А;12\n", {{"А", "", "", "", ""}}},
        {"after the fifth", "А;12;1;10.00;Хлеб;x;y\n", {{"А", "12", "1", "10.00", "Хлеб"}}},
        {"windows line ends",
         "А;1;1;1;a;\r\nБ;2;1;1;b;\r\n",
         {{"А", "1", "1", "1", "a"}, {"Б", "2", "1", "1", "b"}}},
        {"empty line and last line without end",
         "\nБ;2;1;1;b;",
         {{"", "", "", "", ""}, {"Б", "2", "1", "1", "b"}}},
        {"piece of exactly 199", piece + "\r\nА;", {{"", "", "", "", ""}, {"А", "", "", "", ""}}},
        {"longer line goes on as the next row",
         piece + "А;1;2;3;b;\n",
         {{"", "", "", "", ""}, {"А", "1", "2", "3", "b"}}},
        {"empty file", "", {}},
    };
    for (const auto& c : cases) {
        const ArticleRows read = readArticleRows(c.text, 100);

        EXPECT_EQ(read.rows, c.rows) << c.name;
        EXPECT_EQ(read.rowsLeftOver, 0u) << c.name;
    }
}

TEST(ArticleFile, RowsBeyondTheLimitAreCountedNotKept)
{
    const ArticleRows read = readArticleRows("a;\nb;\nc;\nd;\n", 3);

    ASSERT_EQ(read.rows.size(), 3u);
    EXPECT_EQ(read.rows[2][0], "c");
    EXPECT_EQ(read.rowsLeftOver, 1u);
}

TEST(ArticleFile, MissingFileOrDirectoryReadsAsNothing)
{
    EXPECT_FALSE(readArticleFile("/nonexistent/goods.art", 10));
    EXPECT_FALSE(readArticleFile(std::filesystem::temp_directory_path().string(), 10));
}

TEST(ArticleFile, ArticleTextCarriesThePasswordAndThePriceIsItsThirdField)
{
    const std::string text = articleText({"А", "12", "1", "10.00", "Хлеб"}, "9011");

    EXPECT_EQ(text, "PА12,1,10.00,9011,Хлеб");
    EXPECT_EQ(articlePriceText(text), "10.00");
    EXPECT_EQ(articlePriceText("PА12,1,7"), "7");
    EXPECT_EQ(articlePriceText("PА12,1"), "");
}

TEST(NumberText, AnswerFieldsOfHundredthsAsMoney)
{
    const std::pair<const char*, const char*> money[] = {
        {"1250", "12.50"}, {"7", "0.07"}, {"0", "0.00"}, {"-5", "-0.05"}, {"-1234", "-12.34"}};
    for (const auto& [field, shown] : money)
        EXPECT_EQ(hundredthsAsMoney(field), shown) << field;
    EXPECT_FALSE(hundredthsAsMoney("12.50"));
    EXPECT_FALSE(hundredthsAsMoney(""));
}

} // namespace
} // namespace quorvex::fiscal
