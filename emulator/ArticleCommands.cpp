// Command 107 of the emulated registrar: read, program and delete articles.
#include "emulator/DayData.h"
#include "emulator/FixedPoint.h"
#include "emulator/ReceiptCommands.h"

#include <algorithm>

namespace quorvex::emulator {

namespace {

constexpr std::int64_t kMaxGoodsGroup = 99;
constexpr char kFound = 'P';
constexpr char kNotFound = 'F';

bool knownPassword(const DeviceState& state, const std::string& password)
{
    return std::find(state.operatorPasswords.begin(), state.operatorPasswords.end(), password) !=
           state.operatorPasswords.end();
}

std::optional<int> articleCode(std::string_view text)
{
    const auto code = parseDigits(text);
    if (!code || *code < 1 || *code > kMaxArticleCode)
        return std::nullopt;
    return static_cast<int>(*code);
}

ModelAnswer answered(std::string data)
{
    return ModelAnswer{std::move(data), {}};
}

// "P,tax,code,group,price,sold quantity,turnover,name".
std::string describe(const DeviceState& state, int code, const Article& article)
{
    GoodsSold sold;
    if (const auto it = state.day.goods.find(code); it != state.day.goods.end())
        sold = it->second;
    return std::string(1, kFound) + "," + article.taxGroup + "," + std::to_string(code) + "," +
           std::to_string(article.goodsGroup) + "," + std::to_string(article.priceHundredths) +
           "," + std::to_string(sold.quantityThousandths) + "," +
           std::to_string(sold.amountHundredths) + "," + article.name;
}

} // namespace

// "R<code>", "P<tax><code>,<group>,<price>,<password>,<name>", "D<code>,<password>",
// "DA,<password>".
ModelAnswer ReceiptCommands::articles(const std::string& data, DeviceState& state) const
{
    // An article sold today or in the open receipt keeps its data until the Z report.
    const auto inUse = [&](int code) {
        const bool inReceipt =
            salesReceiptOpen(state) &&
            std::any_of(m_receipt.lines.begin(), m_receipt.lines.end(),
                        [code](const ReceiptLine& line) { return line.code == code; });
        return inReceipt || state.day.goods.count(code) > 0;
    };
    const std::string_view text = data;
    if (text.empty())
        return refused(refusal::kSyntaxError);

    if (text[0] == 'R') {
        const auto code = articleCode(text.substr(1));
        if (!code)
            return refused(refusal::kSyntaxError);
        const auto it = state.articles.find(*code);
        return answered(it == state.articles.end() ? std::string(1, kNotFound)
                                                   : describe(state, *code, it->second));
    }

    if (text[0] == 'P') {
        const std::vector<std::string> fields =
            daydata::splitFields(text.size() > 2 ? text.substr(2) : "");
        if (text.size() < 3 || fields.size() < 5)
            return refused(refusal::kSyntaxError);
        std::string name = fields[4];
        for (std::size_t i = 5; i < fields.size(); ++i)
            name += "," + fields[i]; // the name is the rest, commas included
        const auto tax = taxGroupIndex(text[1]);
        const auto code = articleCode(fields[0]);
        const auto group = parseDigits(fields[1]);
        const auto price = parseFixed(fields[2], 2, false);
        if (!tax || !code || !group || *group < 1 || *group > kMaxGoodsGroup || !price ||
            *price <= 0 || name.empty() || name.size() > static_cast<std::size_t>(kPrintWidth))
            return refused(refusal::kSyntaxError);
        if (*price > kMaxAmountHundredths)
            return refused(refusal::kOverflow);
        if (!knownPassword(state, fields[3]) || inUse(*code))
            return refused(refusal::kNotAllowed);
        state.articles[*code] = Article{text[1], static_cast<int>(*group), *price, name};
        return answered(std::string(1, kFound));
    }

    if (text[0] == 'D') {
        const std::size_t comma = text.find(',');
        if (comma == std::string_view::npos)
            return refused(refusal::kSyntaxError);
        const std::string_view which = text.substr(1, comma - 1);
        const auto code = articleCode(which);
        if (which != "A" && !code)
            return refused(refusal::kSyntaxError);
        if (!knownPassword(state, std::string(text.substr(comma + 1))))
            return refused(refusal::kNotAllowed);
        if (!code) {
            for (const auto& entry : state.articles)
                if (inUse(entry.first))
                    return refused(refusal::kNotAllowed);
            state.articles.clear();
            return answered(std::string(1, kFound));
        }
        if (state.articles.count(*code) == 0)
            return answered(std::string(1, kNotFound));
        if (inUse(*code))
            return refused(refusal::kNotAllowed);
        state.articles.erase(*code);
        return answered(std::string(1, kFound));
    }
    return refused(refusal::kSyntaxError);
}

} // namespace quorvex::emulator
