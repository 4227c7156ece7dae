#include "link/Operations.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <utility>

namespace quorvex::link {

namespace {

using Data = std::optional<std::string>;

// Fixed point with exactly `decimals` decimals and '.' as the point, like "%-#.2lf" under the
// C locale. std::to_chars ignores the process locale, so a ',' locale cannot leak in. No value
// for infinities and NaN: the registrar cannot take them as numbers.
std::optional<std::string> fixedPoint(double value, int decimals)
{
    if (!std::isfinite(value))
        return std::nullopt;
    char buffer[400]; // the largest double has 309 integer digits
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return std::nullopt;
    return std::string(buffer, result.ptr);
}

// Decimal with leading zeros to `width` digits ("%05lu", "%04d"); a minus sign counts in the
// width, as in C.
std::string zeroPadded(long long value, int width)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0*lld", width, value);
    return buffer;
}

// "%6s": right-aligned with blanks on the left, never cut.
std::string rightAligned(const std::string& text, std::size_t width)
{
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

char flagDigit(int flag)
{
    return flag != 0 ? '1' : '0';
}

bool isPresent(double value)
{
    return value != 0.0;
}

// Appends ",percentage" or ";amount" with two decimals, nothing when neither is present.
// False when both are present or the present one is not a finite number.
bool appendDiscountPair(std::string& data, double percentage, double amount)
{
    if (isPresent(percentage) && isPresent(amount))
        return false;
    const bool hasPercentage = isPresent(percentage);
    if (!hasPercentage && !isPresent(amount))
        return true;
    const auto value = fixedPoint(hasPercentage ? percentage : amount, 2);
    if (!value)
        return false;
    data += hasPercentage ? ',' : ';';
    data += *value;
    return true;
}

Data openReceiptData(std::uint32_t operatorNumber, const std::string& password,
                     std::uint32_t thirdNumber)
{
    return zeroPadded(operatorNumber, 5) + ',' + password + ',' + zeroPadded(thirdNumber, 5) + ",I";
}

Data registerSaleData(std::uint8_t saleFlag, int articleCode, double quantity, double percentage,
                      double amount)
{
    if (isPresent(percentage) && isPresent(amount))
        return std::nullopt;
    if (quantity < 0 || std::isnan(quantity))
        return std::nullopt;
    std::string data = saleFlag == 0 ? "-" : "";
    data += std::to_string(articleCode);
    if (quantity > 0) {
        const auto formatted = fixedPoint(quantity, 3);
        if (!formatted)
            return std::nullopt;
        data += '*';
        data += *formatted;
    }
    if (!appendDiscountPair(data, percentage, amount))
        return std::nullopt;
    return data;
}

Data flagsWithDiscount(std::string prefix, int flag1, int flag2, double percentage, double amount)
{
    prefix += flagDigit(flag1);
    prefix += flagDigit(flag2);
    if (!appendDiscountPair(prefix, percentage, amount))
        return std::nullopt;
    return prefix;
}

// A letter 0 would put a NUL byte into the frame.
Data taxGroupDiscountData(char taxGroup, int flag1, int flag2, double percentage, double amount)
{
    if (taxGroup == '\0')
        return std::nullopt;
    return flagsWithDiscount(std::string("T") + taxGroup + ',', flag1, flag2, percentage, amount);
}

Data goodsGroupDiscountData(int goodsGroup, int flag1, int flag2, double percentage, double amount)
{
    if (goodsGroup < 1 || goodsGroup > 99)
        return std::nullopt;
    return flagsWithDiscount(std::string("G").append(std::to_string(goodsGroup)).append(","), flag1,
                             flag2, percentage, amount);
}

Data totalData(const std::string& text, char paymentType, double amount)
{
    const auto formatted = fixedPoint(amount, 2);
    if (!formatted)
        return std::nullopt;
    return text + '\t' + (paymentType != 0 ? paymentType : 'P') + *formatted;
}

Data readArticleData(int articleCode)
{
    if (articleCode < 0)
        return std::nullopt;
    return std::string("R").append(std::to_string(articleCode));
}

Data deleteArticlesData(int articleCode, const std::string& password)
{
    if (articleCode < 0)
        return std::nullopt;
    if (articleCode == 0)
        return "DA," + password;
    return std::string("D").append(std::to_string(articleCode)).append(",").append(password);
}

Data goodsReportData(const std::string& password, char reportLetter)
{
    if (reportLetter != 'G' && reportLetter != 'P' && reportLetter != 'S')
        return std::nullopt;
    return password + ',' + reportLetter;
}

Data serviceCashData(double amount)
{
    if (!isPresent(amount))
        return std::string();
    return fixedPoint(amount, 2);
}

Data periodicByNumberData(const std::string& password, int first, int last)
{
    return password + ',' + zeroPadded(first, 4) + ',' + zeroPadded(last, 4);
}

// Refused arguments are recorded on the link, so its lastRefusal() describes this call. The
// link itself refuses data over the 189 bytes a request carries rather than cutting it, so the
// registrar never receives a command different from the one asked for.
int send(Link& link, NotifyWindow* window, ResultCallback callback, int tag, int command,
         const Data& data)
{
    if (!data)
        return link.refuseArguments();
    return link.SendCommand(window, std::move(callback), tag, command, *data);
}

} // namespace

int OpenFiscalReceipt(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                      std::uint32_t operatorNumber, const std::string& password,
                      std::uint32_t thirdNumber)
{
    return send(link, window, std::move(callback), tag, command::OpenFiscalReceipt,
                openReceiptData(operatorNumber, password, thirdNumber));
}

int OpenReturnReceipt(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                      std::uint32_t operatorNumber, const std::string& password,
                      std::uint32_t thirdNumber)
{
    return send(link, window, std::move(callback), tag, command::OpenReturnReceipt,
                openReceiptData(operatorNumber, password, thirdNumber));
}

int RegisterSale(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                 std::uint8_t saleFlag, int articleCode, double quantity, double percentage,
                 double amount)
{
    return send(link, window, std::move(callback), tag, command::RegisterSale,
                registerSaleData(saleFlag, articleCode, quantity, percentage, amount));
}

int Subtotal(Link& link, NotifyWindow* window, ResultCallback callback, int tag, int flag1,
             int flag2, double percentage, double amount)
{
    return send(link, window, std::move(callback), tag, command::Subtotal,
                flagsWithDiscount("", flag1, flag2, percentage, amount));
}

int TaxGroupDiscount(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                     char taxGroup, int flag1, int flag2, double percentage, double amount)
{
    return send(link, window, std::move(callback), tag, command::GroupDiscount,
                taxGroupDiscountData(taxGroup, flag1, flag2, percentage, amount));
}

int GoodsGroupDiscount(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                       int goodsGroup, int flag1, int flag2, double percentage, double amount)
{
    return send(link, window, std::move(callback), tag, command::GroupDiscount,
                goodsGroupDiscountData(goodsGroup, flag1, flag2, percentage, amount));
}

int Total(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
          const std::string& text, char paymentType, double amount)
{
    return send(link, window, std::move(callback), tag, command::Total,
                totalData(text, paymentType, amount));
}

int PrintFiscalText(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                    const std::string& text)
{
    return send(link, window, std::move(callback), tag, command::PrintFiscalText, text);
}

int CloseFiscalReceipt(Link& link, NotifyWindow* window, ResultCallback callback, int tag)
{
    return send(link, window, std::move(callback), tag, command::CloseFiscalReceipt, "");
}

int CancelReceipt(Link& link, NotifyWindow* window, ResultCallback callback, int tag)
{
    return send(link, window, std::move(callback), tag, command::CancelReceipt, "");
}

int GetFiscalTransactionStatus(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                               int flag)
{
    return send(link, window, std::move(callback), tag, command::GetFiscalTransactionStatus,
                flag != 0 ? "T" : "");
}

int ReadArticle(Link& link, NotifyWindow* window, ResultCallback callback, int tag, int articleCode)
{
    return send(link, window, std::move(callback), tag, command::Articles,
                readArticleData(articleCode));
}

int DeleteArticles(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                   int articleCode, const std::string& password)
{
    return send(link, window, std::move(callback), tag, command::Articles,
                deleteArticlesData(articleCode, password));
}

int PrintBarcode(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                 int barcodeType, const std::string& barcode)
{
    return send(link, window, std::move(callback), tag, command::PrintBarcode,
                std::to_string(barcodeType) + barcode);
}

int Beep(Link& link, NotifyWindow* window, ResultCallback callback, int tag)
{
    return send(link, window, std::move(callback), tag, command::Beep, "");
}

int ClearDisplay(Link& link, NotifyWindow* window, ResultCallback callback, int tag)
{
    return send(link, window, std::move(callback), tag, command::ClearDisplay, "");
}

int DisplayUpperRow(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                    const std::string& text)
{
    return send(link, window, std::move(callback), tag, command::DisplayUpperRow, text);
}

int DisplayLowerRow(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                    const std::string& text)
{
    return send(link, window, std::move(callback), tag, command::DisplayLowerRow, text);
}

int DisplayDateTime(Link& link, NotifyWindow* window, ResultCallback callback, int tag)
{
    return send(link, window, std::move(callback), tag, command::DisplayDateTime, "");
}

int OpenNonFiscalReceipt(Link& link, NotifyWindow* window, ResultCallback callback, int tag)
{
    return send(link, window, std::move(callback), tag, command::OpenNonFiscalReceipt, "");
}

int PrintNonFiscalText(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                       const std::string& text)
{
    return send(link, window, std::move(callback), tag, command::PrintNonFiscalText, text);
}

int PrintSeparatorLine(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                       int separatorType)
{
    return send(link, window, std::move(callback), tag, command::PrintSeparatorLine,
                std::to_string(separatorType));
}

int CloseNonFiscalReceipt(Link& link, NotifyWindow* window, ResultCallback callback, int tag)
{
    return send(link, window, std::move(callback), tag, command::CloseNonFiscalReceipt, "");
}

int DailyReport(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                const std::string& password, std::int8_t reportType)
{
    return send(link, window, std::move(callback), tag, command::DailyReport,
                password + ',' + std::to_string(reportType));
}

int GoodsReport(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                const std::string& password, char reportLetter)
{
    return send(link, window, std::move(callback), tag, command::GoodsReport,
                goodsReportData(password, reportLetter));
}

int ServiceCashInOut(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                     double amount)
{
    return send(link, window, std::move(callback), tag, command::ServiceCashInOut,
                serviceCashData(amount));
}

int FullPeriodicReportByNumber(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                               const std::string& password, int first, int last)
{
    return send(link, window, std::move(callback), tag, command::FullPeriodicReportByNumber,
                periodicByNumberData(password, first, last));
}

int ShortPeriodicReportByNumber(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                                const std::string& password, int first, int last)
{
    return send(link, window, std::move(callback), tag, command::ShortPeriodicReportByNumber,
                periodicByNumberData(password, first, last));
}

int FullPeriodicReportByDate(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                             const std::string& password, const std::string& firstDate,
                             const std::string& lastDate)
{
    return send(link, window, std::move(callback), tag, command::FullPeriodicReportByDate,
                password + ',' + rightAligned(firstDate, 6) + ',' + rightAligned(lastDate, 6));
}

int ShortPeriodicReportByDate(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                              const std::string& password, const std::string& firstDate,
                              const std::string& lastDate)
{
    return send(link, window, std::move(callback), tag, command::ShortPeriodicReportByDate,
                password + ',' + firstDate + ',' + lastDate);
}

int GetStatus(Link& link, NotifyWindow* window, ResultCallback callback, int tag, int flag)
{
    return send(link, window, std::move(callback), tag, command::GetStatus, flag != 0 ? "X" : "W");
}

int GetDiagnosticInfo(Link& link, NotifyWindow* window, ResultCallback callback, int tag, int flag)
{
    return send(link, window, std::move(callback), tag, command::GetDiagnosticInfo,
                flag != 0 ? "1" : "0");
}

int PrintReceiptCopiesByNumber(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                               int first, int last)
{
    return send(link, window, std::move(callback), tag, command::PrintReceiptCopiesByNumber,
                std::to_string(first) + ',' + std::to_string(last));
}

int PrintReceiptCopiesByDate(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                             const std::string& firstDate, const std::string& firstTime,
                             const std::string& lastDate, const std::string& lastTime,
                             int printFlag)
{
    return send(link, window, std::move(callback), tag, command::PrintReceiptCopiesByDate,
                firstDate + ',' + firstTime + ',' + lastDate + ',' + lastTime + ',' +
                    std::to_string(printFlag));
}

} // namespace quorvex::link
