#pragma once
// How the fiscal windows run one step of a receipt or report: the operations run their exchange
// and the result callback before they return, so nothing is ever waited for.
#include "link/Exchange.h"

#include <string>

namespace quorvex::fiscal {

// Runs the operation and tells the operator about a failure (the failure message, also after a
// time-out; an empty one shows nothing) or a request that was not sent. True when it was done.
bool runReportedStep(const link::Operation& operation, const std::string& failureMessage);

} // namespace quorvex::fiscal
