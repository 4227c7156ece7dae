#include "script/ManualCommand.h"

#include "platform/NumberText.h"
#include "script/ScriptHost.h"

namespace quorvex::script {

const char* const kBadCommandCodeMessage = "Неверный код команды!";

namespace {

ExecuteHooks manualDisplayHooks(ScriptHost& host)
{
    ExecuteHooks hooks;
    hooks.onFirstAnswer = [&host](const link::RetData& answer) {
        if (!host.noOutput()) {
            host.addMemoLine(exchangeLinePc(answer));
            host.addMemoLine(exchangeLineFp(answer));
        }
        host.setStatusText(statusText(answer));
    };
    return hooks;
}

ExecuteOutcome reportFailure(ScriptHost& host, ExecuteOutcome outcome)
{
    if (outcome == ExecuteOutcome::FirstTimedOut || outcome == ExecuteOutcome::SecondTimedOut)
        host.showMessage(noAnswerMessage());
    if (outcome == ExecuteOutcome::Refused)
        host.showMessage(link::refusalMessage(link::processLink().lastRefusal()));
    return outcome;
}

} // namespace

CommandCodeConversion convertCommandCode(const std::string& twoCharacters)
{
    CommandCodeConversion result;
    const int high = twoCharacters.size() > 0 ? platform::hexDigitValue(twoCharacters[0]) : -1;
    if (high < 0) {
        result.valid = false;
        return result;
    }
    result.code = 16 * high;
    const int low = twoCharacters.size() > 1 ? platform::hexDigitValue(twoCharacters[1]) : -1;
    if (low < 0) {
        result.valid = false;
        return result;
    }
    result.code += low;
    return result;
}

std::string commandListLine(const std::string& codeText, const std::string& dataText)
{
    return codeText + "->" + dataText;
}

ExecuteOutcome executeManualCommand(ScriptHost& host, int code, const std::string& data,
                                    TwoRegistrarResults& lists)
{
    const ExecuteOutcome outcome =
        ExecuteOnBoth(code, data, true, ReportFormat::Manual, lists, manualDisplayHooks(host));
    return reportFailure(host, outcome);
}

ExecuteOutcome repeatManualCommand(ScriptHost& host, int code, const std::string& data,
                                   TwoRegistrarResults& lists)
{
    const ExecuteOutcome outcome =
        RepeatOnBoth(code, data, true, ReportFormat::Manual, lists, manualDisplayHooks(host));
    return reportFailure(host, outcome);
}

} // namespace quorvex::script
