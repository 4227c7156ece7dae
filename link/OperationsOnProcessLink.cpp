// The typed operations on the process's link.
#include "link/Operations.h"

#include <utility>

namespace quorvex::link {

int OpenFiscalReceipt(NotifyWindow* window, ResultCallback callback, int tag,
                      std::uint32_t operatorNumber, const std::string& password,
                      std::uint32_t thirdNumber)
{
    return OpenFiscalReceipt(processLink(), window, std::move(callback), tag, operatorNumber,
                             password, thirdNumber);
}

int OpenReturnReceipt(NotifyWindow* window, ResultCallback callback, int tag,
                      std::uint32_t operatorNumber, const std::string& password,
                      std::uint32_t thirdNumber)
{
    return OpenReturnReceipt(processLink(), window, std::move(callback), tag, operatorNumber,
                             password, thirdNumber);
}

int RegisterSale(NotifyWindow* window, ResultCallback callback, int tag, std::uint8_t saleFlag,
                 int articleCode, double quantity, double percentage, double amount)
{
    return RegisterSale(processLink(), window, std::move(callback), tag, saleFlag, articleCode,
                        quantity, percentage, amount);
}

int Subtotal(NotifyWindow* window, ResultCallback callback, int tag, int flag1, int flag2,
             double percentage, double amount)
{
    return Subtotal(processLink(), window, std::move(callback), tag, flag1, flag2, percentage,
                    amount);
}

int TaxGroupDiscount(NotifyWindow* window, ResultCallback callback, int tag, char taxGroup,
                     int flag1, int flag2, double percentage, double amount)
{
    return TaxGroupDiscount(processLink(), window, std::move(callback), tag, taxGroup, flag1, flag2,
                            percentage, amount);
}

int GoodsGroupDiscount(NotifyWindow* window, ResultCallback callback, int tag, int goodsGroup,
                       int flag1, int flag2, double percentage, double amount)
{
    return GoodsGroupDiscount(processLink(), window, std::move(callback), tag, goodsGroup, flag1,
                              flag2, percentage, amount);
}

int Total(NotifyWindow* window, ResultCallback callback, int tag, const std::string& text,
          char paymentType, double amount)
{
    return Total(processLink(), window, std::move(callback), tag, text, paymentType, amount);
}

int PrintFiscalText(NotifyWindow* window, ResultCallback callback, int tag, const std::string& text)
{
    return PrintFiscalText(processLink(), window, std::move(callback), tag, text);
}

int CloseFiscalReceipt(NotifyWindow* window, ResultCallback callback, int tag)
{
    return CloseFiscalReceipt(processLink(), window, std::move(callback), tag);
}

int CancelReceipt(NotifyWindow* window, ResultCallback callback, int tag)
{
    return CancelReceipt(processLink(), window, std::move(callback), tag);
}

int GetFiscalTransactionStatus(NotifyWindow* window, ResultCallback callback, int tag, int flag)
{
    return GetFiscalTransactionStatus(processLink(), window, std::move(callback), tag, flag);
}

int ReadArticle(NotifyWindow* window, ResultCallback callback, int tag, int articleCode)
{
    return ReadArticle(processLink(), window, std::move(callback), tag, articleCode);
}

int DeleteArticles(NotifyWindow* window, ResultCallback callback, int tag, int articleCode,
                   const std::string& password)
{
    return DeleteArticles(processLink(), window, std::move(callback), tag, articleCode, password);
}

int PrintBarcode(NotifyWindow* window, ResultCallback callback, int tag, int barcodeType,
                 const std::string& barcode)
{
    return PrintBarcode(processLink(), window, std::move(callback), tag, barcodeType, barcode);
}

int Beep(NotifyWindow* window, ResultCallback callback, int tag)
{
    return Beep(processLink(), window, std::move(callback), tag);
}

int ClearDisplay(NotifyWindow* window, ResultCallback callback, int tag)
{
    return ClearDisplay(processLink(), window, std::move(callback), tag);
}

int DisplayUpperRow(NotifyWindow* window, ResultCallback callback, int tag, const std::string& text)
{
    return DisplayUpperRow(processLink(), window, std::move(callback), tag, text);
}

int DisplayLowerRow(NotifyWindow* window, ResultCallback callback, int tag, const std::string& text)
{
    return DisplayLowerRow(processLink(), window, std::move(callback), tag, text);
}

int DisplayDateTime(NotifyWindow* window, ResultCallback callback, int tag)
{
    return DisplayDateTime(processLink(), window, std::move(callback), tag);
}

int OpenNonFiscalReceipt(NotifyWindow* window, ResultCallback callback, int tag)
{
    return OpenNonFiscalReceipt(processLink(), window, std::move(callback), tag);
}

int PrintNonFiscalText(NotifyWindow* window, ResultCallback callback, int tag,
                       const std::string& text)
{
    return PrintNonFiscalText(processLink(), window, std::move(callback), tag, text);
}

int PrintSeparatorLine(NotifyWindow* window, ResultCallback callback, int tag, int separatorType)
{
    return PrintSeparatorLine(processLink(), window, std::move(callback), tag, separatorType);
}

int CloseNonFiscalReceipt(NotifyWindow* window, ResultCallback callback, int tag)
{
    return CloseNonFiscalReceipt(processLink(), window, std::move(callback), tag);
}

int DailyReport(NotifyWindow* window, ResultCallback callback, int tag, const std::string& password,
                std::int8_t reportType)
{
    return DailyReport(processLink(), window, std::move(callback), tag, password, reportType);
}

int GoodsReport(NotifyWindow* window, ResultCallback callback, int tag, const std::string& password,
                char reportLetter)
{
    return GoodsReport(processLink(), window, std::move(callback), tag, password, reportLetter);
}

int ServiceCashInOut(NotifyWindow* window, ResultCallback callback, int tag, double amount)
{
    return ServiceCashInOut(processLink(), window, std::move(callback), tag, amount);
}

int FullPeriodicReportByNumber(NotifyWindow* window, ResultCallback callback, int tag,
                               const std::string& password, int first, int last)
{
    return FullPeriodicReportByNumber(processLink(), window, std::move(callback), tag, password,
                                      first, last);
}

int ShortPeriodicReportByNumber(NotifyWindow* window, ResultCallback callback, int tag,
                                const std::string& password, int first, int last)
{
    return ShortPeriodicReportByNumber(processLink(), window, std::move(callback), tag, password,
                                       first, last);
}

int FullPeriodicReportByDate(NotifyWindow* window, ResultCallback callback, int tag,
                             const std::string& password, const std::string& firstDate,
                             const std::string& lastDate)
{
    return FullPeriodicReportByDate(processLink(), window, std::move(callback), tag, password,
                                    firstDate, lastDate);
}

int ShortPeriodicReportByDate(NotifyWindow* window, ResultCallback callback, int tag,
                              const std::string& password, const std::string& firstDate,
                              const std::string& lastDate)
{
    return ShortPeriodicReportByDate(processLink(), window, std::move(callback), tag, password,
                                     firstDate, lastDate);
}

int GetStatus(NotifyWindow* window, ResultCallback callback, int tag, int flag)
{
    return GetStatus(processLink(), window, std::move(callback), tag, flag);
}

int GetDiagnosticInfo(NotifyWindow* window, ResultCallback callback, int tag, int flag)
{
    return GetDiagnosticInfo(processLink(), window, std::move(callback), tag, flag);
}

int PrintReceiptCopiesByNumber(NotifyWindow* window, ResultCallback callback, int tag, int first,
                               int last)
{
    return PrintReceiptCopiesByNumber(processLink(), window, std::move(callback), tag, first, last);
}

int PrintReceiptCopiesByDate(NotifyWindow* window, ResultCallback callback, int tag,
                             const std::string& firstDate, const std::string& firstTime,
                             const std::string& lastDate, const std::string& lastTime,
                             int printFlag)
{
    return PrintReceiptCopiesByDate(processLink(), window, std::move(callback), tag, firstDate,
                                    firstTime, lastDate, lastTime, printFlag);
}

} // namespace quorvex::link
