// The emulator behind the link's own exchange, in virtual time: every fault as the host sees it.
#include "emulator/EmulatedLine.h"
#include "emulator/Registrar.h"
#include "link/Frame.h"
#include "link/Link.h"
#include "tests/support/EmulatedRegistrars.h"

#include <gtest/gtest.h>

#include <chrono>

namespace quorvex::emulator {
namespace {

constexpr int kGetStatus = 0x4A;
constexpr int kDiagnostic = 0x5A;

class EmulatedExchange : public ::testing::Test {
protected:
    EmulatedExchange()
    {
        m_ports.addVirtualPort(
            "TEST", [this](const std::string&, int) { return makeEmulatedLine(m_registrar); });
        EXPECT_GT(m_link.OpenFirstPort("TEST", 19200), 0);
    }

    const link::RetData& send(int command, const std::string& data)
    {
        EXPECT_EQ(m_link.SendCommand(
                      nullptr, [](link::RetData&) {}, 0, command, data),
                  0);
        return m_link.retData();
    }

    Registrar m_registrar;
    serial::PortRegistry m_ports;
    link::Link m_link{m_ports};
};

TEST_F(EmulatedExchange, StatusQueryAnswersWithoutDataAsAFiscalisedRegistrar)
{
    const link::RetData& r = send(kGetStatus, "W");

    EXPECT_EQ(r.ErrorFlags, test_support::kFiscalisedFlags);
    EXPECT_EQ(r.FieldCount, 0);
    EXPECT_EQ(r.Status, (std::array<std::uint8_t, 6>{0, 0, 0, 0, 0, test_support::kFiscalisedS5}));
    ASSERT_EQ(m_registrar.handledRequests().size(), 1u);
    EXPECT_EQ(m_registrar.handledRequests()[0].data, "W");
    EXPECT_EQ(m_registrar.handledRequests()[0].sequence, 1);
}

TEST_F(EmulatedExchange, DiagnosticFieldsOneAndSevenSurviveTheHostsRewrite)
{
    const link::RetData& shortVersion = send(kDiagnostic, "0");
    const std::string firstVersion = shortVersion.Fields[0];
    const std::string firstFactory = shortVersion.Fields[6];
    m_registrar.identity() = {"12.345.6789", "ZX9"};
    const link::RetData& longVersion = send(kDiagnostic, "0");

    EXPECT_EQ(firstVersion, "5.00");
    EXPECT_EQ(firstFactory, "QV000001");
    EXPECT_EQ(longVersion.ErrorFlags, test_support::kFiscalisedFlags);
    EXPECT_EQ(longVersion.FieldCount, 8);
    EXPECT_EQ(longVersion.Fields[0], "12.345.6789");
    EXPECT_EQ(longVersion.Fields[1], "05Dec26");
    EXPECT_EQ(longVersion.Fields[6], "ZX9");
}

TEST_F(EmulatedExchange, NakIsTheOnlyErrorBit)
{
    m_registrar.faults().answerNak = true;
    m_registrar.faults().statusBits[0] = 0x01;

    const link::RetData& r = send(kGetStatus, "W");

    EXPECT_EQ(r.ErrorFlags, link::ERR_NAK);
    EXPECT_EQ(m_registrar.handledCommands().size(), 1u);
}

TEST_F(EmulatedExchange, SilenceTimesOutInVirtualTimeOnly)
{
    m_registrar.faults().silent = true;
    const auto started = std::chrono::steady_clock::now();

    const link::RetData& r = send(kGetStatus, "W");
    const auto wall = std::chrono::steady_clock::now() - started;

    EXPECT_EQ(r.ErrorFlags, link::ERR_TIMEOUT);
    EXPECT_EQ(r.Status, (std::array<std::uint8_t, 6>{}));
    EXPECT_EQ(m_registrar.nowMs(), 5000);
    EXPECT_LT(wall, std::chrono::milliseconds(500));
}

TEST_F(EmulatedExchange, WorkingRegistrarHoldsTheExchangeWithSynBeyondTheTimeout)
{
    m_registrar.faults().workingMs = 7000;

    const link::RetData& r = send(kDiagnostic, "0");

    EXPECT_EQ(r.ErrorFlags, test_support::kFiscalisedFlags);
    EXPECT_EQ(r.Fields[0], "5.00");
    EXPECT_GE(m_registrar.nowMs(), 7000);
    EXPECT_LT(m_registrar.nowMs(), 7300);
    EXPECT_EQ(r.RawAnswer.find('\x16'), std::string::npos);
    EXPECT_EQ(r.RawAnswer.front(), '\x01');
}

TEST_F(EmulatedExchange, InjectedStatusBitsReachTheErrorWord)
{
    m_registrar.faults().statusBits[2] = 0x01; // paper out

    const std::uint32_t paperOut = send(kGetStatus, "W").ErrorFlags;
    m_registrar.faults().statusBits[0] = 0x01; // and a syntax error
    const link::RetData& both = send(kGetStatus, "W");

    EXPECT_EQ(paperOut, 0x00000200u | test_support::kFiscalisedFlags);
    EXPECT_EQ(both.ErrorFlags, 0x00000201u | test_support::kFiscalisedFlags);
    EXPECT_EQ(both.Status[0], 0x01);
    EXPECT_EQ(both.Status[2], 0x01);
}

TEST_F(EmulatedExchange, CorruptChecksumIsReportedAsBcc)
{
    m_registrar.faults().corruptChecksum = true;

    EXPECT_EQ(send(kGetStatus, "W").ErrorFlags, link::ERR_BCC);
}

TEST_F(EmulatedExchange, GarbageBeforeTheFrameIsTolerated)
{
    m_registrar.faults().garbageBefore = "\x7F\xFFnoise\x04";

    const link::RetData& r = send(kDiagnostic, "0");

    EXPECT_EQ(r.ErrorFlags, test_support::kFiscalisedFlags);
    EXPECT_EQ(r.Fields[6], "QV000001");
    EXPECT_EQ(r.RawAnswer.rfind("\x7F\xFFnoise\x04", 0), 0u);
}

TEST_F(EmulatedExchange, AnswerDataOverrideGivesChosenFieldsUntilCleared)
{
    m_registrar.setAnswerData(kGetStatus, "12,,Товар,");

    const link::RetData overridden = send(kGetStatus, "X");
    m_registrar.clearAnswerData(kGetStatus);
    const link::RetData& plain = send(kGetStatus, "X");

    EXPECT_EQ(overridden.FieldCount, 4);
    EXPECT_EQ(overridden.Fields[0], "12");
    EXPECT_EQ(overridden.Fields[1], "");
    EXPECT_EQ(overridden.Fields[2], "Товар");
    EXPECT_EQ(plain.FieldCount, 0);
}

struct Measured {
    link::RetData result;
    std::int64_t elapsedMs = 0;
};

// One diagnostic request on a fresh link and registrar, so that both modes see the same SEQ.
Measured measure(link::AnswerEnd mode, const Faults& faults)
{
    Registrar registrar;
    registrar.faults() = faults;
    serial::PortRegistry ports;
    ports.addVirtualPort("TEST",
                         [&](const std::string&, int) { return makeEmulatedLine(registrar); });
    link::Link link(ports);
    link.setAnswerEnd(mode);
    EXPECT_GT(link.OpenFirstPort("TEST", 19200), 0);
    EXPECT_EQ(link.SendCommand(
                  nullptr, [](link::RetData&) {}, 0, kDiagnostic, "0"),
              0);
    return {link.retData(), registrar.nowMs()};
}

TEST(AnswerEnd, EtxSkipsOnlyTheQuietReadAfterAGoodFrameOrANak)
{
    struct Case {
        const char* name;
        Faults faults;
        std::uint32_t errorWord;
        std::int64_t quietMs;
        std::int64_t etxMs;
    };
    Faults badChecksum;
    badChecksum.corruptChecksum = true;
    Faults nak;
    nak.answerNak = true;
    Faults working;
    working.workingMs = 7000;
    // A whole frame with a wrong last digit before the answer: its ETX must not end the
    // exchange, nor may the answer's matching digits before the answer's own ETX.
    link::Bytes bad = link::buildAnswerFrame(0x21, kDiagnostic, "", {});
    bad[bad.size() - 2] ^= 0x01;
    Faults badFrameFirst;
    badFrameFirst.garbageBefore.assign(bad.begin(), bad.end());
    const Case cases[] = {
        {"clean answer", {}, test_support::kFiscalisedFlags, 100, 0},
        {"bad checksum waits", badChecksum, link::ERR_BCC, 100, 100},
        {"NAK", nak, link::ERR_NAK, 100, 0},
        {"SYN keeps it waiting", working, test_support::kFiscalisedFlags, 7100, 7000},
        {"bad frame, then the answer", badFrameFirst, test_support::kFiscalisedFlags, 100, 0},
    };
    for (const Case& c : cases) {
        const Measured quiet = measure(link::AnswerEnd::Quiet, c.faults);
        const Measured etx = measure(link::AnswerEnd::Etx, c.faults);

        EXPECT_EQ(quiet.elapsedMs, c.quietMs) << c.name;
        EXPECT_EQ(etx.elapsedMs, c.etxMs) << c.name;
        EXPECT_EQ(etx.result.ErrorFlags, c.errorWord) << c.name;
        EXPECT_EQ(quiet.result.ErrorFlags, c.errorWord) << c.name;
        EXPECT_EQ(etx.result.RawAnswer, quiet.result.RawAnswer) << c.name;
        EXPECT_EQ(etx.result.Status, quiet.result.Status) << c.name;
        EXPECT_EQ(etx.result.FieldCount, quiet.result.FieldCount) << c.name;
        EXPECT_EQ(etx.result.Fields, quiet.result.Fields) << c.name;
    }
}

TEST(EmulatedPorts, Emu1AndEmu2ReportDifferentIdentities)
{
    resetProcessRegistrars();
    serial::PortRegistry ports;
    registerEmulatedPorts(ports);
    link::Link link(ports);
    ASSERT_GT(link.OpenFirstPort("EMU1", 19200), 0);
    ASSERT_GT(link.OpenSecondPort("EMU2", 115200), 0);
    auto ignore = [](link::RetData&) {};

    EXPECT_EQ(link.SendCommand(nullptr, ignore, 0, kDiagnostic, "0"), 0);
    const link::RetData first = link.retData();
    link.UseSecondPort(1);
    EXPECT_EQ(link.SendCommand(nullptr, ignore, 0, kDiagnostic, "0"), 0);
    const link::RetData second = link.retData();

    EXPECT_EQ(ports.virtualPortNames(), (std::vector<std::string>{"EMU1", "EMU2"}));
    EXPECT_EQ(first.Fields[0], "5.00");
    EXPECT_EQ(first.Fields[6], "QV000001");
    EXPECT_EQ(second.Fields[0], "3.10");
    EXPECT_EQ(second.Fields[6], "QV000002");
    EXPECT_EQ(processRegistrar(1).handledCommands().size(), 1u);
    EXPECT_EQ(processRegistrar(2).handledCommands().size(), 1u);
    EXPECT_THROW(processRegistrar(3), std::out_of_range);
}

TEST(EmulatedLineBehaviour, PurgeDropsQueuedOutputAndCloseEndsTheLine)
{
    Registrar registrar;
    registrar.faults().workingMs = 1000;
    auto line = makeEmulatedLine(registrar);
    const std::uint8_t request[] = {0x01, 0x24, 0x21, 0x38, 0x05, 0x30, 0x30, 0x38, 0x32, 0x03};

    ASSERT_TRUE(line->write(request, sizeof request));
    const bool queued = registrar.hasPendingOutput();
    EXPECT_TRUE(line->purge());
    const auto afterPurge = line->readByte();
    EXPECT_TRUE(line->close());
    const bool writeAfterClose = line->write(request, sizeof request);

    EXPECT_TRUE(queued);
    EXPECT_EQ(afterPurge.kind, serial::ReadResult::Kind::Nothing);
    EXPECT_FALSE(writeAfterClose);
    EXPECT_EQ(registrar.handledCommands().size(), 1u);
}

} // namespace
} // namespace quorvex::emulator
