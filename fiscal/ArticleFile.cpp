#include "fiscal/ArticleFile.h"

#include "platform/NativePath.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace quorvex::fiscal {

ArticleFields articleFields(std::string_view row)
{
    ArticleFields fields;
    std::size_t start = 0;
    for (std::string& field : fields) {
        const std::size_t end = row.find(';', start);
        if (end == std::string_view::npos)
            break;
        field.assign(row.substr(start, end - start));
        start = end + 1;
    }
    return fields;
}

ArticleRows readArticleRows(std::string_view text, std::size_t maxRows)
{
    ArticleRows result;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t newline = text.find('\n', at);
        const std::size_t lineEnd = newline == std::string_view::npos ? text.size() : newline;
        std::size_t contentEnd = lineEnd;
        if (newline != std::string_view::npos && contentEnd > at && text[contentEnd - 1] == '\r')
            --contentEnd;
        std::string_view row;
        if (contentEnd - at <= kArticlePieceLength) {
            row = text.substr(at, contentEnd - at);
            at = lineEnd + 1;
        } else {
            row = text.substr(at, kArticlePieceLength);
            at += kArticlePieceLength;
        }
        if (result.rows.size() < maxRows)
            result.rows.push_back(articleFields(row));
        else
            ++result.rowsLeftOver;
    }
    return result;
}

std::optional<ArticleRows> readArticleFile(const std::string& path, std::size_t maxRows)
{
    std::error_code error;
    if (std::filesystem::is_directory(platform::filePath(path), error))
        return std::nullopt;
    std::ifstream in(platform::filePath(path), std::ios::binary);
    if (!in)
        return std::nullopt;
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return std::nullopt;
    return readArticleRows(text, maxRows);
}

std::string articleText(const ArticleFields& fields, const std::string& password)
{
    return "P" + fields[0] + fields[1] + "," + fields[2] + "," + fields[3] + "," + password + "," +
           fields[4];
}

std::string articlePriceText(std::string_view articleText)
{
    std::size_t start = 0;
    for (int field = 0; field < 2; ++field) {
        start = articleText.find(',', start);
        if (start == std::string_view::npos)
            return {};
        ++start;
    }
    return std::string(articleText.substr(start, articleText.find(',', start) - start));
}

} // namespace quorvex::fiscal
