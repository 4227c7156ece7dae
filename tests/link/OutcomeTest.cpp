#include "link/Exchange.h"

#include "link/ResultState.h"
#include "platform/MessagePump.h"
#include "tests/support/platform/RecordingDialogs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvex::link {
namespace {

using Messages = std::vector<std::string>;

struct Case {
    const char* name;
    int sent;            // what the operation returns; -1 asks the unopened link to send
    std::uint32_t flags; // the answer's error flags given to the callback
    Outcome expected;
    Messages shown; // the callback's text, then tellOutcome's
};

TEST(Outcome, EachResultIsJudgedAndToldInItsOwnWords)
{
    const std::vector<Case> cases = {
        {"done", 0, 0, Outcome::Done, {"ok"}},
        {"registrar error", 0, 0x00000020, Outcome::Refused, {"Команда не разрешена", "failed"}},
        {"time-out", 0, ERR_TIMEOUT, Outcome::TimedOut, {"Таймаут", "late"}},
        {"busy past the limit",
         0,
         ERR_BUSY,
         Outcome::Busy,
         {"Регистратор занят слишком долго, ожидание ответа прервано", "failed"}},
        {"not sent", -1, 0, Outcome::NotSent, {refusalMessage(Refusal::NotIdle)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::ScopedRecordingDialogs dialogs;
        int pumped = 0;
        platform::setMessagePump([&] { ++pumped; });
        Link link;
        resultState().errorCount = 7;
        resultState().pendingAnswers = 7;
        int tag = -2;

        const ExchangeOutcome outcome = runOperation(
            [&](Link& target, NotifyWindow* window, ResultCallback callback, int fixedTag) {
                tag = fixedTag;
                EXPECT_EQ(window, nullptr);
                if (c.sent == -1)
                    return target.SendCommand(window, callback, fixedTag, 0x4A, "");
                RetData answer;
                answer.ErrorFlags = c.flags;
                callback(answer);
                return 0;
            },
            Pump::Yes, link);
        const bool done = tellOutcome(outcome, "ok", "failed", "late");
        platform::setMessagePump({});

        EXPECT_EQ(outcome.kind, c.expected);
        EXPECT_EQ(done, c.expected == Outcome::Done);
        EXPECT_EQ(dialogs->messages(), c.shown);
        EXPECT_EQ(tag, 0);
        EXPECT_EQ(pumped, 1);
        EXPECT_EQ(resultState().pendingAnswers, 0);
        EXPECT_EQ(resultState().errorCount, c.expected == Outcome::Done || c.sent == -1 ? 0 : 1);
    }
}

} // namespace
} // namespace quorvex::link
