#include "script/FramePacer.h"

#include <gtest/gtest.h>

namespace quorvex::script {
namespace {

using namespace std::chrono_literals;

// At most one ask per frame goes ahead, the first at once; restart makes the next one go.
TEST(FramePacer, OneAskPerFrameGoesAhead)
{
    std::chrono::steady_clock::time_point now{};
    FramePacer pacer([&now] { return now; }, 16ms);
    const struct {
        std::chrono::milliseconds advance;
        bool due;
    } asks[] = {{0ms, true},   {0ms, false},  {15ms, false}, {1ms, true},
                {10ms, false}, {100ms, true}, {0ms, false}};
    for (const auto& ask : asks) {
        now += ask.advance;
        EXPECT_EQ(pacer.due(), ask.due) << (now.time_since_epoch() / 1ms) << " ms";
    }

    pacer.restart();

    EXPECT_TRUE(pacer.due());
    EXPECT_FALSE(pacer.due());
}

} // namespace
} // namespace quorvex::script
