#include "fiscal/RegistrarVersion.h"

#include <gtest/gtest.h>

namespace quorvex::fiscal {
namespace {

TEST(RegistrarVersion, CopiesKeptByVersionsFiveAndFourAnywhereInTheField)
{
    const std::pair<const char*, bool> cases[] = {
        {"5.00", true},  {"4.00", true}, {"4.01", true},  {"v14.01b", true},
        {"3.10", false}, {"5.0", false}, {"4.02", false}, {"", false},
    };
    for (const auto& [field, keeps] : cases)
        EXPECT_EQ(keepsReceiptCopies(field), keeps) << field;
}

} // namespace
} // namespace quorvex::fiscal
