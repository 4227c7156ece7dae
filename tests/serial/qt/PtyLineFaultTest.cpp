// The link over the real serial line when the other end misbehaves: it hangs up in the middle of
// an answer, or it never stops sending.
#include "PtyPair.h"
#include "link/Frame.h"
#include "link/Link.h"
#include "platform/qt/TextCodec.h"
#include "serial/PortRegistry.h"
#include "serial/qt/QtSerialLine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace quorvex {
namespace {

using serial::testing::PtyPair;
using std::chrono::steady_clock;

class PtyLineFault : public ::testing::Test {
protected:
    PtyLineFault() { serial::installRealSerialFallback(m_ports); }

    const link::RetData& send()
    {
        const auto started = steady_clock::now();
        EXPECT_EQ(m_link.SendCommand(
                      nullptr, [](link::RetData&) {}, 0, 0x4A, "W"),
                  0);
        m_elapsed = steady_clock::now() - started;
        return m_link.retData();
    }

    PtyPair m_pty;
    serial::PortRegistry m_ports;
    link::Link m_link{m_ports};
    steady_clock::duration m_elapsed{};
};

TEST_F(PtyLineFault, HangUpInTheMiddleOfAnAnswerEndsTheExchangeAtOnceNamingThePort)
{
    ASSERT_TRUE(m_pty.ok());
    ASSERT_GT(m_link.OpenFirstPort(m_pty.slavePath(), 19200), 0);
    const link::Bytes answer = link::buildAnswerFrame(0x21, 0x4A, "OK", {});
    std::thread device([&] {
        (void)m_pty.receive(11); // the request
        m_pty.send(link::Bytes(answer.begin(), answer.begin() + 8));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        m_pty.closeMaster();
    });

    const link::RetData r = send();
    device.join();

    EXPECT_EQ(r.ErrorFlags, link::ERR_TIMEOUT);
    EXPECT_EQ(r.RawAnswer, std::string(answer.begin(), answer.begin() + 8));
    EXPECT_EQ(platform::fromCp1251(r.LineFault),
              QString::fromStdString("Порт " + m_pty.slavePath() +
                                     ": устройство отключено или линия разорвана"));
    EXPECT_LT(m_elapsed, std::chrono::milliseconds(1500)); // not the five-second time-out
}

TEST_F(PtyLineFault, EndlessNoiseIsCutWithTheProtocolError)
{
    ASSERT_TRUE(m_pty.ok());
    ASSERT_GT(m_link.OpenFirstPort(m_pty.slavePath(), 115200), 0);
    std::atomic<bool> stop{false};
    std::thread noise([&] {
        const link::Bytes chunk(512, 0xAA);
        while (!stop)
            m_pty.sendWithin(chunk, 20);
    });

    const link::RetData r = send();
    stop = true;
    noise.join();

    EXPECT_EQ(r.ErrorFlags, link::ERR_BCC);
    EXPECT_LT(m_elapsed, std::chrono::seconds(3));
}

} // namespace
} // namespace quorvex
