#pragma once
// The article file of the sales window: one article a line, five fields each ended by ';'
// (tax group, code, goods group, price, name), Windows-1251 bytes. A line is read in pieces of at
// most 199 characters, and a longer line goes on as the next row.
#include <array>
#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex::fiscal {

constexpr std::size_t kArticlePieceLength = 199;
constexpr int kArticleFields = 5;

// Tax group, code, goods group, price, name.
using ArticleFields = std::array<std::string, kArticleFields>;

// The fields of one row: each up to its ';'. A field without its ';' is empty, and so are the
// fields after it; whatever follows the fifth ';' is ignored.
[[nodiscard]] ArticleFields articleFields(std::string_view row);

struct ArticleRows {
    std::vector<ArticleFields> rows; // at most the number asked for
    std::size_t rowsLeftOver = 0;    // rows of the file beyond those
};

// Reads every row of the text. Line ends are "\n" or "\r\n"; a last line without one counts.
[[nodiscard]] ArticleRows readArticleRows(std::string_view text, std::size_t maxRows);
// The rows of a file; nullopt when it cannot be opened or read.
[[nodiscard]] std::optional<ArticleRows> readArticleFile(const std::string& path,
                                                         std::size_t maxRows);

// The programming text of an article: "P", tax group, code, ",", goods group, ",", price, ",",
// password, ",", name. For А;12;1;10.00;Хлеб; and 9011 it is "PА12,1,10.00,9011,Хлеб".
[[nodiscard]] std::string articleText(const ArticleFields& fields, const std::string& password);
// The price in an article text: its third comma-separated field ("" when it has none).
[[nodiscard]] std::string articlePriceText(std::string_view articleText);

} // namespace quorvex::fiscal
