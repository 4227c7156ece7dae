#pragma once
// How the fiscal windows run one registrar operation and judge it. The operations run their
// exchange and the result callback before they return, so nothing is ever waited for: an
// operation that returns -1 sent nothing and ran no callback, and is reported as not sent.
#include <functional>
#include <string>

namespace quorvex::fiscal {

enum class StepResult {
    Done,    // answered without an error
    Failed,  // the callback counted an error (and has shown its text)
    NotSent, // refused before sending: link not open or busy, or arguments refused
};

// Sets the pending-answers counter to 1 and the error counter to 0, runs the operation (which
// must use the callback PrinterResultsx) and judges the result. When nothing was sent the
// pending-answers counter is put back to 0, since no answer will ever come.
StepResult runStep(const std::function<int()>& operation);

// runStep, telling the operator about a failure or a request that was not sent; an empty failure
// message shows nothing for a failure. True when the step was done.
bool runReportedStep(const std::function<int()>& operation, const std::string& failureMessage);

// The message for a request that was not sent: the process link's reason for its last refusal.
[[nodiscard]] std::string notSentMessage();

} // namespace quorvex::fiscal
