#include "script/ExecuteOnBoth.h"

#include "link/Frame.h"
#include "link/Link.h"
#include "link/ResultState.h"
#include "link/Session.h"
#include "script/CompareIgnore.h"
#include "script/ComparisonReport.h"
#include "script/RecordingComparison.h"

#include <algorithm>
#include <cstdio>

namespace quorvex::script {

const char* const kTimeoutMessage = "Ошибка выполнения команды. Таймаут";

const char* noAnswerMessage()
{
    if ((link::resultState().copy.ErrorFlags & link::ERR_BUSY) != 0)
        return "Ошибка выполнения команды. Регистратор занят слишком долго";
    return kTimeoutMessage;
}

namespace {

// True when the answer (possibly with status errors) came back: neither a time-out nor a
// registrar given up as busy.
bool answered()
{
    return (link::resultState().copy.ErrorFlags & (link::ERR_TIMEOUT | link::ERR_BUSY)) == 0;
}

int sendToSelectedPort(int code, const std::string& data)
{
    return link::SendCommand(nullptr, link::PrinterResultsx, 0, code, data);
}

constexpr std::uint32_t kComparedLinkErrors = link::ERR_BCC | link::ERR_NAK;

void copyResult(const link::RetData& result, ResultList& list)
{
    const int count = std::clamp<int>(result.FieldCount, 0, link::kMaxFields);
    list.count = count;
    std::copy_n(result.Fields.begin(), count, list.texts.begin());
    list.status = result.Status;
    list.linkErrors = result.ErrorFlags & kComparedLinkErrors;
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

// "S2:01 (Нет бумаги)": the byte, the bit's value and its error text when it has one.
std::string statusBitName(std::size_t byte, std::uint8_t mask)
{
    link::StatusBytes only{};
    only[byte] = mask;
    const std::string text = link::errorTextsFor(link::errorWordFromStatus(only));
    char name[16];
    std::snprintf(name, sizeof name, "S%zu:%02X", byte, static_cast<unsigned>(mask));
    return text.empty() ? std::string(name) : std::string(name) + " (" + text + ")";
}

void reportBitMismatch(int code, ReportFormat format, const std::string& what, bool first,
                       bool second)
{
    reportHead(code, format);
    report("Не совпадает " + what);
    report(std::string("Регистратор №1: ") + (first ? "1" : "0"));
    report(std::string("Регистратор №2: ") + (second ? "1" : "0"));
}

// Every status bit (bits 0..6 of S0..S5) and link error in which the two answers differ.
void reportStatusMismatches(int code, ReportFormat format, const TwoRegistrarResults& lists)
{
    for (std::size_t byte = 0; byte < lists.first.status.size(); ++byte) {
        for (int bit = 0; bit < 7; ++bit) {
            const auto mask = static_cast<std::uint8_t>(1u << bit);
            const bool first = (lists.first.status[byte] & mask) != 0;
            const bool second = (lists.second.status[byte] & mask) != 0;
            if (first != second)
                reportBitMismatch(code, format, "бит состояния " + statusBitName(byte, mask), first,
                                  second);
        }
    }
    for (const std::uint32_t error : {link::ERR_BCC, link::ERR_NAK}) {
        const bool first = (lists.first.linkErrors & error) != 0;
        const bool second = (lists.second.linkErrors & error) != 0;
        if (first != second)
            reportBitMismatch(code, format,
                              std::string("ошибка обмена (") + link::errorTextFor(error) + ")",
                              first, second);
    }
}

// Reports what differs between the two answers in `lists`.
ExecuteOutcome compareAnswers(int code, ReportFormat format, const TwoRegistrarResults& lists,
                              RecordedSecondRegistrar* recording)
{
    const std::optional<std::string> unrecorded =
        recording ? recording->takeUnrecorded() : std::nullopt;
    const IgnoreList& ignore = comparisonIgnore();
    if (ignore.ignoresAnswer(code))
        return ExecuteOutcome::Done;
    if (unrecorded) {
        // The recording's refusal is no answer to compare with.
        reportHead(code, format);
        report(*unrecorded);
        return ExecuteOutcome::Done;
    }
    if (lists.first.count != lists.second.count) {
        reportCountMismatch(code, format, lists);
        return ExecuteOutcome::CountsDiffer;
    }
    for (int entry = 0; entry < lists.first.count; ++entry) {
        if (lists.first.texts[entry] != lists.second.texts[entry] &&
            !ignore.ignoresField(code, entry))
            reportValueMismatch(code, format, lists, entry);
    }
    if (recording && !ignore.ignoresStatus(code))
        reportStatusMismatches(code, format, lists);
    return ExecuteOutcome::Done;
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
    copyResult(link::resultState().copy, lists.first);
    if (!secondAllowed || !link::session().secondConnected)
        return ExecuteOutcome::Done;

    RecordedSecondRegistrar* recording = recordedSecond();
    if (recording)
        (void)recording->takeUnrecorded(); // only what this request lacks counts
    link::UseSecondPort(1);
    const int secondSendResult = sendToSelectedPort(code, data);
    if (secondSendResult == -1 || !answered()) {
        link::UseSecondPort(0);
        return secondSendResult == -1 ? ExecuteOutcome::Refused : ExecuteOutcome::SecondTimedOut;
    }
    copyResult(link::resultState().copy, lists.second);
    link::UseSecondPort(0);
    return compareAnswers(code, format, lists, recording);
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
