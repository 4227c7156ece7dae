#include "emulator/DayCommands.h"

#include "emulator/DayData.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>

namespace quorvex::emulator {

namespace {

using daydata::formatAmount;
using daydata::splitFields;

constexpr int kSetClock = 0x3D;
constexpr int kReadClock = 0x3E;
constexpr int kDailyReport = 0x45;
constexpr int kServiceCash = 0x46;
constexpr int kFullPeriodicByNumber = 0x49;
constexpr int kShortPeriodicByDate = 0x4F;
constexpr int kFullPeriodicByDate = 0x5E;
constexpr int kShortPeriodicByNumber = 0x5F;
constexpr int kGoodsReport = 0x6F;
constexpr int kCopiesByNumber = 0xEB;
constexpr int kCopiesByDate = 0xEE;

constexpr const char* kZReportType = "0";
constexpr const char* kXReportType = "2";

std::string joinFields(std::initializer_list<std::string> fields)
{
    std::string text;
    for (const std::string& field : fields) {
        if (!text.empty())
            text += ',';
        text += field;
    }
    return text;
}

std::string number(std::int64_t value)
{
    return std::to_string(value);
}

std::string fourDigits(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d", value);
    return text;
}

std::string quantity(std::int64_t thousandths)
{
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%03lld", static_cast<long long>(thousandths / 1000),
                  static_cast<long long>(thousandths % 1000));
    return text;
}

bool knownPassword(const DeviceState& state, const std::string& password)
{
    return std::find(state.operatorPasswords.begin(), state.operatorPasswords.end(), password) !=
           state.operatorPasswords.end();
}

bool receiptOpen(const DeviceState& state)
{
    return state.openReceipt != OpenReceipt::None;
}

// The refusal of a well-formed report: a password no operator has, or a receipt still open.
std::optional<ModelAnswer> reportRefusal(const DeviceState& state, const std::string& password)
{
    if (!knownPassword(state, password) || receiptOpen(state))
        return refused(refusal::kNotAllowed);
    return std::nullopt;
}

// Sales, returns, cash in, cash out (hundredths), fiscal receipts, return receipts.
std::string totalsFields(const DayTotals& totals)
{
    return joinFields({number(totals.salesHundredths), number(totals.returnsHundredths),
                       number(totals.cashInHundredths), number(totals.cashOutHundredths),
                       number(totals.fiscalReceipts), number(totals.returnReceipts)});
}

void printTotals(const DayTotals& totals, std::vector<std::string>& lines)
{
    lines.push_back("ПРОДАЖИ " + formatAmount(totals.salesHundredths));
    lines.push_back("ВОЗВРАТЫ " + formatAmount(totals.returnsHundredths));
    lines.push_back("ВНЕСЕНО " + formatAmount(totals.cashInHundredths));
    lines.push_back("ВЫНЕСЕНО " + formatAmount(totals.cashOutHundredths));
    lines.push_back("ЧЕКОВ " + number(totals.fiscalReceipts) + " ВОЗВРАТОВ " +
                    number(totals.returnReceipts));
}

std::string drawerAnswer(const DeviceState& state)
{
    return joinFields({number(state.cashInDrawerHundredths), number(state.day.cashInHundredths),
                       number(state.day.cashOutHundredths)});
}

// An amount of well-formed digits that is only too long to hold is an overflow, as in every
// other command; anything else that does not parse is a syntax error.
StatusBits amountRefusal(const std::string& text)
{
    std::string digits = text;
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+'))
        digits.erase(0, 1);
    digits = digits.substr(0, digits.find('.'));
    const bool wellFormed =
        !digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos;
    return wellFormed && !daydata::parseNumber(digits) ? refusal::kOverflow : refusal::kSyntaxError;
}

ModelAnswer serviceCash(const std::string& data, DeviceState& state)
{
    // The empty query only reads the drawer and is never refused.
    if (data.empty())
        return {drawerAnswer(state), {}};
    const auto parsed = daydata::parseAmount(data);
    if (!parsed)
        return refused(amountRefusal(data));
    const std::int64_t amount = *parsed;
    if (receiptOpen(state))
        return refused(refusal::kNotAllowed);
    const std::int64_t drawer = state.cashInDrawerHundredths + amount;
    if (drawer < 0)
        return refused(refusal::kNotAllowed);
    if (drawer > kMaxDrawerHundredths)
        return refused(refusal::kOverflow);

    if (amount != 0) {
        state.cashInDrawerHundredths = drawer;
        if (amount > 0)
            state.day.cashInHundredths += amount;
        else
            state.day.cashOutHundredths -= amount;
        state.recordDocument(DocumentKind::CashInOut,
                             {(amount > 0 ? "СЛУЖЕБНЫЙ ВНОС " : "СЛУЖЕБНЫЙ ВЫНОС ") +
                                  formatAmount(amount > 0 ? amount : -amount),
                              "В КАССЕ " + formatAmount(drawer)});
    }
    return {drawerAnswer(state), {}};
}

ModelAnswer dailyReport(const std::string& data, DeviceState& state)
{
    const auto fields = splitFields(data);
    if (fields.size() != 2 || (fields[1] != kZReportType && fields[1] != kXReportType))
        return refused(refusal::kSyntaxError);
    if (auto refusal = reportRefusal(state, fields[0]))
        return *refusal;

    const bool zReport = fields[1] == kZReportType;
    const int reportNumber = state.lastZReportNumber() + 1;
    std::vector<std::string> lines{(zReport ? "Z-ОТЧЕТ " : "X-ОТЧЕТ ") + fourDigits(reportNumber)};
    printTotals(state.day, lines);
    const std::string answer = joinFields({number(reportNumber), totalsFields(state.day)});
    if (zReport) {
        state.zReports.push_back(ZRecord{reportNumber, state.now(), state.day});
        state.day = DayTotals{};
    }
    state.recordDocument(zReport ? DocumentKind::ZReport : DocumentKind::XReport, std::move(lines));
    return {answer, {}};
}

ModelAnswer goodsReport(const std::string& data, DeviceState& state)
{
    const auto fields = splitFields(data);
    if (fields.size() != 2 || fields[1].size() != 1 ||
        std::string("GPS").find(fields[1][0]) == std::string::npos)
        return refused(refusal::kSyntaxError);
    if (auto refusal = reportRefusal(state, fields[0]))
        return *refusal;

    std::vector<std::string> lines{"ОТЧЕТ ТОВАРОВ"};
    std::int64_t quantityTotal = 0;
    std::int64_t amountTotal = 0;
    for (const auto& [code, sold] : state.day.goods) {
        lines.push_back("АРТ. " + number(code) + " " + quantity(sold.quantityThousandths) + " " +
                        formatAmount(sold.amountHundredths));
        quantityTotal += sold.quantityThousandths;
        amountTotal += sold.amountHundredths;
    }
    lines.push_back("ИТОГО " + formatAmount(amountTotal));
    state.recordDocument(DocumentKind::GoodsReport, std::move(lines));
    return {joinFields({number(static_cast<std::int64_t>(state.day.goods.size())),
                        number(quantityTotal), number(amountTotal)}),
            {}};
}

// The periodic report over the stored Z records that pass the filter.
template <typename InRange>
ModelAnswer periodicReport(DeviceState& state, const std::string& password, bool full,
                           InRange inRange)
{
    if (auto refusal = reportRefusal(state, password))
        return *refusal;
    std::vector<const ZRecord*> found;
    for (const ZRecord& record : state.zReports)
        if (inRange(record))
            found.push_back(&record);
    if (found.empty())
        return refused(refusal::kNotAllowed);

    DayTotals sum;
    std::vector<std::string> lines{full ? "ПОЛНЫЙ ПЕРИОДИЧЕСКИЙ ОТЧЕТ"
                                        : "СОКРАЩЕННЫЙ ПЕРИОДИЧЕСКИЙ ОТЧЕТ"};
    for (const ZRecord* record : found) {
        if (full) {
            lines.push_back("Z-ОТЧЕТ " + fourDigits(record->number));
            printTotals(record->totals, lines);
        }
        sum.salesHundredths += record->totals.salesHundredths;
        sum.returnsHundredths += record->totals.returnsHundredths;
    }
    lines.push_back("ПРОДАЖИ " + formatAmount(sum.salesHundredths));
    lines.push_back("ВОЗВРАТЫ " + formatAmount(sum.returnsHundredths));
    state.recordDocument(DocumentKind::PeriodicReport, std::move(lines));
    return {joinFields({number(found.front()->number), number(found.back()->number),
                        number(static_cast<std::int64_t>(found.size())),
                        number(sum.salesHundredths), number(sum.returnsHundredths)}),
            {}};
}

ModelAnswer periodicByNumber(const std::string& data, DeviceState& state, bool full)
{
    const auto fields = splitFields(data);
    if (fields.size() != 3)
        return refused(refusal::kSyntaxError);
    const auto first = daydata::parseNumber(fields[1]);
    const auto last = daydata::parseNumber(fields[2]);
    if (!first || !last || *first > *last)
        return refused(refusal::kSyntaxError);
    return periodicReport(state, fields[0], full, [&](const ZRecord& record) {
        return record.number >= *first && record.number <= *last;
    });
}

ModelAnswer periodicByDate(const std::string& data, DeviceState& state, bool full)
{
    const auto fields = splitFields(data);
    if (fields.size() != 3)
        return refused(refusal::kSyntaxError);
    const auto first = daydata::parseDate(fields[1]);
    auto last = daydata::parseDate(fields[2]);
    if (!first || !last || *first > *last)
        return refused(refusal::kSyntaxError);
    last->hour = 23;
    last->minute = last->second = 59;
    return periodicReport(state, fields[0], full, [&](const ZRecord& record) {
        return record.at >= *first && record.at <= *last;
    });
}

// Copies of the journal's documents that pass the filter; printing them is a document too.
template <typename InRange> ModelAnswer copies(DeviceState& state, bool print, InRange inRange)
{
    if (receiptOpen(state))
        return refused(refusal::kNotAllowed);
    // Copy documents are not copied again: a copy prints the originals in range once, so
    // repeated copies grow the journal by what they print, never by doubling it.
    std::vector<const JournalDocument*> found;
    for (const JournalDocument& document : state.journal)
        if (document.kind != DocumentKind::ReceiptCopy && inRange(document))
            found.push_back(&document);
    if (found.empty())
        return refused(refusal::kNotAllowed);

    const std::string answer =
        joinFields({number(found.front()->number), number(found.back()->number),
                    number(static_cast<std::int64_t>(found.size()))});
    if (print) {
        std::vector<std::string> lines;
        for (const JournalDocument* document : found) {
            lines.push_back("КОПИЯ ДОКУМЕНТА " + number(document->number));
            lines.insert(lines.end(), document->printed.begin(), document->printed.end());
        }
        state.recordDocument(DocumentKind::ReceiptCopy, std::move(lines));
    }
    return {answer, {}};
}

ModelAnswer copiesByNumber(const std::string& data, DeviceState& state)
{
    const auto fields = splitFields(data);
    if (fields.size() != 2)
        return refused(refusal::kSyntaxError);
    const auto first = daydata::parseNumber(fields[0]);
    const auto last = daydata::parseNumber(fields[1]);
    if (!first || !last || *first > *last)
        return refused(refusal::kSyntaxError);
    return copies(state, true, [&](const JournalDocument& document) {
        return document.number >= *first && document.number <= *last;
    });
}

ModelAnswer copiesByDate(const std::string& data, DeviceState& state)
{
    const auto fields = splitFields(data);
    if (fields.size() != 5 || (fields[4] != "0" && fields[4] != "1"))
        return refused(refusal::kSyntaxError);
    const auto firstDate = daydata::parseDate(fields[0]);
    const auto lastDate = daydata::parseDate(fields[2]);
    const auto first = firstDate ? daydata::parseTime(fields[1], *firstDate) : std::nullopt;
    auto last = lastDate ? daydata::parseTime(fields[3], *lastDate) : std::nullopt;
    if (!first || !last || *first > *last)
        return refused(refusal::kSyntaxError);
    last->second = 59; // the last minute counts whole
    return copies(state, fields[4] == "1", [&](const JournalDocument& document) {
        return document.at >= *first && document.at <= *last;
    });
}

ModelAnswer setClock(const std::string& data, DeviceState& state)
{
    const auto at = daydata::parseClock(data);
    if (!at)
        return refused(refusal::kSyntaxError);
    if (receiptOpen(state))
        return refused(refusal::kNotAllowed);
    // The fiscal memory's records run forward in time: no clock before the last Z report.
    if (!state.zReports.empty() && *at < state.zReports.back().at)
        return refused(refusal::kDateTime);
    state.setClock(*at);
    return {};
}

} // namespace

std::optional<ModelAnswer> DayCommands::handle(int command, const std::string& data,
                                               DeviceState& state)
{
    switch (command) {
    case kSetClock:
        return setClock(data, state);
    case kReadClock:
        return ModelAnswer{daydata::formatClock(state.now()), {}};
    case kDailyReport:
        return dailyReport(data, state);
    case kServiceCash:
        return serviceCash(data, state);
    case kFullPeriodicByNumber:
    case kShortPeriodicByNumber:
        return periodicByNumber(data, state, command == kFullPeriodicByNumber);
    case kFullPeriodicByDate:
    case kShortPeriodicByDate:
        return periodicByDate(data, state, command == kFullPeriodicByDate);
    case kGoodsReport:
        return goodsReport(data, state);
    case kCopiesByNumber:
        return copiesByNumber(data, state);
    case kCopiesByDate:
        return copiesByDate(data, state);
    default:
        return std::nullopt;
    }
}

} // namespace quorvex::emulator
