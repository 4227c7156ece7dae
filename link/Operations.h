#pragma once
// Typed registrar commands: each turns its arguments into the command's data text and hands
// it with the command code to SendCommand. None of them waits for or reads the answer; that
// arrives in RetData through the callback.
//
// Every operation takes the notify window, the callback and the caller's tag, passed to
// SendCommand unchanged, and returns:
//   -1  the arguments were refused, or the link is not idle: nothing sent, no callback;
//    0  the exchange has ended and the callback has run.
// Arguments are refused where each operation says, and also when a number is not finite or
// the data text would be longer than the 189 bytes a request carries (huge numbers, long
// texts). Texts are Windows-1251 bytes; numbers always use '.' as the decimal point.
//
// Each takes the link to send on; windows pass link::processLink().
#include "link/Link.h"

#include <cstdint>
#include <string>

namespace quorvex::link {

// Command codes of the typed operations.
namespace command {
constexpr int ClearDisplay = 0x21;
constexpr int DisplayLowerRow = 0x23;
constexpr int OpenNonFiscalReceipt = 0x26;
constexpr int CloseNonFiscalReceipt = 0x27;
constexpr int PrintNonFiscalText = 0x2A;
constexpr int DisplayUpperRow = 0x2F;
constexpr int OpenFiscalReceipt = 0x30;
constexpr int Subtotal = 0x33;
constexpr int Total = 0x35;
constexpr int PrintFiscalText = 0x36;
constexpr int CloseFiscalReceipt = 0x38;
constexpr int CancelReceipt = 0x39;
constexpr int RegisterSale = 0x3A;
constexpr int GroupDiscount = 0x3B;
constexpr int DisplayDateTime = 0x3F;
constexpr int DailyReport = 0x45;
constexpr int ServiceCashInOut = 0x46;
constexpr int FullPeriodicReportByNumber = 0x49;
constexpr int GetStatus = 0x4A;
constexpr int GetFiscalTransactionStatus = 0x4C;
constexpr int ShortPeriodicReportByDate = 0x4F;
constexpr int Beep = 0x50;
constexpr int OpenReturnReceipt = 0x55;
constexpr int PrintBarcode = 0x58;
constexpr int GetDiagnosticInfo = 0x5A;
constexpr int PrintSeparatorLine = 0x5D;
constexpr int FullPeriodicReportByDate = 0x5E;
constexpr int ShortPeriodicReportByNumber = 0x5F;
constexpr int Articles = 0x6B;
constexpr int GoodsReport = 0x6F;
constexpr int PrintReceiptCopiesByNumber = 0xEB;
constexpr int PrintReceiptCopiesByDate = 0xEE;
} // namespace command

// ---- Receipts, sales and articles ----------------------------------------------------------

// "%05lu,%s,%05lu" of operator, password and the third number, then ",I".
[[nodiscard]] int OpenFiscalReceipt(Link& link, NotifyWindow* window, ResultCallback callback,
                                    int tag, std::uint32_t operatorNumber,
                                    const std::string& password, std::uint32_t thirdNumber);
[[nodiscard]] int OpenReturnReceipt(Link& link, NotifyWindow* window, ResultCallback callback,
                                    int tag, std::uint32_t operatorNumber,
                                    const std::string& password, std::uint32_t thirdNumber);

// ["-" when saleFlag is 0] code ["*" quantity, three decimals, when above 0] [discount pair].
// The discount pair: a percentage as ",value", an amount as ";value", two decimals each; a
// value is present when not 0, and both present is refused. A negative quantity is refused.
[[nodiscard]] int RegisterSale(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                               std::uint8_t saleFlag, int articleCode, double quantity,
                               double percentage, double amount);
// Two digits 1/0 for the flags, then the discount pair.
[[nodiscard]] int Subtotal(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                           int flag1, int flag2, double percentage, double amount);
// "T", the letter, ",", 1/0 for each flag, the discount pair. A letter 0 is refused.
[[nodiscard]] int TaxGroupDiscount(Link& link, NotifyWindow* window, ResultCallback callback,
                                   int tag, char taxGroup, int flag1, int flag2, double percentage,
                                   double amount);
// "G", the group 1..99 (others refused), ",", 1/0 for each flag, the discount pair.
[[nodiscard]] int GoodsGroupDiscount(Link& link, NotifyWindow* window, ResultCallback callback,
                                     int tag, int goodsGroup, int flag1, int flag2,
                                     double percentage, double amount);
// The text, a TAB, the payment letter (0 means 'P'), the amount with two decimals.
[[nodiscard]] int Total(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                        const std::string& text, char paymentType, double amount);
[[nodiscard]] int PrintFiscalText(Link& link, NotifyWindow* window, ResultCallback callback,
                                  int tag, const std::string& text);
[[nodiscard]] int CloseFiscalReceipt(Link& link, NotifyWindow* window, ResultCallback callback,
                                     int tag);
[[nodiscard]] int CancelReceipt(Link& link, NotifyWindow* window, ResultCallback callback, int tag);
// "T" when the flag is set, else empty.
[[nodiscard]] int GetFiscalTransactionStatus(Link& link, NotifyWindow* window,
                                             ResultCallback callback, int tag, int flag);
// "R" and the code; a negative code is refused.
[[nodiscard]] int ReadArticle(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                              int articleCode);
// Code 0: "DA," and the password (all articles); above 0: "D", the code, ",", the password.
// A negative code is refused.
[[nodiscard]] int DeleteArticles(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                                 int articleCode, const std::string& password);
// The type (1 EAN8, 2 EAN13, 3 Code 128, 4 and 5 ITF) immediately followed by the data.
[[nodiscard]] int PrintBarcode(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                               int barcodeType, const std::string& barcode);
[[nodiscard]] int Beep(Link& link, NotifyWindow* window, ResultCallback callback, int tag);

// ---- Customer display ----------------------------------------------------------------------

[[nodiscard]] int ClearDisplay(Link& link, NotifyWindow* window, ResultCallback callback, int tag);
[[nodiscard]] int DisplayUpperRow(Link& link, NotifyWindow* window, ResultCallback callback,
                                  int tag, const std::string& text);
[[nodiscard]] int DisplayLowerRow(Link& link, NotifyWindow* window, ResultCallback callback,
                                  int tag, const std::string& text);
[[nodiscard]] int DisplayDateTime(Link& link, NotifyWindow* window, ResultCallback callback,
                                  int tag);

// ---- Non-fiscal receipt --------------------------------------------------------------------

[[nodiscard]] int OpenNonFiscalReceipt(Link& link, NotifyWindow* window, ResultCallback callback,
                                       int tag);
[[nodiscard]] int PrintNonFiscalText(Link& link, NotifyWindow* window, ResultCallback callback,
                                     int tag, const std::string& text);
// The separator type (1..3) in decimal.
[[nodiscard]] int PrintSeparatorLine(Link& link, NotifyWindow* window, ResultCallback callback,
                                     int tag, int separatorType);
[[nodiscard]] int CloseNonFiscalReceipt(Link& link, NotifyWindow* window, ResultCallback callback,
                                        int tag);

// ---- Reports, cash, status and copies ------------------------------------------------------

// "password,type": type 0 is the Z report, 2 the X report.
[[nodiscard]] int DailyReport(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                              const std::string& password, std::int8_t reportType);
// "password,letter"; letters other than 'G', 'P' and 'S' are refused.
[[nodiscard]] int GoodsReport(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                              const std::string& password, char reportLetter);
// The amount with two decimals (positive in, negative out); 0 sends empty data.
[[nodiscard]] int ServiceCashInOut(Link& link, NotifyWindow* window, ResultCallback callback,
                                   int tag, double amount);
// "password,first,last" with the numbers in four digits.
[[nodiscard]] int FullPeriodicReportByNumber(Link& link, NotifyWindow* window,
                                             ResultCallback callback, int tag,
                                             const std::string& password, int first, int last);
[[nodiscard]] int ShortPeriodicReportByNumber(Link& link, NotifyWindow* window,
                                              ResultCallback callback, int tag,
                                              const std::string& password, int first, int last);
// "password,first,last": the full report pads each ddmmyy date to six with leading blanks,
// the short one sends the dates unchanged.
[[nodiscard]] int FullPeriodicReportByDate(Link& link, NotifyWindow* window,
                                           ResultCallback callback, int tag,
                                           const std::string& password,
                                           const std::string& firstDate,
                                           const std::string& lastDate);
[[nodiscard]] int ShortPeriodicReportByDate(Link& link, NotifyWindow* window,
                                            ResultCallback callback, int tag,
                                            const std::string& password,
                                            const std::string& firstDate,
                                            const std::string& lastDate);
// "X" when the flag is set, else "W".
[[nodiscard]] int GetStatus(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                            int flag);
// "1" when the flag is set, else "0".
[[nodiscard]] int GetDiagnosticInfo(Link& link, NotifyWindow* window, ResultCallback callback,
                                    int tag, int flag);
// "first,last" document numbers.
[[nodiscard]] int PrintReceiptCopiesByNumber(Link& link, NotifyWindow* window,
                                             ResultCallback callback, int tag, int first, int last);
// "firstDate,firstTime,lastDate,lastTime,printFlag".
[[nodiscard]] int
PrintReceiptCopiesByDate(Link& link, NotifyWindow* window, ResultCallback callback, int tag,
                         const std::string& firstDate, const std::string& firstTime,
                         const std::string& lastDate, const std::string& lastTime, int printFlag);

} // namespace quorvex::link
