#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <ctime>

using namespace quorvex::platform;

namespace {

TEST(SystemClock, ReadsTheLocalDateAndTime)
{
    // Retried when a second boundary falls between the two readings.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::time_t before = std::time(nullptr);
        const LocalTime now = systemClock().now();
        if (std::time(nullptr) != before)
            continue;
        const std::tm expected = *std::localtime(&before);

        EXPECT_EQ(now.day, expected.tm_mday);
        EXPECT_EQ(now.month, expected.tm_mon + 1);
        EXPECT_EQ(now.year, expected.tm_year + 1900);
        EXPECT_EQ(now.hour, expected.tm_hour);
        EXPECT_EQ(now.minute, expected.tm_min);
        EXPECT_EQ(now.second, expected.tm_sec);
        return;
    }
    FAIL() << "the clock never held still for one reading";
}

} // namespace
