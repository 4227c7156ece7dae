#pragma once
// State of the emulated registrar that several command families share: the clock, the operator
// passwords, the open receipt, the cash in the drawer, the day's totals, the journal of completed
// documents and the Z reports kept in the fiscal memory.
// Plain data; the command sets (DayCommands, ReceiptCommands, NetworkCommands) change it.
#include <array>
#include <compare>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace quorvex::emulator {

// Status bytes S0..S5 as the model sets them, without the always-set bit 0x80.
using StatusBits = std::array<std::uint8_t, 6>;

// The status bits a registrar sets when it refuses a command.
namespace refusal {
constexpr StatusBits kSyntaxError = {0x01 | 0x20, 0, 0, 0, 0, 0}; // S0: syntax error, general error
constexpr StatusBits kInvalidCommand = {0x02 | 0x20, 0, 0, 0, 0, 0}; // S0: invalid code, general
constexpr StatusBits kNotAllowed = {0, 0x02, 0, 0, 0, 0};            // S1: not allowed in this mode
constexpr StatusBits kOverflow = {0, 0x01, 0, 0, 0, 0};              // S1: arithmetic overflow
constexpr StatusBits kDateTime = {0x04 | 0x20, 0, 0, 0, 0, 0};       // S0: date and time, general
} // namespace refusal

// What the model answers one command with: the answer data and the status bits it adds.
struct ModelAnswer {
    std::string data;
    StatusBits bits{};
};

[[nodiscard]] inline ModelAnswer refused(const StatusBits& bits)
{
    return ModelAnswer{{}, bits};
}

// A calendar date and time of day, as the registrar's clock shows it.
struct DateTime {
    int year = 2026;
    int month = 12;
    int day = 8;
    int hour = 9;
    int minute = 0;
    int second = 0;

    auto operator<=>(const DateTime&) const = default; // chronological
};

// The machine's local date and time: where the clock of a registrar started now begins.
[[nodiscard]] DateTime machineLocalTime();

// The date and time a given number of milliseconds after another (calendar-correct).
[[nodiscard]] DateTime dateTimeAfter(const DateTime& start, std::int64_t elapsedMs);

// The drawer counts up to 99 999 999.99; more is an arithmetic overflow.
constexpr std::int64_t kMaxDrawerHundredths = 9'999'999'999;

// Which receipt is open, if any.
enum class OpenReceipt { None, Fiscal, Return, NonFiscal };

// Every operator's password until a test changes it.
inline constexpr const char* kDefaultOperatorPassword = "9011";
constexpr int kOperatorCount = 16;

// Kinds of document the registrar completes and keeps in its journal.
enum class DocumentKind {
    FiscalReceipt,
    ReturnReceipt,
    NonFiscalReceipt,
    XReport,
    ZReport,
    PeriodicReport,
    GoodsReport,
    CashInOut,
    ReceiptCopy,
    ModemReport,
};

// One completed document: its running number, when it was completed and the lines it printed.
struct JournalDocument {
    int number = 0;
    DocumentKind kind = DocumentKind::FiscalReceipt;
    DateTime at;
    std::vector<std::string> printed;
};

// Tax groups А..Д (Windows-1251 0xC0..0xC4), by index 0..4.
constexpr int kTaxGroups = 5;

// A programmed article.
struct Article {
    char taxGroup = 0; // the tax group letter, Windows-1251
    int goodsGroup = 1;
    std::int64_t priceHundredths = 0;
    std::string name;
};

// What one article sold in the day adds up to.
struct GoodsSold {
    std::int64_t quantityThousandths = 0;
    std::int64_t amountHundredths = 0;
};

// The day's totals since the last Z report. Amounts in hundredths.
struct DayTotals {
    std::int64_t salesHundredths = 0;
    std::int64_t returnsHundredths = 0;
    std::int64_t cashInHundredths = 0;
    std::int64_t cashOutHundredths = 0;
    int fiscalReceipts = 0;
    int returnReceipts = 0;
    std::map<int, GoodsSold> goods;                           // by article code
    std::array<std::int64_t, kTaxGroups> salesByTaxGroup{};   // hundredths, А..Д
    std::array<std::int64_t, kTaxGroups> returnsByTaxGroup{}; // hundredths, А..Д
};

// One Z report kept in the fiscal memory: its number, when it was made and the day it closed.
struct ZRecord {
    int number = 0;
    DateTime at;
    DayTotals totals;
};

struct DeviceState {
    DeviceState() { operatorPasswords.fill(kDefaultOperatorPassword); }

    DateTime clockSetAt;           // the date and time the clock was set to...
    std::int64_t clockSetAtMs = 0; // ...at this moment of the registrar's own clock
    std::int64_t nowMs = 0;        // the registrar's clock while a command is handled
    std::array<std::string, kOperatorCount> operatorPasswords; // operators 1..16 at 0..15
    OpenReceipt openReceipt = OpenReceipt::None;
    std::int64_t cashInDrawerHundredths = 0;
    DayTotals day;
    std::vector<JournalDocument> journal; // in document-number order
    std::vector<ZRecord> zReports;        // the fiscal memory, in report-number order
    std::map<int, Article> articles;      // by article code

    // The clock's date and time now.
    [[nodiscard]] DateTime now() const { return dateTimeAfter(clockSetAt, nowMs - clockSetAtMs); }
    // Sets the clock to this date and time at the registrar's clock time nowMs.
    void setClock(const DateTime& at)
    {
        clockSetAt = at;
        clockSetAtMs = nowMs;
    }
    // Number of the last Z report; 0 before the first.
    [[nodiscard]] int lastZReportNumber() const
    {
        return zReports.empty() ? 0 : zReports.back().number;
    }
    // Adds a completed document with the next running number, dated now; returns its number.
    int recordDocument(DocumentKind kind, std::vector<std::string> printed);
};

} // namespace quorvex::emulator
