// The emulated modem report and network parameters, and the options that set them.
#include "emulator/EmulatorOptions.h"
#include "emulator/FiscalModel.h"

#include <gtest/gtest.h>

namespace quorvex::emulator {
namespace {

constexpr const char* kDefaultNetwork = "0,C0A8010A,FFFFFF00,C0A80101,0A000005,901F,3C00,1E00";

class NetworkCommandsTest : public ::testing::Test {
protected:
    ModelAnswer send(int command, const std::string& data)
    {
        auto answer = m_model.handle(command, data, 0);
        EXPECT_TRUE(answer.has_value()) << command;
        return answer.value_or(ModelAnswer{});
    }

    FiscalModel m_model;
};

TEST_F(NetworkCommandsTest, ModemReportCarriesTheStateByteAndFourTimes)
{
    m_model.network().setModemState(0x0C);
    m_model.network().modemTimes() = {"01.02.26", "03:04", "05.06.26", "07:08"};

    const ModelAnswer answer = send(kModemStateCommand, "0");

    EXPECT_EQ(answer.data, "0C,01.02.26,03:04,05.06.26,07:08");
    EXPECT_EQ(answer.bits, StatusBits{});
    EXPECT_TRUE(m_model.state().journal.empty());
}

TEST_F(NetworkCommandsTest, ModemReportIsPrintedOnlyWhenAskedAndOtherDataIsRefused)
{
    m_model.network().setModemStateField("a5");

    const ModelAnswer printed = send(kModemStateCommand, "1");
    const ModelAnswer refusedAnswer = send(kModemStateCommand, "2");

    EXPECT_EQ(printed.data.substr(0, 3), "a5,");
    ASSERT_EQ(m_model.state().journal.size(), 1u);
    EXPECT_EQ(m_model.state().journal[0].kind, DocumentKind::ModemReport);
    EXPECT_NE(m_model.state().journal[0].printed.at(1).find("a5"), std::string::npos);
    EXPECT_EQ(refusedAnswer.bits, refusal::kSyntaxError);
    EXPECT_EQ(m_model.state().journal.size(), 1u);

    // A printed report is a document: not inside an open receipt; the answer alone still is.
    m_model.state().openReceipt = OpenReceipt::Fiscal;
    EXPECT_EQ(send(kModemStateCommand, "1").bits, refusal::kNotAllowed);
    EXPECT_EQ(send(kModemStateCommand, "0").bits, StatusBits{});
    EXPECT_EQ(m_model.state().journal.size(), 1u);
}

TEST_F(NetworkCommandsTest, WrittenParametersAreReadBackInUpperCase)
{
    const ModelAnswer written = send(kWriteNetworkCommand, "1,0a000001,FFFF0000,0A0000FE,"
                                                           "C0A80005,5000,A005,0A00");

    EXPECT_EQ(written.bits, StatusBits{});
    EXPECT_EQ(send(kReadNetworkCommand, "").data,
              "1,0A000001,FFFF0000,0A0000FE,C0A80005,5000,A005,0A00");
}

TEST_F(NetworkCommandsTest, MalformedWritesAreRefusedAndChangeNothing)
{
    const char* malformed[] = {
        "0,C0A8010A,FFFFFF00,C0A80101,0A000005,901F,3C00",       // seven members
        "0,C0A8010A,FFFFFF00,C0A80101,0A000005,901F,3C00,1E00,", // nine
        "2,C0A8010A,FFFFFF00,C0A80101,0A000005,901F,3C00,1E00",  // DHCP neither 0 nor 1
        "0,0A0001,FFFFFF00,C0A80101,0A000005,901F,3C00,1E00",    // three-part address
        "0,C0A8010A,FFFFFF00,C0A80101,0A00012C0,901F,3C00,1E00", // nine digits
        "0,C0A8010A,FFFFFF00,C0A80101,0A000005,901F0,3C00,1E00", // five-digit number
        "0,C0A8010A,FFFFFF00,C0A80101,0A000005,90 F,3C00,1E00",  // not a hex digit
        "",
    };
    for (const char* data : malformed) {
        const ModelAnswer answer = send(kWriteNetworkCommand, data);

        EXPECT_EQ(answer.bits, refusal::kSyntaxError) << data;
        EXPECT_EQ(send(kReadNetworkCommand, "").data, kDefaultNetwork) << data;
    }
    EXPECT_EQ(send(kReadNetworkCommand, "x").bits, refusal::kSyntaxError);
}

TEST(NetworkOptions, SetTheAnswerFieldsAsTheyAreToBeSent)
{
    const ParsedOptions parsed = parseEmulatorOptions(
        {"--modem-state", "5", "--network", "1,c0a80001,FFFF,,0A000005,901F,3C00,1E00"});
    Registrar registrar;

    applyOptions(parsed.options, registrar);

    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(registrar.answerFor(kModemStateCommand, "0").data.substr(0, 2), "5,");
    EXPECT_EQ(registrar.answerFor(kReadNetworkCommand, "").data,
              "1,c0a80001,FFFF,,0A000005,901F,3C00,1E00");
    for (const char* option : {"--modem-state", "--network"})
        EXPECT_NE(emulatorUsage().find(option), std::string::npos) << option;
}

TEST(NetworkOptions, BadValuesAreNamedInTheMessage)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--modem-state", "A,5"},
        {"--network", "1,2,3,4,5,6,7"},
        {"--network", "1,2,3,4,5,6,7,8,9"},
    };
    for (const auto& args : bad) {
        const ParsedOptions parsed = parseEmulatorOptions(args);

        EXPECT_NE(parsed.error.find(args[0]), std::string::npos) << args[1];
    }
}

} // namespace
} // namespace quorvex::emulator
