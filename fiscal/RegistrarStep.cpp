#include "fiscal/RegistrarStep.h"

#include "link/Link.h"
#include "link/ResultState.h"
#include "platform/Dialogs.h"

namespace quorvex::fiscal {

StepResult runStep(const std::function<int()>& operation)
{
    link::ResultState& state = link::resultState();
    state.pendingAnswers = 1;
    state.errorCount = 0;
    if (operation() == -1) {
        state.pendingAnswers = 0;
        return StepResult::NotSent;
    }
    return state.errorCount > 0 ? StepResult::Failed : StepResult::Done;
}

bool runReportedStep(const std::function<int()>& operation, const std::string& failureMessage)
{
    switch (runStep(operation)) {
    case StepResult::Done:
        return true;
    case StepResult::Failed:
        if (!failureMessage.empty())
            platform::dialogs().showMessage(failureMessage);
        return false;
    case StepResult::NotSent:
        platform::dialogs().showMessage(notSentMessage());
        return false;
    }
    return false;
}

std::string notSentMessage()
{
    return link::refusalMessage(link::processLink().lastRefusal());
}

} // namespace quorvex::fiscal
