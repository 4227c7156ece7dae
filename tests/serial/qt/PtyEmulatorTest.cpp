// End to end: the link over the real serial line, talking to the quorvex-emu program through a
// pseudo-terminal in real time.
#include "PtyEmulatorProcess.h"
#include "link/Link.h"
#include "serial/PortRegistry.h"
#include "serial/qt/QtSerialLine.h"
#include "tests/support/EmulatedRegistrars.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace quorvex {
namespace {

namespace fs = std::filesystem;
using std::chrono::steady_clock;

constexpr int kGetStatus = 0x4A;
constexpr int kDiagnostic = 0x5A;

class PtyEmulator : public ::testing::Test {
protected:
    PtyEmulator()
    {
        char pattern[] = "/tmp/quorvex-pty-test-XXXXXX";
        m_announceDir = ::mkdtemp(pattern) ? pattern : "/tmp";
        serial::installRealSerialFallback(m_ports);
    }

    ~PtyEmulator() override
    {
        m_emulators.clear();
        std::error_code ignored;
        fs::remove_all(m_announceDir, ignored);
    }

    // Starts an emulator and returns its device path (empty when it did not start).
    std::string startEmulator(const std::vector<std::string>& options = {})
    {
        m_emulators.push_back(std::make_unique<testing::PtyEmulatorProcess>(
            QUORVEX_EMU_PATH, options, m_announceDir));
        return m_emulators.back()->devicePath();
    }

    const link::RetData& send(int command, const std::string& data)
    {
        EXPECT_EQ(m_link.SendCommand(
                      nullptr, [](link::RetData&) {}, 0, command, data),
                  0);
        return m_link.retData();
    }

    std::string m_announceDir;
    std::vector<std::unique_ptr<testing::PtyEmulatorProcess>> m_emulators;
    serial::PortRegistry m_ports;
    link::Link m_link{m_ports};
};

TEST_F(PtyEmulator, StatusAndDiagnosticOverTheRealLine)
{
    const std::string device = startEmulator();
    ASSERT_FALSE(device.empty());
    ASSERT_GT(m_link.OpenFirstPort(device, 115200), 0);

    const link::RetData status = send(kGetStatus, "W");
    const link::RetData diagnostic = send(kDiagnostic, "0");

    EXPECT_EQ(status.ErrorFlags, test_support::kFiscalisedFlags);
    EXPECT_EQ(
        status.RawAnswer,
        std::string("\x01\x2B\x21\x4A\x04\x80\x80\x80\x80\x80\xBA\x05\x30\x33\x3D\x39\x03", 17));
    EXPECT_EQ(diagnostic.ErrorFlags, test_support::kFiscalisedFlags);
    EXPECT_EQ(diagnostic.Fields[0], "5.00");
    EXPECT_EQ(diagnostic.Fields[6], "QV000001");
}

TEST_F(PtyEmulator, TwoEmulatorsOnBothPortsAnswerWithTheirOwnIdentity)
{
    const std::string first = startEmulator();
    const std::string second = startEmulator({"--version", "3.10", "--factory", "QV000002"});
    ASSERT_GT(m_link.OpenFirstPort(first, 19200), 0);
    ASSERT_GT(m_link.OpenSecondPort(second, 9600), 0);

    const std::string firstVersion = send(kDiagnostic, "0").Fields[0];
    m_link.UseSecondPort(1);
    const link::RetData other = send(kDiagnostic, "0");

    EXPECT_EQ(firstVersion, "5.00");
    EXPECT_EQ(other.Fields[0], "3.10");
    EXPECT_EQ(other.Fields[6], "QV000002");
}

TEST_F(PtyEmulator, NakAndFaultsArriveAsTheLinkSeesThem)
{
    const std::string nak = startEmulator({"--nak"});
    const std::string faulty =
        startEmulator({"--working", "300", "--garbage", "zz", "--status", "2=0x01"});
    ASSERT_GT(m_link.OpenFirstPort(nak, 19200), 0);
    ASSERT_GT(m_link.OpenSecondPort(faulty, 19200), 0);

    const std::uint32_t rejected = send(kGetStatus, "W").ErrorFlags;
    m_link.UseSecondPort(1);
    const link::RetData working = send(kGetStatus, "W");

    EXPECT_EQ(rejected, link::ERR_NAK);
    EXPECT_EQ(working.ErrorFlags, 0x00000200u | test_support::kFiscalisedFlags);
    EXPECT_EQ(working.RawAnswer.rfind("zz\x01", 0), 0u);
}

TEST_F(PtyEmulator, SilentEmulatorTimesOutAfterFiveSeconds)
{
    const std::string device = startEmulator({"--silent"});
    ASSERT_GT(m_link.OpenFirstPort(device, 19200), 0);
    const auto started = steady_clock::now();

    const link::RetData& r = send(kGetStatus, "W");
    const auto elapsed = steady_clock::now() - started;

    EXPECT_EQ(r.ErrorFlags, link::ERR_TIMEOUT);
    EXPECT_GE(elapsed, std::chrono::milliseconds(4900));
    EXPECT_LT(elapsed, std::chrono::milliseconds(7000));
}

TEST_F(PtyEmulator, EmulatorGoneBetweenCommandsEndsTheNextAtOnceAndReconnectingWorks)
{
    const std::string gone = startEmulator();
    ASSERT_GT(m_link.OpenFirstPort(gone, 19200), 0);
    ASSERT_EQ(send(kGetStatus, "W").ErrorFlags, test_support::kFiscalisedFlags);

    m_emulators.back()->stop();
    const auto started = steady_clock::now();
    const link::RetData lost = send(kGetStatus, "W");
    const auto elapsed = steady_clock::now() - started;
    const int closed = m_link.CloseFirstPort();
    const std::string back = startEmulator();
    ASSERT_GT(m_link.OpenFirstPort(back, 19200), 0);

    EXPECT_EQ(lost.ErrorFlags, link::ERR_TIMEOUT);
    EXPECT_NE(lost.LineFault.find(gone), std::string::npos);
    EXPECT_LT(elapsed, std::chrono::milliseconds(1000));
    EXPECT_NE(closed, 0);
    EXPECT_EQ(send(kGetStatus, "W").ErrorFlags, test_support::kFiscalisedFlags);
}

TEST_F(PtyEmulator, AnnouncementLastsUntilTheEmulatorIsStopped)
{
    const std::string device = startEmulator();
    ASSERT_FALSE(device.empty());
    const fs::path announcements = fs::path(m_announceDir) / "quorvex-emu";
    const auto countFiles = [&] {
        std::error_code ignored;
        return std::distance(fs::directory_iterator(announcements, ignored),
                             fs::directory_iterator());
    };

    // The path is printed first and the announcement follows it.
    const auto deadline = steady_clock::now() + std::chrono::seconds(2);
    while (countFiles() == 0 && steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const auto whileRunning = countFiles();
    const int exitCode = m_emulators.back()->stop();

    EXPECT_EQ(whileRunning, 1);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(countFiles(), 0);
}

} // namespace
} // namespace quorvex
