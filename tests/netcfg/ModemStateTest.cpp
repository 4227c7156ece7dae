// The modem state byte as answer field 1 carries it.
#include "netcfg/ModemState.h"

#include <gtest/gtest.h>

namespace quorvex::netcfg {
namespace {

TEST(ModemStateByte, UpperCaseHexDigitsOnlyHighHalfFirst)
{
    const struct {
        const char* field;
        int state;
    } cases[] = {
        {"A5", 0xA5}, {"0C", 0x0C}, {"FF", 0xFF}, {"00", 0x00},
        {"a5", 0x05}, // a lower-case letter is not a digit and counts 0
        {"5", 0x50},  // a lone character is the high half
        {"", 0x00},   {"G1", 0x01}, {"1G", 0x10}, {"12Z", 0x12},
    };
    for (const auto& c : cases)
        EXPECT_EQ(modemStateByte(c.field), c.state) << '"' << c.field << '"';
}

} // namespace
} // namespace quorvex::netcfg
