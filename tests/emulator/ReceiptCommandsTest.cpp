// The emulated registrar's receipts: state machine, refusals, amounts, articles, journal, display.
#include "emulator/FiscalModel.h"
#include "link/Operations.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvex::emulator {
namespace {

namespace cmd = link::command;

enum class Outcome { Ok, Syntax, NotAllowed, Overflow };

StatusBits bitsOf(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Syntax:
        return refusal::kSyntaxError;
    case Outcome::NotAllowed:
        return refusal::kNotAllowed;
    case Outcome::Overflow:
        return refusal::kOverflow;
    case Outcome::Ok:
        break;
    }
    return {};
}

std::string followedBy(std::string text, std::size_t count, char c)
{
    return text.append(count, c);
}

struct Step {
    int command;
    std::string data;
    Outcome outcome;
    std::string answer; // checked when the step is answered
};

class ReceiptModel : public ::testing::Test {
protected:
    ModelAnswer send(int command, const std::string& data = {})
    {
        const auto answer = m_model.handle(command, data, m_nowMs);
        EXPECT_TRUE(answer.has_value()) << command;
        return answer.value_or(ModelAnswer{});
    }

    void run(const std::vector<Step>& steps)
    {
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const Step& step = steps[i];
            const ModelAnswer answer = send(step.command, step.data);
            EXPECT_EQ(answer.bits, bitsOf(step.outcome))
                << "step " << i << ": " << step.command << " " << step.data;
            if (step.outcome == Outcome::Ok) {
                EXPECT_EQ(answer.data, step.answer) << "step " << i << ": " << step.data;
            }
        }
    }

    // Bread (12, tax А, group 1, 10.00) and milk (13, tax Б, group 2, 5.50) programmed.
    void programGoods()
    {
        run({{cmd::Articles, "PА12,1,10.00,9011,Хлеб", Outcome::Ok, "P"},
             {cmd::Articles, "PБ13,2,5.50,9011,Молоко", Outcome::Ok, "P"}});
    }

    const DeviceState& state() const { return m_model.state(); }
    ReceiptCommands& receipts() { return m_model.receipts(); }

    FiscalModel m_model;
    std::int64_t m_nowMs = 0;
};

TEST_F(ReceiptModel, FiscalReceiptRunsFromOpeningToTheJournal)
{
    programGoods();
    const std::vector<std::pair<Step, OpenReceipt>> steps = {
        {{cmd::RegisterSale, "12", Outcome::NotAllowed, ""}, OpenReceipt::None},
        {{cmd::CloseFiscalReceipt, "", Outcome::NotAllowed, ""}, OpenReceipt::None},
        {{cmd::OpenFiscalReceipt, "00001,9011,00001,I", Outcome::Ok, "1"}, OpenReceipt::Fiscal},
        {{cmd::OpenFiscalReceipt, "00001,9011,00001,I", Outcome::NotAllowed, ""},
         OpenReceipt::Fiscal},
        {{cmd::OpenNonFiscalReceipt, "", Outcome::NotAllowed, ""}, OpenReceipt::Fiscal},
        {{cmd::RegisterSale, "12*2.000,-10.00", Outcome::Ok, "P"}, OpenReceipt::Fiscal},
        {{cmd::RegisterSale, "13", Outcome::Ok, "P"}, OpenReceipt::Fiscal},
        {{cmd::CloseFiscalReceipt, "", Outcome::NotAllowed, ""}, OpenReceipt::Fiscal},
        {{cmd::GetFiscalTransactionStatus, "", Outcome::Ok, "1,2,2350,0"}, OpenReceipt::Fiscal},
        {{cmd::Total, "\tP10.00", Outcome::Ok, "D1350"}, OpenReceipt::Fiscal},
        {{cmd::RegisterSale, "13", Outcome::NotAllowed, ""}, OpenReceipt::Fiscal},
        {{cmd::Total, "\tD20.00", Outcome::NotAllowed, ""}, OpenReceipt::Fiscal},
        {{cmd::Total, "\tP20.00", Outcome::Ok, "R650"}, OpenReceipt::Fiscal},
        {{cmd::Total, "\tP1.00", Outcome::NotAllowed, ""}, OpenReceipt::Fiscal},
        {{cmd::CloseFiscalReceipt, "", Outcome::Ok, "1"}, OpenReceipt::None},
        {{cmd::GetFiscalTransactionStatus, "T", Outcome::Ok, "0,0,0,0"}, OpenReceipt::None},
    };
    for (const auto& [step, after] : steps) {
        run({step});
        EXPECT_EQ(state().openReceipt, after) << step.command << " " << step.data;
    }

    ASSERT_EQ(state().journal.size(), 1u);
    const JournalDocument& document = state().journal[0];
    EXPECT_EQ(document.number, 1);
    EXPECT_EQ(document.kind, DocumentKind::FiscalReceipt);
    EXPECT_EQ(document.printed.front(), "КАССОВЫЙ ЧЕК");
    EXPECT_EQ(document.printed.back(), "ДОКУМЕНТ 1 08.12.2026 09:00");
    EXPECT_EQ(receipts().lastReceipt(), document.printed);
    EXPECT_EQ(state().day.fiscalReceipts, 1);
    EXPECT_EQ(state().day.salesHundredths, 2350);
    EXPECT_EQ(state().day.salesByTaxGroup[0], 1800);
    EXPECT_EQ(state().day.salesByTaxGroup[1], 550);
    EXPECT_EQ(state().day.goods.at(12).quantityThousandths, 2000);
    EXPECT_EQ(state().day.goods.at(12).amountHundredths, 1800);
    EXPECT_EQ(state().cashInDrawerHundredths, 2350);
}

// The drawer counts to 99 999 999.99: a receipt whose cash would pass that cannot close, so the
// drawer is never past its count.
TEST_F(ReceiptModel, ClosingBeyondTheDrawersCountIsAnOverflow)
{
    programGoods();
    m_model.state().cashInDrawerHundredths = 9'999'999'000;
    run({{cmd::OpenFiscalReceipt, "1,9011,1", Outcome::Ok, "1"},
         {cmd::RegisterSale, "12", Outcome::Ok, "P"},
         {cmd::Total, "\tP10.00", Outcome::Ok, "R0"}});

    run({{cmd::CloseFiscalReceipt, "", Outcome::Overflow, ""}});

    EXPECT_EQ(state().openReceipt, OpenReceipt::Fiscal);
    EXPECT_EQ(state().cashInDrawerHundredths, 9'999'999'000);
}

TEST_F(ReceiptModel, OpenReceiptsSetTheirStandingBits)
{
    programGoods();
    constexpr std::uint8_t kFiscalisedS5 = 0x02 | 0x08 | 0x10 | 0x20;
    const struct {
        int open;
        int close;
        StatusBits bits;
    } cases[] = {
        {cmd::OpenFiscalReceipt, cmd::CancelReceipt, {0, 0, 0x08, 0, 0, kFiscalisedS5}},
        {cmd::OpenReturnReceipt, cmd::CancelReceipt, {0, 0x08, 0x08, 0, 0, kFiscalisedS5}},
        {cmd::OpenNonFiscalReceipt, cmd::CloseNonFiscalReceipt, {0, 0, 0x20, 0, 0, kFiscalisedS5}},
    };
    for (const auto& c : cases) {
        const bool fiscal = c.open != cmd::OpenNonFiscalReceipt;

        send(c.open, fiscal ? "1,9011,1" : "");
        EXPECT_EQ(m_model.standingStatus(), c.bits) << c.open;
        send(c.close);
        EXPECT_EQ(m_model.standingStatus(), (StatusBits{0, 0, 0, 0, 0, kFiscalisedS5})) << c.open;
    }
}

TEST_F(ReceiptModel, MalformedOverflowingAndUntimelyCommandsAreRefused)
{
    programGoods();
    const struct {
        bool receiptOpen;
        int command;
        std::string data;
        Outcome outcome;
    } cases[] = {
        {false, cmd::OpenFiscalReceipt, "1,9011", Outcome::Syntax},
        {false, cmd::OpenFiscalReceipt, "17,9011,1", Outcome::Syntax},
        {false, cmd::OpenFiscalReceipt, "1,9011,1,X", Outcome::Syntax},
        {false, cmd::OpenFiscalReceipt, "1,1234,1", Outcome::NotAllowed},
        {true, cmd::RegisterSale, "12*0", Outcome::Syntax},
        {true, cmd::RegisterSale, "12*1.0001", Outcome::Syntax},
        {true, cmd::RegisterSale, "12,-5.00;1.00", Outcome::Syntax},
        {true, cmd::RegisterSale, "12,-100.00", Outcome::Syntax},
        {true, cmd::RegisterSale, "x12", Outcome::Syntax},
        {true, cmd::RegisterSale, "12*1000000", Outcome::Overflow},
        {true, cmd::RegisterSale, "12*999999.999;99999999.99", Outcome::Overflow},
        {true, cmd::RegisterSale, "12;-1000000000000.00", Outcome::Overflow},
        {true, cmd::RegisterSale, "99", Outcome::NotAllowed},
        {true, cmd::RegisterSale, "12;-10.01", Outcome::NotAllowed},
        {true, cmd::RegisterSale, "-12", Outcome::NotAllowed},
        {true, cmd::Subtotal, "2", Outcome::Syntax},
        {true, cmd::Subtotal, "00;-1.00", Outcome::NotAllowed},
        {true, cmd::GroupDiscount, "TA,11,-5.00", Outcome::Syntax},
        {true, cmd::GroupDiscount, "G100,11,-5.00", Outcome::Syntax},
        {true, cmd::GroupDiscount, "TА,11", Outcome::Syntax},
        {true, cmd::Total, "P10.00", Outcome::Syntax},
        {true, cmd::Total, "\tX10.00", Outcome::Syntax},
        {true, cmd::Total, "\tP", Outcome::NotAllowed},
        {false, cmd::Total, "\tP", Outcome::NotAllowed},
        {false, cmd::CancelReceipt, "", Outcome::NotAllowed},
        {false, cmd::PrintFiscalText, "text", Outcome::NotAllowed},
        {true, cmd::PrintNonFiscalText, "text", Outcome::NotAllowed},
        {true, cmd::CloseNonFiscalReceipt, "", Outcome::NotAllowed},
        {true, cmd::GetFiscalTransactionStatus, "X", Outcome::Syntax},
        {false, cmd::PrintSeparatorLine, "1", Outcome::NotAllowed},
        {true, cmd::PrintSeparatorLine, "4", Outcome::Syntax},
        {true, cmd::PrintBarcode, "112345678", Outcome::Syntax},
        {true, cmd::PrintBarcode, "11234567", Outcome::Ok},
        {true, cmd::PrintBarcode, "2012345678901", Outcome::Ok},
        {true, cmd::PrintBarcode, "20123456789012", Outcome::Syntax},
        {true, cmd::PrintBarcode, "2ABC", Outcome::Syntax},
        {true, cmd::PrintBarcode, followedBy("3", 42, 'Z'), Outcome::Ok},
        {true, cmd::PrintBarcode, followedBy("3", 43, 'Z'), Outcome::Syntax},
        {true, cmd::PrintBarcode, followedBy("4", 60, '7'), Outcome::Ok},
        {true, cmd::PrintBarcode, "6123", Outcome::Syntax},
        {false, cmd::PrintBarcode, "1123", Outcome::NotAllowed},
        {false, cmd::Articles, "Q12", Outcome::Syntax},
        {false, cmd::Articles, "R", Outcome::Syntax},
        {false, cmd::Articles, "PX14,1,1.00,9011,Соль", Outcome::Syntax},
        {false, cmd::Articles, "PА14,0,1.00,9011,Соль", Outcome::Syntax},
        {false, cmd::Articles, "PА14,1,0.00,9011,Соль", Outcome::Syntax},
        {false, cmd::Articles, followedBy("PА14,1,1.00,9011,", 37, 'x'), Outcome::Syntax},
        {false, cmd::Articles, "PА14,1,100000000.00,9011,Соль", Outcome::Overflow},
        {false, cmd::Articles, "PА14,1,1.00,1111,Соль", Outcome::NotAllowed},
        {false, cmd::Articles, "D12,1111", Outcome::NotAllowed},
        {false, cmd::Articles, "D12", Outcome::Syntax},
    };
    for (const auto& c : cases) {
        m_model = FiscalModel{};
        programGoods();
        if (c.receiptOpen)
            run({{cmd::OpenFiscalReceipt, "1,9011,1", Outcome::Ok, "1"}});
        const ModelAnswer answer = send(c.command, c.data);
        EXPECT_EQ(answer.bits, bitsOf(c.outcome)) << c.command << " " << c.data;
    }
}

TEST_F(ReceiptModel, DiscountsAndSurchargesChangeTheSubtotalAndItsTaxGroups)
{
    const struct {
        const char* name;
        std::vector<Step> steps; // after bread and milk are sold, one each
        std::string subtotal;    // sum, then tax groups А..Д
    } cases[] = {
        {"none", {}, "1550,1000,550,0,0,0"},
        {"sale percent",
         {{cmd::RegisterSale, "12,-5.00", Outcome::Ok, "P"}},
         "2500,1950,550,0,0,0"},
        {"sale amount",
         {{cmd::RegisterSale, "12*0.5;1.00", Outcome::Ok, "P"}},
         "2150,1600,550,0,0,0"},
        {"correction", {{cmd::RegisterSale, "-12", Outcome::Ok, "P"}}, "550,0,550,0,0,0"},
        {"correction of the latest discounted sale",
         {{cmd::RegisterSale, "12,-5.00", Outcome::Ok, "P"},
          {cmd::RegisterSale, "-12", Outcome::Ok, "P"}},
         "1550,1000,550,0,0,0"},
        {"correction of a quantity never sold",
         {{cmd::RegisterSale, "-12*2", Outcome::NotAllowed, ""}},
         "1550,1000,550,0,0,0"},
        {"correction twice of one sale",
         {{cmd::RegisterSale, "-13", Outcome::Ok, "P"},
          {cmd::RegisterSale, "-13", Outcome::NotAllowed, ""}},
         "1000,1000,0,0,0,0"},
        {"subtotal percent",
         {{cmd::Subtotal, "00,-10.00", Outcome::Ok, "1395,900,495,0,0,0"}},
         "1395,900,495,0,0,0"},
        {"subtotal amount",
         {{cmd::Subtotal, "10;-3.10", Outcome::Ok, "1240,800,440,0,0,0"}},
         "1240,800,440,0,0,0"},
        {"tax group",
         {{cmd::GroupDiscount, "TБ,11,-5.00", Outcome::Ok, "1522,1000,522,0,0,0"}},
         "1522,1000,522,0,0,0"},
        {"goods group",
         {{cmd::GroupDiscount, "G1,11;2.00", Outcome::Ok, "1750,1200,550,0,0,0"}},
         "1750,1200,550,0,0,0"},
        {"empty goods group",
         {{cmd::GroupDiscount, "G7,11,-5.00", Outcome::NotAllowed, ""}},
         "1550,1000,550,0,0,0"},
        {"discount beyond the group",
         {{cmd::GroupDiscount, "TБ,00;-6.00", Outcome::NotAllowed, ""}},
         "1550,1000,550,0,0,0"},
    };
    for (const auto& c : cases) {
        m_model = FiscalModel{};
        programGoods();
        run({{cmd::OpenFiscalReceipt, "1,9011,1", Outcome::Ok, "1"},
             {cmd::RegisterSale, "12", Outcome::Ok, "P"},
             {cmd::RegisterSale, "13", Outcome::Ok, "P"}});

        run(c.steps);

        EXPECT_EQ(send(cmd::Subtotal, "00").data, c.subtotal) << c.name;
    }
}

TEST_F(ReceiptModel, ReturnAndNonFiscalReceiptsCountAsTheirOwnKinds)
{
    programGoods();
    run({{cmd::OpenReturnReceipt, "1,9011,1", Outcome::Ok, "1"},
         {cmd::RegisterSale, "13", Outcome::Ok, "P"},
         {cmd::Total, "\tP", Outcome::NotAllowed, ""}, // no cash in the drawer to pay back
         {cmd::Total, "\tN", Outcome::Ok, "R0"},
         {cmd::CloseFiscalReceipt, "", Outcome::Ok, "1"},
         {cmd::OpenNonFiscalReceipt, "", Outcome::Ok, ""},
         {cmd::PrintNonFiscalText, "Спасибо", Outcome::Ok, ""},
         {cmd::PrintSeparatorLine, "3", Outcome::Ok, ""},
         {cmd::CloseNonFiscalReceipt, "", Outcome::Ok, "2"}});

    ASSERT_EQ(state().journal.size(), 2u);
    EXPECT_EQ(state().journal[0].kind, DocumentKind::ReturnReceipt);
    EXPECT_EQ(state().journal[1].kind, DocumentKind::NonFiscalReceipt);
    EXPECT_EQ(state().journal[1].printed,
              (std::vector<std::string>{"НЕФИСКАЛЬНЫЙ ЧЕК", "Спасибо",
                                        "- - - - - - - - - - - - - - - - - - ",
                                        "ДОКУМЕНТ 2 08.12.2026 09:00"}));
    EXPECT_EQ(state().day.returnReceipts, 1);
    EXPECT_EQ(state().day.returnsHundredths, 550);
    EXPECT_EQ(state().day.fiscalReceipts, 0);
    EXPECT_TRUE(state().day.goods.empty());
}

TEST_F(ReceiptModel, CancelledReceiptIsPrintedButNeitherCountedNorJournalled)
{
    programGoods();
    run({{cmd::OpenFiscalReceipt, "1,9011,1", Outcome::Ok, "1"},
         {cmd::RegisterSale, "12", Outcome::Ok, "P"},
         {cmd::CancelReceipt, "", Outcome::Ok, ""}});

    EXPECT_EQ(receipts().lastReceipt().back(), "ЧЕК АННУЛИРОВАН");
    EXPECT_TRUE(state().journal.empty());
    EXPECT_EQ(state().day.fiscalReceipts, 0);
    EXPECT_EQ(state().openReceipt, OpenReceipt::None);
}

TEST_F(ReceiptModel, ArticlesAreReadProgrammedAndDeleted)
{
    run({{cmd::Articles, "R12", Outcome::Ok, "F"},
         {cmd::Articles, "PА12,1,10.00,9011,Хлеб, белый", Outcome::Ok, "P"},
         {cmd::Articles, "R12", Outcome::Ok, "P,А,12,1,1000,0,0,Хлеб, белый"},
         {cmd::Articles, "PБ13,2,5.50,9011,Молоко", Outcome::Ok, "P"},
         {cmd::Articles, "D13,9011", Outcome::Ok, "P"},
         {cmd::Articles, "D13,9011", Outcome::Ok, "F"},
         {cmd::OpenFiscalReceipt, "1,9011,1", Outcome::Ok, "1"},
         {cmd::RegisterSale, "12*1.5", Outcome::Ok, "P"},
         {cmd::Articles, "D12,9011", Outcome::NotAllowed, ""},
         {cmd::Total, "", Outcome::Ok, "R0"},
         {cmd::CloseFiscalReceipt, "", Outcome::Ok, "1"},
         {cmd::Articles, "R12", Outcome::Ok, "P,А,12,1,1000,1500,1500,Хлеб, белый"},
         {cmd::Articles, "PА12,1,11.00,9011,Хлеб", Outcome::NotAllowed, ""},
         {cmd::Articles, "DA,9011", Outcome::NotAllowed, ""}});

    m_model.state().day = DayTotals{}; // as after a Z report
    run({{cmd::Articles, "DA,9011", Outcome::Ok, "P"}, {cmd::Articles, "R12", Outcome::Ok, "F"}});
}

TEST_F(ReceiptModel, DisplayKeepsWhatItShowsAndTellsItsListener)
{
    std::vector<DisplayRows> shown;
    receipts().setDisplayListener([&](const DisplayRows& rows) { shown.push_back(rows); });
    m_nowMs = 3'723'000; // 01:02:03 after the clock was set

    run({{cmd::DisplayUpperRow, "Comment for printing and more", Outcome::Ok, ""},
         {cmd::DisplayLowerRow, "Err01", Outcome::Ok, ""},
         {cmd::DisplayLowerRow, "Err01", Outcome::Ok, ""},
         {cmd::DisplayDateTime, "", Outcome::Ok, ""},
         {cmd::ClearDisplay, "", Outcome::Ok, ""},
         {cmd::Beep, "", Outcome::Ok, ""}});

    EXPECT_EQ(shown, (std::vector<DisplayRows>{{"Comment for printing", ""},
                                               {"Comment for printing", "Err01"},
                                               {"08.12.2026", "10:02"},
                                               {"", ""}}));
    EXPECT_EQ(receipts().beeps(), 1);
}

} // namespace
} // namespace quorvex::emulator
