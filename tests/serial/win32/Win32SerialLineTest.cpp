// The Win32 line on Windows (or Wine). The cases through a real port need one with a registrar
// on it, named by QUORVEX_TEST_COM_PORT (tools/windows-check.sh maps Wine's COM5 to the
// pseudo-terminal of a quorvex-emu); without it they are skipped.
#include "serial/win32/Win32SerialLine.h"
#include "link/Link.h"
#include "serial/PortRegistry.h"
#include "serial/win32/Win32PortList.h"
#include "tests/support/EmulatedRegistrars.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace quorvex {
namespace {

using serial::Win32SerialLine;
using std::chrono::steady_clock;

constexpr int kGetStatus = 0x4A;
constexpr int kArticle = 0x6B;

TEST(Win32SerialLine, RefusedOpensSayWhy)
{
    const struct {
        unsigned long error;
        std::string text;
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, "no such port COM7"},
        {ERROR_ACCESS_DENIED,
         "COM7 is in use by another program: close it there, then connect again"},
        {ERROR_SHARING_VIOLATION,
         "COM7 is in use by another program: close it there, then connect again"},
        {ERROR_SEM_TIMEOUT, "cannot open COM7: Windows error 121"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(serial::win32OpenFailureText(c.error, "COM7"), c.text) << "error " << c.error;

    std::string failure;
    EXPECT_EQ(Win32SerialLine::open("COM199", 19200, &failure), nullptr);
    EXPECT_EQ(failure, "no such port COM199");
    EXPECT_EQ(serial::win32DevicePath("COM12"), "\\\\.\\COM12");
    EXPECT_EQ(serial::win32DevicePath("\\\\.\\CNCA0"), "\\\\.\\CNCA0");
}

class Win32ComPort : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* port = std::getenv("QUORVEX_TEST_COM_PORT");
        if (!port || !*port)
            GTEST_SKIP() << "no COM port with a registrar on it (QUORVEX_TEST_COM_PORT)";
        m_port = port;
    }

    std::unique_ptr<Win32SerialLine> openPort()
    {
        std::string failure;
        auto line = Win32SerialLine::open(m_port, 115200, &failure);
        EXPECT_NE(line, nullptr) << failure;
        return line;
    }

    std::string m_port;
};

TEST_F(Win32ComPort, LinkExchangesWithTheRegistrarCyrillicTextIncluded)
{
    serial::PortRegistry ports;
    ports.setFallback([](const std::string& name, int baud, std::string& failure) {
        return Win32SerialLine::open(name, baud, &failure);
    });
    link::Link link(ports);
    ASSERT_GT(link.OpenFirstPort(m_port, 115200), 0);
    auto send = [&](int command, const std::string& data) {
        EXPECT_EQ(link.SendCommand(
                      nullptr, [](link::RetData&) {}, 0, command, data),
                  0);
        return link.retData();
    };

    const link::RetData status = send(kGetStatus, "W");
    const link::RetData programmed = send(kArticle, "PБ4711,3,12.50,9011,Хлеб ржаной");
    const link::RetData article = send(kArticle, "R4711");

    EXPECT_EQ(status.ErrorFlags, test_support::kFiscalisedFlags);
    EXPECT_EQ(status.RawAnswer.substr(0, 4), std::string("\x01\x2B\x21\x4A", 4));
    EXPECT_EQ(programmed.ErrorFlags, test_support::kFiscalisedFlags);
    ASSERT_EQ(article.FieldCount, 8);
    EXPECT_EQ(article.Fields[1], "Б");
    EXPECT_EQ(article.Fields[7], "Хлеб ржаной");
    EXPECT_NE(link.CloseFirstPort(), 0);
}

TEST_F(Win32ComPort, QuietLineGivesNothingAfterAboutAHundredMillisecondsAndPurgeDiscards)
{
    auto line = openPort();
    ASSERT_NE(line, nullptr);

    const auto start = steady_clock::now();
    const serial::ReadResult quiet = line->readByte();
    const auto waited = steady_clock::now() - start;
    // A status request whose answer arrives, is read up to its first byte and the rest then
    // discarded unread, whether still with the driver or already taken from it.
    const std::string request("\x01\x25\x21\x4A\x57\x05\x30\x30\x3E\x3C\x03", 11);
    ASSERT_TRUE(line->write(reinterpret_cast<const std::uint8_t*>(request.data()), request.size()));
    ASSERT_TRUE(line->flush());
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const serial::ReadResult first = line->readByte();
    ASSERT_TRUE(line->purge());

    EXPECT_EQ(quiet.kind, serial::ReadResult::Kind::Nothing);
    EXPECT_GE(waited, std::chrono::milliseconds(90));
    EXPECT_LT(waited, std::chrono::seconds(2));
    EXPECT_EQ(first.kind, serial::ReadResult::Kind::Byte);
    EXPECT_EQ(first.byte, 0x01);
    EXPECT_EQ(line->readByte().kind, serial::ReadResult::Kind::Nothing);
    EXPECT_FALSE(line->gone());
}

TEST_F(Win32ComPort, PortIsListed)
{
    const std::vector<std::string> listed = serial::win32SerialPortNames();

    EXPECT_NE(std::find(listed.begin(), listed.end(), m_port), listed.end());
}

// Windows gives a serial port to one program at a time. Wine serves ports through Unix
// devices and does not: there the case is skipped.
TEST_F(Win32ComPort, PortIsHeldForOneOpenAtATime)
{
    if (GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version"))
        GTEST_SKIP() << "Wine does not hold serial ports exclusively";
    auto first = openPort();
    ASSERT_NE(first, nullptr);
    std::string failure;

    const auto second = Win32SerialLine::open(m_port, 115200, &failure);

    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(failure,
              m_port + " is in use by another program: close it there, then connect again");
    EXPECT_TRUE(first->close());
    EXPECT_NE(Win32SerialLine::open(m_port, 115200), nullptr) << "free again once closed";
}

} // namespace
} // namespace quorvex
