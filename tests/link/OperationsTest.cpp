#include "link/Operations.h"

#include "serial/PortRegistry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace quorvex::link {
namespace {

// A line that keeps every frame written to it and never answers.
class RecordingLine final : public serial::SerialLine {
public:
    explicit RecordingLine(std::vector<std::string>& frames) : m_frames(frames) {}
    bool flush() override { return true; }
    bool purge() override { return true; }
    bool write(const std::uint8_t* data, std::size_t size) override
    {
        m_frames.emplace_back(reinterpret_cast<const char*>(data), size);
        return true;
    }
    serial::ReadResult readByte() override { return serial::ReadResult::nothing(); }
    void clearError() override {}
    bool close() override { return true; }

private:
    std::vector<std::string>& m_frames;
};

struct SentRequest {
    int command = -1;
    std::string data;
};

// A link on a recording line; requests are read back from the frames written.
class OperationsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_ports.addVirtualPort("REC", [this](const std::string&, int) {
            return std::make_unique<RecordingLine>(m_frames);
        });
        m_link.SetLogName("");
        ASSERT_GT(m_link.OpenFirstPort("REC", 9600), 0);
    }

    ResultCallback countingCallback()
    {
        return [this](RetData&) { ++m_callbacks; };
    }

    // The command and data of the only frame sent (frame: SOH LEN SEQ CMD data 05 4xBCC ETX).
    SentRequest onlyRequest()
    {
        EXPECT_EQ(m_frames.size(), 1u);
        if (m_frames.size() != 1 || m_frames[0].size() < 10)
            return {};
        const std::string& frame = m_frames[0];
        return {static_cast<unsigned char>(frame[3]), frame.substr(4, frame.size() - 10)};
    }

    void expectSent(const std::function<int(Link&, ResultCallback)>& operation, int command,
                    const std::string& data)
    {
        m_frames.clear();
        m_callbacks = 0;

        const int result = operation(m_link, countingCallback());

        EXPECT_EQ(result, 0);
        EXPECT_EQ(m_callbacks, 1);
        const SentRequest sent = onlyRequest();
        EXPECT_EQ(sent.command, command);
        EXPECT_EQ(sent.data, data);
    }

    void expectRefused(const std::function<int(Link&, ResultCallback)>& operation)
    {
        m_frames.clear();
        m_callbacks = 0;

        const int result = operation(m_link, countingCallback());

        EXPECT_EQ(result, -1);
        EXPECT_TRUE(m_frames.empty());
        EXPECT_EQ(m_callbacks, 0);
    }

    serial::PortRegistry m_ports;
    Link m_link{m_ports};
    std::vector<std::string> m_frames;
    int m_callbacks = 0;
};

#define OP(call) [&](Link& link, ResultCallback cb) { return call; }

TEST_F(OperationsTest, ReceiptOpeningPadsNumbersAndAppendsI)
{
    expectSent(OP(OpenFiscalReceipt(link, nullptr, cb, 0, 12, "9011", 345)), 0x30,
               "00012,9011,00345,I");
    expectSent(OP(OpenReturnReceipt(link, nullptr, cb, 0, 1, "0", 1)), 0x55, "00001,0,00001,I");
    expectSent(OP(OpenFiscalReceipt(link, nullptr, cb, 0, 1234567, "", 0)), 0x30,
               "1234567,,00000,I");
}

TEST_F(OperationsTest, SaleDataFollowsFlagQuantityAndDiscount)
{
    expectSent(OP(RegisterSale(link, nullptr, cb, 0, 1, 7, 1.0, 0, 0)), 0x3A, "7*1.000");
    expectSent(OP(RegisterSale(link, nullptr, cb, 0, 0, 7, 2.5, -10, 0)), 0x3A, "-7*2.500,-10.00");
    expectSent(OP(RegisterSale(link, nullptr, cb, 0, 1, 7, 1.0, 0, -5)), 0x3A, "7*1.000;-5.00");
    expectSent(OP(RegisterSale(link, nullptr, cb, 0, 1, 7, 0.0, 0, 0)), 0x3A, "7");
    expectSent(OP(RegisterSale(link, nullptr, cb, 0, 2, 15, 0.0005, 3.456, 0)), 0x3A,
               "15*0.001,3.46");
}

TEST_F(OperationsTest, SaleRefusesNegativeQuantityAndTwoDiscounts)
{
    expectRefused(OP(RegisterSale(link, nullptr, cb, 0, 1, 7, -1.0, 0, 0)));
    expectRefused(OP(RegisterSale(link, nullptr, cb, 0, 1, 7, -0.001, 0, 0)));
    expectRefused(OP(RegisterSale(link, nullptr, cb, 0, 1, 7, 1.0, -5, -5)));
}

TEST_F(OperationsTest, SubtotalAndGroupDiscounts)
{
    expectSent(OP(Subtotal(link, nullptr, cb, 0, 0, 0, 0, 0)), 0x33, "00");
    expectSent(OP(Subtotal(link, nullptr, cb, 0, 1, 5, 0, -5)), 0x33, "11;-5.00");
    expectSent(OP(Subtotal(link, nullptr, cb, 0, 0, 1, 2, 0)), 0x33, "01,2.00");
    expectSent(OP(TaxGroupDiscount(link, nullptr, cb, 0, '\xC0', 1, 1, -5, 0)), 0x3B,
               "T\xC0,11,-5.00");
    expectSent(OP(GoodsGroupDiscount(link, nullptr, cb, 0, 1, 1, 1, -5, 0)), 0x3B, "G1,11,-5.00");
    expectSent(OP(GoodsGroupDiscount(link, nullptr, cb, 0, 99, 0, 1, 0, 0)), 0x3B, "G99,01");
}

TEST_F(OperationsTest, SubtotalAndGroupDiscountsRefuseTheirArguments)
{
    expectRefused(OP(Subtotal(link, nullptr, cb, 0, 1, 1, -5, -5)));
    expectRefused(OP(TaxGroupDiscount(link, nullptr, cb, 0, 'A', 1, 1, 1, 1)));
    expectRefused(OP(TaxGroupDiscount(link, nullptr, cb, 0, '\0', 1, 1, 0, 0)));
    expectRefused(OP(GoodsGroupDiscount(link, nullptr, cb, 0, 1, 1, 1, 1, 1)));
    expectRefused(OP(GoodsGroupDiscount(link, nullptr, cb, 0, 0, 1, 1, 0, 0)));
    expectRefused(OP(GoodsGroupDiscount(link, nullptr, cb, 0, 100, 1, 1, 0, 0)));
    expectRefused(OP(GoodsGroupDiscount(link, nullptr, cb, 0, -3, 1, 1, 0, 0)));
}

TEST_F(OperationsTest, TotalPutsTheLetterAfterTheTab)
{
    expectSent(OP(Total(link, nullptr, cb, 0, "", 'N', 12.5)), 0x35, "\tN12.50");
    expectSent(OP(Total(link, nullptr, cb, 0, "", 0, 0)), 0x35, "\tP0.00");
    expectSent(OP(Total(link, nullptr, cb, 0, "Итого%s", '%', 1)), 0x35, "Итого%s\t%1.00");
}

TEST_F(OperationsTest, TextsGoOutUnchanged)
{
    const std::string text = "Строка, с запятой\t%d";
    expectSent(OP(PrintFiscalText(link, nullptr, cb, 0, text)), 0x36, text);
    expectSent(OP(PrintNonFiscalText(link, nullptr, cb, 0, text)), 0x2A, text);
    expectSent(OP(DisplayUpperRow(link, nullptr, cb, 0, text)), 0x2F, text);
    expectSent(OP(DisplayLowerRow(link, nullptr, cb, 0, "")), 0x23, "");
}

TEST_F(OperationsTest, CommandsWithoutArguments)
{
    expectSent(OP(CloseFiscalReceipt(link, nullptr, cb, 0)), 0x38, "");
    expectSent(OP(CancelReceipt(link, nullptr, cb, 0)), 0x39, "");
    expectSent(OP(Beep(link, nullptr, cb, 0)), 0x50, "");
    expectSent(OP(ClearDisplay(link, nullptr, cb, 0)), 0x21, "");
    expectSent(OP(DisplayDateTime(link, nullptr, cb, 0)), 0x3F, "");
    expectSent(OP(OpenNonFiscalReceipt(link, nullptr, cb, 0)), 0x26, "");
    expectSent(OP(CloseNonFiscalReceipt(link, nullptr, cb, 0)), 0x27, "");
}

TEST_F(OperationsTest, FlagSelectsTheLetter)
{
    expectSent(OP(GetFiscalTransactionStatus(link, nullptr, cb, 0, 1)), 0x4C, "T");
    expectSent(OP(GetFiscalTransactionStatus(link, nullptr, cb, 0, 0)), 0x4C, "");
    expectSent(OP(GetStatus(link, nullptr, cb, 0, 0)), 0x4A, "W");
    expectSent(OP(GetStatus(link, nullptr, cb, 0, 7)), 0x4A, "X");
    expectSent(OP(GetDiagnosticInfo(link, nullptr, cb, 0, 0)), 0x5A, "0");
    expectSent(OP(GetDiagnosticInfo(link, nullptr, cb, 0, -1)), 0x5A, "1");
}

TEST_F(OperationsTest, Articles)
{
    expectSent(OP(ReadArticle(link, nullptr, cb, 0, 0)), 0x6B, "R0");
    expectSent(OP(ReadArticle(link, nullptr, cb, 0, 1234)), 0x6B, "R1234");
    expectSent(OP(DeleteArticles(link, nullptr, cb, 0, 0, "9011")), 0x6B, "DA,9011");
    expectSent(OP(DeleteArticles(link, nullptr, cb, 0, 12, "9011")), 0x6B, "D12,9011");
    expectRefused(OP(ReadArticle(link, nullptr, cb, 0, -1)));
    expectRefused(OP(DeleteArticles(link, nullptr, cb, 0, -1, "9011")));
}

TEST_F(OperationsTest, BarcodeAndSeparator)
{
    expectSent(OP(PrintBarcode(link, nullptr, cb, 0, 2, "4600000000000")), 0x58, "24600000000000");
    expectSent(OP(PrintSeparatorLine(link, nullptr, cb, 0, 3)), 0x5D, "3");
}

TEST_F(OperationsTest, ReportsAndCash)
{
    expectSent(OP(DailyReport(link, nullptr, cb, 0, "0000", 0)), 0x45, "0000,0");
    expectSent(OP(DailyReport(link, nullptr, cb, 0, "0000", 2)), 0x45, "0000,2");
    expectSent(OP(DailyReport(link, nullptr, cb, 0, "1", -1)), 0x45, "1,-1");
    expectSent(OP(GoodsReport(link, nullptr, cb, 0, "0000", 'S')), 0x6F, "0000,S");
    expectSent(OP(GoodsReport(link, nullptr, cb, 0, "0000", 'G')), 0x6F, "0000,G");
    expectRefused(OP(GoodsReport(link, nullptr, cb, 0, "0000", 'g')));
    expectRefused(OP(GoodsReport(link, nullptr, cb, 0, "0000", 'X')));
    expectSent(OP(ServiceCashInOut(link, nullptr, cb, 0, -100)), 0x46, "-100.00");
    expectSent(OP(ServiceCashInOut(link, nullptr, cb, 0, 0.005)), 0x46, "0.01");
    expectSent(OP(ServiceCashInOut(link, nullptr, cb, 0, 0)), 0x46, "");
}

TEST_F(OperationsTest, PeriodicReportsFormatNumbersAndDates)
{
    expectSent(OP(FullPeriodicReportByNumber(link, nullptr, cb, 0, "0000", 1, 42)), 0x49,
               "0000,0001,0042");
    expectSent(OP(ShortPeriodicReportByNumber(link, nullptr, cb, 0, "0000", 12345, -5)), 0x5F,
               "0000,12345,-005");
    expectSent(OP(FullPeriodicReportByDate(link, nullptr, cb, 0, "0000", "10203", "1234567")), 0x5E,
               "0000, 10203,1234567");
    expectSent(OP(ShortPeriodicReportByDate(link, nullptr, cb, 0, "0000", "10203", "311224")), 0x4F,
               "0000,10203,311224");
}

TEST_F(OperationsTest, ReceiptCopies)
{
    expectSent(OP(PrintReceiptCopiesByNumber(link, nullptr, cb, 0, 5, 17)), 0xEB, "5,17");
    expectSent(
        OP(PrintReceiptCopiesByDate(link, nullptr, cb, 0, "010124", "0800", "020124", "2359", 1)),
        0xEE, "010124,0800,020124,2359,1");
}

TEST_F(OperationsTest, DataBeyondTheRequestLimitIsRefusedUnsent)
{
    const std::string longest(189, 'a');
    expectSent(OP(PrintFiscalText(link, nullptr, cb, 0, longest)), 0x36, longest);
    expectRefused(OP(PrintFiscalText(link, nullptr, cb, 0, longest + "b")));
    expectRefused(OP(Total(link, nullptr, cb, 0, std::string(180, 'x'), 'P', 123456789)));
    expectRefused(OP(ServiceCashInOut(link, nullptr, cb, 0, 1e200)));
    expectRefused(OP(RegisterSale(link, nullptr, cb, 0, 1, 7, 1e300, 0, 0)));
    expectRefused(OP(Subtotal(link, nullptr, cb, 0, 0, 0, -1e250, 0)));
}

TEST_F(OperationsTest, NumbersThatAreNotFiniteAreRefused)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    expectRefused(OP(RegisterSale(link, nullptr, cb, 0, 1, 7, nan, 0, 0)));
    expectRefused(OP(RegisterSale(link, nullptr, cb, 0, 1, 7, inf, 0, 0)));
    expectRefused(OP(RegisterSale(link, nullptr, cb, 0, 1, 7, 1, nan, 0)));
    expectRefused(OP(Total(link, nullptr, cb, 0, "", 'P', inf)));
    expectRefused(OP(ServiceCashInOut(link, nullptr, cb, 0, -inf)));
}

TEST(OperationsOnAClosedLink, NothingIsSentAndNoCallbackRuns)
{
    serial::PortRegistry ports;
    Link link(ports);
    int callbacks = 0;

    const int result = GetStatus(
        link, nullptr, [&](RetData&) { ++callbacks; }, 0, 0);

    EXPECT_EQ(result, -1);
    EXPECT_EQ(callbacks, 0);
}

} // namespace
} // namespace quorvex::link
