#include "fiscal/RegistrarStep.h"

namespace quorvex::fiscal {

bool runReportedStep(const link::Operation& operation, const std::string& failureMessage)
{
    return link::tellOutcome(link::runOperation(operation), {}, failureMessage);
}

} // namespace quorvex::fiscal
