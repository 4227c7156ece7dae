#include "link/Exchange.h"

#include "link/ResultState.h"
#include "platform/Dialogs.h"
#include "platform/MessagePump.h"

namespace quorvex::link {

namespace {

ExchangeOutcome judge(int sent, const Link& link)
{
    if (sent == -1)
        return {Outcome::NotSent, link.lastRefusal()};
    const ResultState& state = resultState();
    if ((state.copy.ErrorFlags & ERR_TIMEOUT) != 0 || !state.copy.LineFault.empty())
        return {Outcome::TimedOut, Refusal::None};
    if ((state.copy.ErrorFlags & ERR_BUSY) != 0)
        return {Outcome::Busy, Refusal::None};
    return {state.errorCount > 0 ? Outcome::Refused : Outcome::Done, Refusal::None};
}

void show(const std::string& text)
{
    if (!text.empty())
        platform::dialogs().showMessage(text);
}

} // namespace

ExchangeOutcome runOperation(const Operation& operation, Pump pump, Link& link)
{
    ResultState& state = resultState();
    state.pendingAnswers = 1;
    state.errorCount = 0;
    const int sent = operation(link, nullptr, PrinterResultsx, 0);
    if (sent == -1)
        state.pendingAnswers = 0;
    if (pump == Pump::Yes)
        platform::processPendingMessages();
    return judge(sent, link);
}

ExchangeOutcome runCommand(int command, const std::string& data, Pump pump, Link& link)
{
    return runOperation(
        [&](Link& target, NotifyWindow* window, ResultCallback callback, int tag) {
            return target.SendCommand(window, std::move(callback), tag, command, data);
        },
        pump, link);
}

bool tellOutcome(const ExchangeOutcome& outcome, const std::string& done, const std::string& failed,
                 const std::string& timedOut)
{
    switch (outcome.kind) {
    case Outcome::Done:
        show(done);
        return true;
    case Outcome::Refused:
    case Outcome::Busy:
        show(failed);
        return false;
    case Outcome::TimedOut:
        show(timedOut.empty() ? failed : timedOut);
        return false;
    case Outcome::NotSent:
        show(refusalMessage(outcome.refusal));
        return false;
    }
    return false;
}

} // namespace quorvex::link
