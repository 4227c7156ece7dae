// The article file on any bytes: no row is longer than one piece, no field holds its ';', the
// rows kept and the rows left over add up to every row read, and the price of an article's
// programming text is its price field whenever the fields before it hold no comma.
#include "FuzzCheck.h"
#include "fiscal/ArticleFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace quorvex::fiscal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    // Byte 0 chooses how many rows the grid holds (0..31), so the limit is crossed often.
    const std::size_t maxRows = data[0] % 32;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

    const ArticleRows all = readArticleRows(text, static_cast<std::size_t>(-1));
    FUZZ_CHECK(all.rowsLeftOver == 0);
    const ArticleRows kept = readArticleRows(text, maxRows);
    FUZZ_CHECK(kept.rows.size() <= maxRows);
    FUZZ_CHECK(kept.rows.size() + kept.rowsLeftOver == all.rows.size());

    for (std::size_t i = 0; i < kept.rows.size(); ++i) {
        const ArticleFields& fields = kept.rows[i];
        FUZZ_CHECK(fields == all.rows[i]);
        std::size_t length = 0;
        for (const std::string& field : fields) {
            FUZZ_CHECK(field.find(';') == std::string::npos);
            length += field.size() + 1;
        }
        FUZZ_CHECK(length <= kArticlePieceLength + kArticleFields);

        const std::string programming = articleText(fields, "9011");
        FUZZ_CHECK(!programming.empty() && programming[0] == 'P');
        const bool commaBeforePrice =
            (fields[0] + fields[1] + fields[2]).find(',') != std::string::npos;
        if (!commaBeforePrice && fields[3].find(',') == std::string::npos)
            FUZZ_CHECK(articlePriceText(programming) == fields[3]);
    }
    return 0;
}
