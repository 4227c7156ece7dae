#include "serial/ComPortNames.h"

#include <gtest/gtest.h>

using namespace quorvex::serial;

// An unreadable device in the middle does not hide the ports after it.
TEST(ComPortNames, SkipsUnreadableDevicesAndPrinterPortsKeepingOrderAndSpelling)
{
    const std::vector<std::optional<std::string>> devices = {
        "COM3", std::nullopt, "LPT1", "com1", "Com12", std::nullopt, "CO", "ECP1", "COM2"};

    EXPECT_EQ(comPortNames(devices), (std::vector<std::string>{"COM3", "com1", "Com12", "COM2"}));
    EXPECT_TRUE(comPortNames({std::nullopt, std::nullopt}).empty());
}
