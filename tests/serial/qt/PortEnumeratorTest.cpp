#include "serial/qt/PortEnumerator.h"
#include "serial/Announce.h"
#include "serial/PortRegistry.h"
#include "serial/qt/QtSerialLine.h"
#include "tests/support/ScopedRuntimeDirectory.h"

#include "PtyPair.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

using namespace quorvex::serial;
using quorvex::serial::testing::PtyPair;
namespace fs = std::filesystem;

namespace {

// Registers two virtual ports in the process registry and points announcements at a private
// directory, restoring both afterwards.
class PortListing : public ::testing::Test {
protected:
    void SetUp() override
    {
        portRegistry().addVirtualPort("TESTEMU1", [](const std::string&, int) { return nullptr; });
        portRegistry().addVirtualPort("TESTEMU2", [](const std::string&, int) { return nullptr; });
        PortEnumerator reset;
    }
    void TearDown() override
    {
        PortEnumerator().EndEnumeratePorts();
        withdrawAnnouncement();
        portRegistry().removeVirtualPort("TESTEMU1");
        portRegistry().removeVirtualPort("TESTEMU2");
    }

    static std::vector<std::string> takeAll(PortEnumerator& control)
    {
        std::vector<std::string> names;
        for (std::string name = control.EnumeratePorts(); !name.empty() && name != "0";
             name = control.EnumeratePorts())
            names.push_back(name);
        return names;
    }

    quorvex::test_support::ScopedRuntimeDirectory m_runtimeScope{"quorvex-listing-"};
    const fs::path m_runtime = m_runtimeScope.path();
};

} // namespace

TEST_F(PortListing, ListsPresentPortsThenVirtualPortsThenAnnouncedEmulators)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    ASSERT_TRUE(announceEmulator(pty.slavePath()));
    std::vector<std::string> expected = presentSerialPortNames();
    expected.insert(expected.end(), {"TESTEMU1", "TESTEMU2", pty.slavePath()});
    PortEnumerator control;

    ASSERT_EQ(control.BeginEnumeratePorts(), 0);
    const auto names = takeAll(control);
    control.EndEnumeratePorts();

    EXPECT_EQ(names, expected);
    // The announced device opens through the real line, as the port lists need.
    EXPECT_NE(openRealSerialLine(names.back(), 19200), nullptr);
}

TEST_F(PortListing, ListingStateIsSharedAndFollowsBeginEnumerateEnd)
{
    PortEnumerator first;
    PortEnumerator second;
    const std::size_t present = presentSerialPortNames().size();

    EXPECT_EQ(first.BeginEnumeratePorts(), 0);
    for (std::size_t i = 0; i < present; ++i)
        (void)first.EnumeratePorts();
    EXPECT_EQ(second.BeginEnumeratePorts(), kListingBusy); // running listing untouched
    EXPECT_EQ(second.EnumeratePorts(), "TESTEMU1");
    EXPECT_EQ(first.EnumeratePorts(), "TESTEMU2");
    EXPECT_EQ(first.EnumeratePorts(), "");
    EXPECT_EQ(first.EnumeratePorts(), "");                // stays exhausted
    EXPECT_EQ(first.BeginEnumeratePorts(), kListingBusy); // even after exhaustion

    EXPECT_EQ(second.EndEnumeratePorts(), 0);
    EXPECT_EQ(second.EndEnumeratePorts(), 0);
    EXPECT_EQ(first.EnumeratePorts(), ""); // nothing outside a listing

    EXPECT_EQ(first.BeginEnumeratePorts(), 0); // a new listing starts from the top
    EXPECT_EQ(takeAll(first).size(), present + 2);
}

TEST_F(PortListing, ConstructingAnInstanceForcesIdle)
{
    PortEnumerator control;
    ASSERT_EQ(control.BeginEnumeratePorts(), 0);

    PortEnumerator another;

    EXPECT_EQ(control.BeginEnumeratePorts(), 0);
}

TEST(PortControl, PropertiesHaveTheirDefaults)
{
    const PortEnumerator control;

    EXPECT_EQ(control.Timeout.ReadTotalTimeoutConstant, 1000);
    EXPECT_EQ(control.Timeout.ReadIntervalTimeout + control.Timeout.ReadTotalTimeoutMultiplier +
                  control.Timeout.WriteTotalTimeoutMultiplier +
                  control.Timeout.WriteTotalTimeoutConstant,
              0);
    EXPECT_EQ(control.DTR, DTR_HANDSHAKE);
    EXPECT_EQ(control.RTS, RTS_HANDSHAKE);
    EXPECT_EQ(control.DataBits, Bits8);
    EXPECT_EQ(baudOf(control.BaudRate), 9600);
    EXPECT_EQ(baudOf(S011400), 11400);
    EXPECT_EQ(baudOf(S000110), 110);
    EXPECT_EQ(control.Parity, NO);
    EXPECT_EQ(control.StopBits, ONE);
}

TEST(PortControl, PortNamesSortNumbersByValue)
{
    std::vector<std::string> names{"ttyUSB0", "ttyS10", "ttyS2", "ttyACM0", "ttyS0", "ttyS1"};

    std::sort(names.begin(), names.end(), portNameLess);

    EXPECT_EQ(names, (std::vector<std::string>{"ttyACM0", "ttyS0", "ttyS1", "ttyS2", "ttyS10",
                                               "ttyUSB0"}));
    EXPECT_FALSE(portNameLess("ttyS1", "ttyS1"));
    EXPECT_TRUE(portNameLess("ttyS", "ttyS0"));
}
