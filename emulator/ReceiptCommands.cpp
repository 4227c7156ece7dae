#include "emulator/ReceiptCommands.h"

#include "emulator/DayData.h"
#include "emulator/FixedPoint.h"
#include "link/Operations.h"

#include <algorithm>
#include <string_view>

namespace quorvex::emulator {

namespace cmd = link::command;

namespace {

constexpr std::int64_t kMaxTill = 99'999;
constexpr int kMaxGoodsGroup = 99;
constexpr std::string_view kPaymentLetters = "PNCDIJKL";
constexpr char kCashLetter = 'P';

bool isFlag(char c)
{
    return c == '0' || c == '1';
}

ModelAnswer answered(std::string data)
{
    return ModelAnswer{std::move(data), {}};
}

} // namespace

bool salesReceiptOpen(const DeviceState& state)
{
    return state.openReceipt == OpenReceipt::Fiscal || state.openReceipt == OpenReceipt::Return;
}

std::optional<ModelAnswer> ReceiptCommands::handle(int command, const std::string& data,
                                                   DeviceState& state)
{
    switch (command) {
    case cmd::OpenFiscalReceipt:
        return openReceipt(data, state, OpenReceipt::Fiscal);
    case cmd::OpenReturnReceipt:
        return openReceipt(data, state, OpenReceipt::Return);
    case cmd::RegisterSale:
        return registerSale(data, state);
    case cmd::Subtotal:
        return subtotal(data, state);
    case cmd::GroupDiscount:
        return groupDiscount(data, state);
    case cmd::Total:
        return total(data, state);
    case cmd::CloseFiscalReceipt:
        return closeReceipt(state);
    case cmd::CancelReceipt:
        return cancelReceipt(state);
    case cmd::GetFiscalTransactionStatus:
        return transactionStatus(data, state);
    case cmd::PrintFiscalText:
        return printText(data, state, true);
    case cmd::Articles:
        return articles(data, state);
    case cmd::OpenNonFiscalReceipt:
        return openNonFiscal(state);
    case cmd::PrintNonFiscalText:
        return printText(data, state, false);
    case cmd::CloseNonFiscalReceipt:
        return closeNonFiscal(state);
    case cmd::PrintSeparatorLine:
        return separatorLine(data, state);
    case cmd::PrintBarcode:
        return barcode(data, state);
    case cmd::Beep:
        ++m_beeps;
        return ModelAnswer{};
    case cmd::ClearDisplay:
    case cmd::DisplayUpperRow:
    case cmd::DisplayLowerRow:
    case cmd::DisplayDateTime:
        return showOnDisplay(command, data, state);
    default:
        return std::nullopt;
    }
}

// "operator,password,till[,I]".
ModelAnswer ReceiptCommands::openReceipt(const std::string& data, DeviceState& state,
                                         OpenReceipt kind)
{
    const std::vector<std::string> fields = daydata::splitFields(data);
    if (fields.size() < 3 || fields.size() > 4 || (fields.size() == 4 && fields[3] != "I"))
        return refused(refusal::kSyntaxError);
    const auto operatorNumber = parseDigits(fields[0]);
    const auto till = parseDigits(fields[2]);
    if (!operatorNumber || *operatorNumber < 1 || *operatorNumber > kOperatorCount || !till ||
        *till < 1 || *till > kMaxTill)
        return refused(refusal::kSyntaxError);
    if (state.openReceipt != OpenReceipt::None ||
        fields[1] != state.operatorPasswords[static_cast<std::size_t>(*operatorNumber - 1)])
        return refused(refusal::kNotAllowed);

    state.openReceipt = kind;
    m_receipt = ReceiptInProgress{};
    m_receipt.operatorNumber = static_cast<int>(*operatorNumber);
    const bool isReturn = kind == OpenReceipt::Return;
    m_printing = {isReturn ? "ЧЕК ВОЗВРАТА" : "КАССОВЫЙ ЧЕК",
                  "ОПЕРАТОР " + std::to_string(m_receipt.operatorNumber)};
    const int ofItsKind = (isReturn ? state.day.returnReceipts : state.day.fiscalReceipts) + 1;
    return answered(std::to_string(ofItsKind));
}

// "[-]code[*quantity][,percent|;amount]"; a leading "-" corrects an earlier sale.
ModelAnswer ReceiptCommands::registerSale(const std::string& data, DeviceState& state)
{
    std::string_view text = data;
    const bool correction = !text.empty() && text[0] == '-';
    if (correction)
        text.remove_prefix(1);
    const std::size_t codeEnd = text.find_first_of("*,;");
    const auto code = parseDigits(text.substr(0, codeEnd));
    std::string_view rest = codeEnd == std::string_view::npos ? "" : text.substr(codeEnd);
    std::optional<std::int64_t> quantity = 1000;
    if (!rest.empty() && rest[0] == '*') {
        const std::size_t quantityEnd = rest.find_first_of(",;");
        quantity =
            parseFixed(rest.substr(1, quantityEnd == std::string_view::npos ? std::string_view::npos
                                                                            : quantityEnd - 1),
                       3, false);
        rest = quantityEnd == std::string_view::npos ? "" : rest.substr(quantityEnd);
    }
    StatusBits refusal = refusal::kSyntaxError;
    const auto discount = parseDiscount(rest, refusal);
    if (!code || !quantity || *quantity == 0 || !discount)
        return refused(refusal);
    if (*quantity > kMaxQuantityThousandths)
        return refused(refusal::kOverflow);
    if (*code > kMaxArticleCode)
        return refused(refusal::kSyntaxError);
    const auto article = state.articles.find(static_cast<int>(*code));
    if (!salesReceiptOpen(state) || m_receipt.paidHundredths > 0 || m_receipt.paidInFull ||
        article == state.articles.end())
        return refused(refusal::kNotAllowed);

    if (correction) {
        // The correction repeats the sale it takes back; a discount of its own has no meaning.
        if (discount->kind != Discount::Kind::None)
            return refused(refusal::kSyntaxError);
        return correctSale(article->first, article->second, *quantity);
    }

    const Article& goods = article->second;
    const int tax = taxGroupIndex(goods.taxGroup).value_or(0);
    const std::int64_t base = roundedProductQuotient(goods.priceHundredths, *quantity, 1000);
    if (base > kMaxAmountHundredths)
        return refused(refusal::kOverflow);
    const std::int64_t adjustment = discountOn(base, *discount);
    std::int64_t amount = base + adjustment;
    if (amount < 0)
        return refused(refusal::kNotAllowed); // a discount larger than the sale
    if (amount > kMaxAmountHundredths)
        return refused(refusal::kOverflow);
    if (sumOf(m_receipt.taxSums) + amount > kMaxAmountHundredths)
        return refused(refusal::kOverflow);

    m_receipt.lines.push_back({article->first, tax, goods.goodsGroup, *quantity, amount});
    m_receipt.taxSums[tax] += amount;
    m_printing.push_back(paperLine(goods.name));
    m_printing.push_back(paperLine("  " + fixedText(*quantity, 3) + " x " +
                                   fixedText(goods.priceHundredths, 2) + " = " +
                                   fixedText(base, 2) + " " + taxGroupLetter(tax)));
    if (discount->kind != Discount::Kind::None)
        m_printing.push_back(paperLine("  " + discountLine(*discount, adjustment)));
    return answered("P");
}

ModelAnswer ReceiptCommands::correctSale(int code, const Article& article,
                                         std::int64_t quantityThousandths)
{
    auto& lines = m_receipt.lines;
    const auto sale = std::find_if(lines.rbegin(), lines.rend(), [&](const ReceiptLine& line) {
        return line.code == code && !line.corrected && line.quantityThousandths > 0 &&
               line.quantityThousandths == quantityThousandths;
    });
    // Receipt-wide discounts already spread over the tax group may leave less than the sale.
    if (sale == lines.rend() || m_receipt.taxSums[sale->taxIndex] < sale->amountHundredths)
        return refused(refusal::kNotAllowed);

    sale->corrected = true;
    ReceiptLine taken = *sale;
    taken.quantityThousandths = -taken.quantityThousandths;
    taken.amountHundredths = -taken.amountHundredths;
    taken.corrected = true;
    lines.push_back(taken);
    m_receipt.taxSums[taken.taxIndex] += taken.amountHundredths;
    m_printing.push_back(paperLine("СТОРНО " + article.name));
    m_printing.push_back(paperLine("  " + fixedText(taken.quantityThousandths, 3) + " = " +
                                   fixedText(taken.amountHundredths, 2) + " " +
                                   taxGroupLetter(taken.taxIndex)));
    return answered("P");
}

// Two flags (print, display), then a discount on everything sold so far.
ModelAnswer ReceiptCommands::subtotal(const std::string& data, DeviceState& state)
{
    StatusBits refusal = refusal::kSyntaxError;
    const auto discount =
        data.size() >= 2 ? parseDiscount(std::string_view(data).substr(2), refusal) : std::nullopt;
    if (!discount || !isFlag(data[0]) || !isFlag(data[1]))
        return refused(refusal);
    if (!salesReceiptOpen(state) ||
        (discount->kind != Discount::Kind::None && m_receipt.paidHundredths > 0) ||
        (discount->kind != Discount::Kind::None && m_receipt.paidInFull))
        return refused(refusal::kNotAllowed);

    std::vector<std::string> lines;
    if (data[0] == '1')
        lines.push_back(paperLine("ПОДИТОГ " + fixedText(sumOf(m_receipt.taxSums), 2)));
    if (discount->kind != Discount::Kind::None) {
        std::string line;
        if (const auto refusal = applyDiscount(m_receipt.taxSums, *discount, line))
            return refused(*refusal);
        lines.push_back(paperLine(line));
    }
    m_printing.insert(m_printing.end(), lines.begin(), lines.end());
    if (data[1] == '1')
        setDisplay({"ПОДИТОГ", fixedText(sumOf(m_receipt.taxSums), 2)});
    return answered(subtotalAnswer());
}

// "T<tax letter>,<flags><discount>" or "G<goods group>,<flags><discount>".
ModelAnswer ReceiptCommands::groupDiscount(const std::string& data, DeviceState& state)
{
    const std::size_t comma = data.find(',');
    if (comma == std::string::npos || comma < 2 || data.size() < comma + 3 ||
        !isFlag(data[comma + 1]) || !isFlag(data[comma + 2]))
        return refused(refusal::kSyntaxError);
    StatusBits refusal = refusal::kSyntaxError;
    const auto discount = parseDiscount(std::string_view(data).substr(comma + 3), refusal);
    if (!discount)
        return refused(refusal);
    std::optional<int> taxIndex;
    std::optional<std::int64_t> goodsGroup;
    if (data[0] == 'T' && comma == 2)
        taxIndex = taxGroupIndex(data[1]);
    else if (data[0] == 'G')
        goodsGroup = parseDigits(std::string_view(data).substr(1, comma - 1));
    if (discount->kind == Discount::Kind::None ||
        (!taxIndex && (!goodsGroup || *goodsGroup < 1 || *goodsGroup > kMaxGoodsGroup)))
        return refused(refusal::kSyntaxError);
    if (!salesReceiptOpen(state) || m_receipt.paidHundredths > 0 || m_receipt.paidInFull)
        return refused(refusal::kNotAllowed);

    TaxSums base{};
    std::string label;
    if (taxIndex) {
        base[*taxIndex] = m_receipt.taxSums[*taxIndex];
        label = std::string("ГРУППА ") + taxGroupLetter(*taxIndex) + ": ";
    } else {
        for (const ReceiptLine& line : m_receipt.lines)
            if (line.goodsGroup == *goodsGroup)
                base[line.taxIndex] += line.amountHundredths;
        label = "ТОВ. ГРУППА " + std::to_string(*goodsGroup) + ": ";
    }
    std::string line;
    if (const auto refusal = applyDiscount(base, *discount, line))
        return refused(*refusal);
    m_printing.push_back(paperLine(label + line));
    if (data[comma + 2] == '1')
        setDisplay({"ПОДИТОГ", fixedText(sumOf(m_receipt.taxSums), 2)});
    return answered(subtotalAnswer());
}

std::optional<StatusBits>
ReceiptCommands::applyDiscount(const TaxSums& base, const Discount& discount, std::string& line)
{
    if (sumOf(base) <= 0)
        return refusal::kNotAllowed;
    const TaxSums spread = spreadDiscount(base, discount);
    if (sumOf(base) + sumOf(spread) < 0)
        return refusal::kNotAllowed;
    TaxSums after = m_receipt.taxSums;
    for (int i = 0; i < kTaxGroups; ++i) {
        after[i] += spread[i];
        if (after[i] < 0)
            return refusal::kNotAllowed;
    }
    if (sumOf(after) > kMaxAmountHundredths)
        return refusal::kOverflow;
    m_receipt.taxSums = after;
    line = discountLine(discount, sumOf(spread));
    return std::nullopt;
}

std::string ReceiptCommands::subtotalAnswer() const
{
    std::string text = std::to_string(sumOf(m_receipt.taxSums));
    for (std::int64_t sum : m_receipt.taxSums) {
        text += ',';
        text += std::to_string(sum);
    }
    return text;
}

// "[text]\t[letter][amount]": pays the amount (the rest when none is given) with the letter.
ModelAnswer ReceiptCommands::total(const std::string& data, DeviceState& state)
{
    std::string_view printed;
    std::string_view payment;
    if (!data.empty()) {
        const std::size_t tab = data.find('\t');
        if (tab == std::string::npos)
            return refused(refusal::kSyntaxError);
        printed = std::string_view(data).substr(0, tab);
        payment = std::string_view(data).substr(tab + 1);
    }
    const char letter = payment.empty() ? kCashLetter : payment[0];
    std::optional<std::int64_t> amount;
    if (payment.size() > 1)
        amount = parseFixed(payment.substr(1), 2, false);
    if (kPaymentLetters.find(letter) == std::string_view::npos || (payment.size() > 1 && !amount))
        return refused(refusal::kSyntaxError);
    if (amount && *amount > kMaxAmountHundredths)
        return refused(refusal::kOverflow);
    const std::int64_t sum = sumOf(m_receipt.taxSums);
    if (!salesReceiptOpen(state) || m_receipt.paidInFull || sum <= 0)
        return refused(refusal::kNotAllowed);

    const std::int64_t due = sum - m_receipt.paidHundredths;
    const std::int64_t pay = amount.value_or(due);
    if (letter != kCashLetter && pay > due)
        return refused(refusal::kNotAllowed); // change is given in cash only
    const std::int64_t paid = m_receipt.paidHundredths + pay;
    const std::int64_t change = std::max<std::int64_t>(0, paid - sum);
    const std::int64_t cash = m_receipt.cashHundredths + (letter == kCashLetter ? pay : 0);
    if (state.openReceipt == OpenReceipt::Return && cash - change > state.cashInDrawerHundredths)
        return refused(refusal::kNotAllowed); // not enough cash in the drawer to pay back

    if (!printed.empty())
        m_printing.push_back(paperLine(std::string(printed)));
    if (m_receipt.paidHundredths == 0)
        m_printing.push_back("ИТОГ " + fixedText(sum, 2));
    if (pay > 0)
        m_printing.push_back(paymentName(letter) + " " + fixedText(pay, 2));
    m_receipt.paidHundredths = paid;
    m_receipt.cashHundredths = cash;
    if (paid < sum)
        return answered('D' + std::to_string(sum - paid));
    m_receipt.paidInFull = true;
    if (change > 0)
        m_printing.push_back("СДАЧА " + fixedText(change, 2));
    return answered('R' + std::to_string(change));
}

ModelAnswer ReceiptCommands::closeReceipt(DeviceState& state)
{
    const std::int64_t sum = sumOf(m_receipt.taxSums);
    const bool empty = sum == 0 && m_receipt.paidHundredths == 0;
    if (!salesReceiptOpen(state) || !(m_receipt.paidInFull || empty))
        return refused(refusal::kNotAllowed);
    const bool isReturn = state.openReceipt == OpenReceipt::Return;
    const std::int64_t dayTotal =
        isReturn ? state.day.returnsHundredths : state.day.salesHundredths;
    const std::int64_t cashKept =
        m_receipt.cashHundredths - std::max<std::int64_t>(0, m_receipt.paidHundredths - sum);
    const std::int64_t drawer = state.cashInDrawerHundredths + (isReturn ? -cashKept : cashKept);
    if (dayTotal + sum > kMaxDayTotalHundredths || drawer > kMaxDrawerHundredths)
        return refused(refusal::kOverflow);

    countIntoDay(state, isReturn);
    state.cashInDrawerHundredths = drawer;
    return recordAndFinish(state,
                           isReturn ? DocumentKind::ReturnReceipt : DocumentKind::FiscalReceipt);
}

void ReceiptCommands::countIntoDay(DeviceState& state, bool isReturn) const
{
    DayTotals& day = state.day;
    const std::int64_t sum = sumOf(m_receipt.taxSums);
    auto& byTax = isReturn ? day.returnsByTaxGroup : day.salesByTaxGroup;
    for (int i = 0; i < kTaxGroups; ++i)
        byTax[i] += m_receipt.taxSums[i];
    if (isReturn) {
        ++day.returnReceipts;
        day.returnsHundredths += sum;
        return;
    }
    ++day.fiscalReceipts;
    day.salesHundredths += sum;
    for (const ReceiptLine& line : m_receipt.lines) {
        GoodsSold& goods = day.goods[line.code];
        goods.quantityThousandths += line.quantityThousandths;
        goods.amountHundredths += line.amountHundredths;
    }
}

ModelAnswer ReceiptCommands::cancelReceipt(DeviceState& state)
{
    if (!salesReceiptOpen(state))
        return refused(refusal::kNotAllowed);
    m_printing.push_back("ЧЕК АННУЛИРОВАН");
    state.openReceipt = OpenReceipt::None;
    finishPrinting();
    return ModelAnswer{};
}

// "open,lines,sum,paid" of the fiscal or return receipt; zeros when none is open.
ModelAnswer ReceiptCommands::transactionStatus(const std::string& data,
                                               const DeviceState& state) const
{
    if (!data.empty() && data != "T")
        return refused(refusal::kSyntaxError);
    if (!salesReceiptOpen(state))
        return answered("0,0,0,0");
    return answered("1," + std::to_string(m_receipt.lines.size()) + "," +
                    std::to_string(sumOf(m_receipt.taxSums)) + "," +
                    std::to_string(m_receipt.paidHundredths));
}

} // namespace quorvex::emulator
