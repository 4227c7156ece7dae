#pragma once
// One registrar operation as a window runs it: reset the counters, send with the fixed leading
// arguments, optionally let pending messages run, and tell apart the four results a window
// reports differently.
#include "link/Link.h"

#include <functional>
#include <string>

namespace quorvex::link {

enum class Outcome {
    Done,     // answered without an error
    Refused,  // the registrar answered with an error (the callback has shown its text)
    TimedOut, // no answer in time, or the line was lost
    Busy,     // the registrar kept signalling busy past the busy limit (the callback has said so)
    NotSent,  // refused by the link before sending; nothing was sent and no callback ran
};

struct ExchangeOutcome {
    Outcome kind = Outcome::Done;
    Refusal refusal = Refusal::None; // the link's reason when NotSent

    [[nodiscard]] bool done() const { return kind == Outcome::Done; }
};

// A typed operation with its own arguments bound; it receives the fixed leading ones (link,
// notify window, callback, tag) and returns what the operation returns. Written at the call site
// as  [&](auto&&... fixed) { return link::DailyReport(fixed..., password, 0); }
using Operation = std::function<int(Link&, NotifyWindow*, ResultCallback, int)>;

enum class Pump { No, Yes }; // Yes: let pending messages run once the operation has returned

// Sets the pending-answers counter to 1 and the error counter to 0, runs the operation on the
// link with no notify window, the PrinterResultsx callback and tag 0, and judges the result.
// When nothing was sent the pending-answers counter is put back to 0, since no answer will come.
[[nodiscard]] ExchangeOutcome runOperation(const Operation& operation, Pump pump = Pump::No,
                                           Link& link = processLink());

// The same for a raw command code and its data text.
[[nodiscard]] ExchangeOutcome runCommand(int command, const std::string& data, Pump pump = Pump::No,
                                         Link& link = processLink());

// Shows the outcome's message through the process dialogs (Windows-1251 texts): `done` when done,
// `failed` when refused or busy, `timedOut` on a time-out (`failed` when it is empty), the link's
// reason when not sent. An empty text shows nothing. True when done.
bool tellOutcome(const ExchangeOutcome& outcome, const std::string& done, const std::string& failed,
                 const std::string& timedOut = {});

} // namespace quorvex::link
