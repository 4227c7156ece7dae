#include "script/ExecuteOnBoth.h"

#include "link/Link.h"
#include "link/ResultState.h"
#include "link/Session.h"
#include "script/CompareIgnore.h"
#include "script/ComparisonReport.h"

#include <algorithm>
#include <cstdio>

namespace quorvex::script {

const char* const kTimeoutMessage = "Ошибка выполнения команды. Таймаут";

namespace {

// True when the answer (possibly with status errors) came back.
bool answered()
{
    return (link::resultState().copy.ErrorFlags & link::ERR_TIMEOUT) == 0;
}

int sendToSelectedPort(int code, const std::string& data)
{
    return link::SendCommand(nullptr, link::PrinterResultsx, 0, code, data);
}

void copyFields(const link::RetData& result, ResultList& list)
{
    const int count = std::clamp<int>(result.FieldCount, 0, link::kMaxFields);
    list.count = count;
    std::copy_n(result.Fields.begin(), count, list.texts.begin());
}

void report(const std::string& line)
{
    comparisonReport().AppendReportLine(line, kReportRed);
}

void reportHead(int code, ReportFormat format)
{
    if (format == ReportFormat::Script) {
        report(" ");
        report(commandCodeLine(code));
    }
}

void reportCountMismatch(int code, ReportFormat format, const TwoRegistrarResults& lists)
{
    reportHead(code, format);
    report("Не совпадает количество параметров результата: ");
    report("Регистратор №1: " + std::to_string(lists.first.count));
    report("Регистратор №2: " + std::to_string(lists.second.count));
}

void reportValueMismatch(int code, ReportFormat format, const TwoRegistrarResults& lists, int entry)
{
    reportHead(code, format);
    report("Не совпадают значения результата, - параметр №" + std::to_string(entry));
    report("Регистратор №1: " + lists.first.texts[entry]);
    report("Регистратор №2: " + lists.second.texts[entry]);
}

// Steps after the first registrar's send: check, copy, second registrar, compare.
ExecuteOutcome continueAfterFirst(int firstSendResult, int code, const std::string& data,
                                  bool secondAllowed, ReportFormat format,
                                  TwoRegistrarResults& lists, const ExecuteHooks& hooks)
{
    if (firstSendResult == -1)
        return ExecuteOutcome::Refused;
    if (!answered())
        return ExecuteOutcome::FirstTimedOut;
    if (hooks.onFirstAnswer)
        hooks.onFirstAnswer(link::resultState().copy);
    copyFields(link::resultState().copy, lists.first);
    if (!secondAllowed || !link::session().secondConnected)
        return ExecuteOutcome::Done;

    link::UseSecondPort(1);
    const int secondSendResult = sendToSelectedPort(code, data);
    if (secondSendResult == -1 || !answered()) {
        link::UseSecondPort(0);
        return secondSendResult == -1 ? ExecuteOutcome::Refused : ExecuteOutcome::SecondTimedOut;
    }
    copyFields(link::resultState().copy, lists.second);
    link::UseSecondPort(0);

    const IgnoreList& ignore = comparisonIgnore();
    if (ignore.ignoresAnswer(code))
        return ExecuteOutcome::Done;
    if (lists.first.count != lists.second.count) {
        reportCountMismatch(code, format, lists);
        return ExecuteOutcome::CountsDiffer;
    }
    for (int entry = 0; entry < lists.first.count; ++entry) {
        if (lists.first.texts[entry] != lists.second.texts[entry] &&
            !ignore.ignoresField(code, entry))
            reportValueMismatch(code, format, lists, entry);
    }
    return ExecuteOutcome::Done;
}

std::string afterFirstByte(const std::string& bytes)
{
    return bytes.empty() ? std::string() : bytes.substr(1);
}

} // namespace

ExecuteOutcome ExecuteOnBoth(int code, const std::string& data, bool secondAllowed,
                             ReportFormat format, TwoRegistrarResults& lists,
                             const ExecuteHooks& hooks)
{
    link::UseSecondPort(0);
    const int sent = sendToSelectedPort(code, data);
    return continueAfterFirst(sent, code, data, secondAllowed, format, lists, hooks);
}

ExecuteOutcome RepeatOnBoth(int code, const std::string& data, bool secondAllowed,
                            ReportFormat format, TwoRegistrarResults& lists,
                            const ExecuteHooks& hooks)
{
    link::UseSecondPort(0);
    const int sent = link::RepeatCommand(0);
    return continueAfterFirst(sent, code, data, secondAllowed, format, lists, hooks);
}

std::string exchangeLinePc(const link::RetData& result)
{
    return "PC: " + afterFirstByte(result.RequestFrame);
}

std::string exchangeLineFp(const link::RetData& result)
{
    return "FP: " + afterFirstByte(result.RawAnswer);
}

std::string statusText(const link::RetData& result)
{
    std::string text;
    char pair[4];
    for (std::uint8_t byte : result.Status) {
        std::snprintf(pair, sizeof pair, "%02X ", static_cast<unsigned>(byte));
        text += pair;
    }
    return text;
}

std::string commandCodeLine(int code)
{
    char hex[16];
    std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned>(code));
    return "Код команды: " + std::string(hex) + "h(" + std::to_string(code) + ")";
}

} // namespace quorvex::script
