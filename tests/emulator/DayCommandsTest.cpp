// The emulated registrar's day: cash, X and Z reports, goods and periodic reports, copies from
// the journal, the clock and the standing status bits.
#include "emulator/FiscalModel.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace quorvex::emulator {
namespace {

constexpr int kSetClock = 0x3D;
constexpr int kReadClock = 0x3E;
constexpr int kDailyReport = 0x45;
constexpr int kServiceCash = 0x46;
constexpr int kFullByNumber = 0x49;
constexpr int kShortByDate = 0x4F;
constexpr int kFullByDate = 0x5E;
constexpr int kShortByNumber = 0x5F;
constexpr int kGoodsReport = 0x6F;
constexpr int kCopiesByNumber = 0xEB;
constexpr int kCopiesByDate = 0xEE;

constexpr StatusBits kAccepted{};

class DayModel : public ::testing::Test {
protected:
    ModelAnswer run(int command, const std::string& data)
    {
        const auto answer = m_model.handle(command, data, m_nowMs);
        EXPECT_TRUE(answer.has_value()) << std::hex << command;
        return answer.value_or(ModelAnswer{"<unknown>", {}});
    }

    // Runs a command that must be accepted and returns its answer data.
    std::string accepted(int command, const std::string& data)
    {
        const ModelAnswer answer = run(command, data);
        EXPECT_EQ(answer.bits, kAccepted) << std::hex << command << " " << data;
        return answer.data;
    }

    void setClock(const std::string& at) { accepted(kSetClock, at); }

    std::vector<DocumentKind> journalKinds() const
    {
        std::vector<DocumentKind> kinds;
        for (const JournalDocument& document : m_model.state().journal)
            kinds.push_back(document.kind);
        return kinds;
    }

    DeviceState& state() { return m_model.state(); }

    FiscalModel m_model;
    std::int64_t m_nowMs = 0;
};

TEST_F(DayModel, CashInAndOutMoveTheDrawerAndCountInTheDay)
{
    EXPECT_EQ(accepted(kServiceCash, "100.00"), "10000,10000,0");
    EXPECT_EQ(accepted(kServiceCash, "-30.5"), "6950,10000,3050");
    EXPECT_EQ(accepted(kServiceCash, ""), "6950,10000,3050"); // a query, no document

    EXPECT_EQ(state().cashInDrawerHundredths, 6950);
    EXPECT_EQ(journalKinds(), (std::vector{DocumentKind::CashInOut, DocumentKind::CashInOut}));
}

struct Refusal {
    const char* name;
    std::function<void(DeviceState&)> arrange;
    int command;
    const char* data;
    StatusBits bits;
};

class RefusedCommand : public DayModel, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusedCommand, ChangesNothing)
{
    const Refusal& refusal = GetParam();
    if (refusal.arrange)
        refusal.arrange(state());
    const std::int64_t drawer = state().cashInDrawerHundredths;
    const std::size_t zReports = state().zReports.size();

    const ModelAnswer answer = run(refusal.command, refusal.data);

    EXPECT_EQ(answer.bits, refusal.bits);
    EXPECT_EQ(answer.data, "");
    EXPECT_TRUE(state().journal.empty());
    EXPECT_EQ(state().cashInDrawerHundredths, drawer);
    EXPECT_EQ(state().zReports.size(), zReports);
}

void fiscalReceiptOpen(DeviceState& state)
{
    state.openReceipt = OpenReceipt::Fiscal;
}

void drawerFull(DeviceState& state)
{
    state.cashInDrawerHundredths = 9'999'999'950;
}

void oneZReport(DeviceState& state)
{
    state.zReports.push_back(ZRecord{1, DateTime{2026, 12, 1, 20, 0, 0}, {}});
}

const Refusal kRefusals[] = {
    {"CashOutBeyondTheDrawer", nullptr, kServiceCash, "-0.01", refusal::kNotAllowed},
    {"CashBeyondTheDrawersCount", drawerFull, kServiceCash, "1.00", refusal::kOverflow},
    {"CashAmountNotANumber", nullptr, kServiceCash, "abc", refusal::kSyntaxError},
    {"CashAmountWithThreeDecimals", nullptr, kServiceCash, "1.234", refusal::kSyntaxError},
    {"CashAmountOfTenDigits", nullptr, kServiceCash, "1234567890", refusal::kOverflow},
    {"CashInWhileAReceiptIsOpen", fiscalReceiptOpen, kServiceCash, "1.00", refusal::kNotAllowed},
    {"ReportTypeOne", nullptr, kDailyReport, "9011,1", refusal::kSyntaxError},
    {"ReportWithoutType", nullptr, kDailyReport, "9011", refusal::kSyntaxError},
    {"ReportWithWrongPassword", nullptr, kDailyReport, "1234,2", refusal::kNotAllowed},
    {"ZReportWhileAReceiptIsOpen", fiscalReceiptOpen, kDailyReport, "9011,0", refusal::kNotAllowed},
    {"GoodsReportLetterX", nullptr, kGoodsReport, "9011,X", refusal::kSyntaxError},
    {"GoodsReportWithWrongPassword", nullptr, kGoodsReport, "0000,S", refusal::kNotAllowed},
    {"PeriodicNumbersReversed", oneZReport, kShortByNumber, "9011,0002,0001",
     refusal::kSyntaxError},
    {"PeriodicNumberNotDigits", oneZReport, kFullByNumber, "9011,0001,00x2", refusal::kSyntaxError},
    {"PeriodicRangeWithoutZReport", oneZReport, kShortByNumber, "9011,0002,0009",
     refusal::kNotAllowed},
    {"PeriodicWithWrongPassword", oneZReport, kFullByNumber, "901,0001,0001", refusal::kNotAllowed},
    {"PeriodicDateNotInTheCalendar", oneZReport, kShortByDate, "9011,311126,011226",
     refusal::kSyntaxError},
    {"PeriodicDatesReversed", oneZReport, kFullByDate, "9011,021226,011226", refusal::kSyntaxError},
    {"PeriodicDateOfFiveDigits", oneZReport, kFullByDate, "9011, 11226,011226",
     refusal::kSyntaxError},
    {"CopiesOfAnEmptyJournal", nullptr, kCopiesByNumber, "1,5", refusal::kNotAllowed},
    {"CopiesNumbersReversed", nullptr, kCopiesByNumber, "3,1", refusal::kSyntaxError},
    {"CopiesNegativeNumber", nullptr, kCopiesByNumber, "-1,3", refusal::kSyntaxError},
    {"CopiesByDateFlagTwo", nullptr, kCopiesByDate, "011226,1200,071226,1800,2",
     refusal::kSyntaxError},
    {"CopiesByDateHour24", nullptr, kCopiesByDate, "011226,2400,071226,1800,0",
     refusal::kSyntaxError},
    {"ClockDateNotInTheCalendar", nullptr, kSetClock, "30-02-26 10:00", refusal::kSyntaxError},
    {"ClockBeforeTheLastZReport", oneZReport, kSetClock, "01-12-26 19:59", refusal::kDateTime},
};

INSTANTIATE_TEST_SUITE_P(Table, RefusedCommand, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

// Reading the drawer is never refused: not with a receipt open, not with a drawer past its count.
TEST_F(DayModel, EmptyCashQueryAlwaysAnswers)
{
    state().cashInDrawerHundredths = 10'000'000'000;
    state().openReceipt = OpenReceipt::Fiscal;

    EXPECT_EQ(accepted(kServiceCash, ""), "10000000000,0,0");
}

TEST_F(DayModel, XReportPrintsTheDayAndZReportClosesIt)
{
    accepted(kServiceCash, "100.00");
    state().day.salesHundredths = 1250;
    state().day.fiscalReceipts = 2;
    setClock("07-12-26 21:30:00");

    const std::string x = accepted(kDailyReport, "9011,2");
    const std::string z = accepted(kDailyReport, "9011,0");
    const std::string nextX = accepted(kDailyReport, "9011,2");

    EXPECT_EQ(x, "1,1250,0,10000,0,2,0");
    EXPECT_EQ(z, x);
    EXPECT_EQ(nextX, "2,0,0,0,0,0,0");
    ASSERT_EQ(state().zReports.size(), 1u);
    EXPECT_EQ(state().zReports[0].number, 1);
    EXPECT_EQ(state().zReports[0].at, (DateTime{2026, 12, 7, 21, 30, 0}));
    EXPECT_EQ(state().zReports[0].totals.salesHundredths, 1250);
    EXPECT_EQ(state().cashInDrawerHundredths, 10000); // the money stays in the drawer
    EXPECT_EQ(journalKinds(), (std::vector{DocumentKind::CashInOut, DocumentKind::XReport,
                                           DocumentKind::ZReport, DocumentKind::XReport}));
}

TEST_F(DayModel, GoodsReportSumsTheArticlesSoldWithoutClosingTheDay)
{
    state().day.goods[7] = GoodsSold{2500, 1250};
    state().day.goods[12] = GoodsSold{1000, 300};

    EXPECT_EQ(accepted(kGoodsReport, "9011,S"), "2,3500,1550");
    EXPECT_EQ(state().day.goods.size(), 2u);
    EXPECT_EQ(journalKinds(), std::vector{DocumentKind::GoodsReport});
}

TEST_F(DayModel, PeriodicReportsSelectStoredZReportsByNumberAndByDate)
{
    const std::pair<const char*, std::int64_t> days[] = {
        {"01-12-26 20:00", 100}, {"03-12-26 20:00", 200}, {"05-12-26 20:00", 400}};
    for (const auto& [at, sales] : days) {
        setClock(at);
        state().day.salesHundredths = sales;
        accepted(kDailyReport, "9011,0");
    }

    const std::tuple<int, const char*, const char*> reports[] = {
        {kShortByNumber, "9011,0002,0003", "2,3,2,600,0"},
        {kFullByNumber, "9011,0001,0001", "1,1,1,100,0"},
        {kShortByDate, "9011,021226,051226", "2,3,2,600,0"},
        {kFullByDate, "9011,011226,011226", "1,1,1,100,0"},
        {kFullByNumber, "9011,0003,9999", "3,3,1,400,0"},
    };
    for (const auto& [command, data, answer] : reports)
        EXPECT_EQ(accepted(command, data), answer) << data;
    EXPECT_EQ(state().journal.back().kind, DocumentKind::PeriodicReport);
}

TEST_F(DayModel, CopiesFindJournalDocumentsByNumberAndByDateAndTime)
{
    setClock("01-12-26 12:00:00");
    accepted(kServiceCash, "10.00"); // document 1
    setClock("01-12-26 18:00:40");
    accepted(kDailyReport, "9011,2"); // document 2
    setClock("07-12-26 09:00:00");
    accepted(kDailyReport, "9011,0"); // document 3

    EXPECT_EQ(accepted(kCopiesByDate, "011226,1200,071226,1800,0"), "1,3,3");
    EXPECT_EQ(accepted(kCopiesByDate, "011226,1201,011226,1800,0"), "2,2,1");
    EXPECT_EQ(run(kCopiesByDate, "021226,0000,061226,2359,1").bits, refusal::kNotAllowed);
    EXPECT_EQ(run(kCopiesByNumber, "4,9").bits, refusal::kNotAllowed);
    EXPECT_EQ(state().journal.size(), 3u) << "searching prints nothing";

    EXPECT_EQ(accepted(kCopiesByNumber, "2,3"), "2,3,2");
    ASSERT_EQ(state().journal.size(), 4u);
    EXPECT_EQ(state().journal[3].kind, DocumentKind::ReceiptCopy);
    EXPECT_EQ(state().journal[3].printed.front(), "КОПИЯ ДОКУМЕНТА 2");
    // The copy itself is not copied again: repeated copies print the same originals.
    EXPECT_EQ(accepted(kCopiesByDate, "071226,0900,071226,0900,1"), "3,3,1");
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(accepted(kCopiesByNumber, "1,999999"), "1,3,3");
    EXPECT_EQ(state().journal.size(), 25u);
    const auto& journal = state().journal;
    EXPECT_EQ(journal.back().printed, journal[journal.size() - 2].printed);
}

TEST_F(DayModel, ClockRunsOnTheRegistrarsTimeAndCanBeSet)
{
    EXPECT_EQ(accepted(kReadClock, ""), "08-12-26 09:00:00");
    m_nowMs = 90'061'000; // one day, one hour, one minute and one second later
    EXPECT_EQ(accepted(kReadClock, ""), "09-12-26 10:01:01");

    setClock("31-12-26 23:59:30");
    m_nowMs += 31'000;

    EXPECT_EQ(accepted(kReadClock, ""), "01-01-27 00:00:01");
}

TEST(StandingStatus, FiscalisedRegistrarWithTheOpenReceiptsBits)
{
    const std::pair<OpenReceipt, StatusBits> cases[] = {
        {OpenReceipt::None, {0, 0, 0, 0, 0, 0x3A}},
        {OpenReceipt::Fiscal, {0, 0, 0x08, 0, 0, 0x3A}},
        {OpenReceipt::Return, {0, 0x08, 0x08, 0, 0, 0x3A}},
        {OpenReceipt::NonFiscal, {0, 0, 0x20, 0, 0, 0x3A}},
    };
    for (const auto& [open, bits] : cases) {
        FiscalModel model;
        model.state().openReceipt = open;

        EXPECT_EQ(model.standingStatus(), bits) << static_cast<int>(open);
    }
}

} // namespace
} // namespace quorvex::emulator
