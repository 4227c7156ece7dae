#include "link/ExchangeDecode.h"

#include "link/CommandNames.h"
#include "link/Frame.h"
#include "link/ResultState.h"

#include <cstdio>

namespace quorvex::link {

namespace {

const std::string kNone = "—";

std::string twoHexDigits(int value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(value) & 0xFFu);
    return text;
}

std::string joinedFields(const RetData& result)
{
    std::string text;
    for (int i = 0; i < result.FieldCount && i < kMaxFields; ++i) {
        if (i > 0)
            text += ',';
        text += result.Fields[static_cast<std::size_t>(i)];
    }
    return text;
}

// Microseconds as milliseconds with three decimals, whatever the locale.
std::string milliseconds(std::int64_t us)
{
    const std::int64_t magnitude = us < 0 ? 0 : us;
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%03lld", static_cast<long long>(magnitude / 1000),
                  static_cast<long long>(magnitude % 1000));
    return text;
}

} // namespace

ExchangeSummary summarizeExchange(const ExchangeRecord& record)
{
    ExchangeSummary summary;
    summary.registrar = record.registrar;
    summary.refusal = record.refusal;
    summary.command = record.command;
    summary.requestData = record.requestData;
    if (record.refusal == Refusal::None) {
        summary.answerFields = joinedFields(record.result);
        summary.status = record.result.Status;
        summary.errorFlags = record.result.ErrorFlags;
        summary.roundTripUs = record.answeredUs - record.writtenUs;
    }
    return summary;
}

bool exchangeFailed(const ExchangeSummary& summary)
{
    return summary.refusal != Refusal::None || errorTextFor(summary.errorFlags) != nullptr;
}

bool exchangeAnswered(const ExchangeSummary& summary)
{
    return summary.refusal == Refusal::None &&
           (summary.errorFlags & (ERR_TIMEOUT | ERR_NAK | ERR_BUSY)) == 0;
}

DecodedExchange decodeExchange(const ExchangeSummary& summary)
{
    DecodedExchange row;
    row.registrar = std::to_string(summary.registrar);
    row.code = twoHexDigits(summary.command);
    row.name = GetCommandName(summary.command);
    row.requestData = summary.requestData;
    row.failed = exchangeFailed(summary);
    if (summary.refusal != Refusal::None) {
        row.status = kNone;
        row.errors = refusalMessage(summary.refusal);
        row.roundTripMs = kNone;
        return row;
    }
    row.answerFields = summary.answerFields;
    row.status = exchangeAnswered(summary)
                     ? hexBytes(std::string(summary.status.begin(), summary.status.end()))
                     : kNone;
    const std::string errors = errorTextsFor(summary.errorFlags);
    row.errors = errors.empty() ? kNone : errors;
    row.roundTripMs = milliseconds(summary.roundTripUs);
    return row;
}

DecodedExchange decodeExchange(const ExchangeRecord& record)
{
    return decodeExchange(summarizeExchange(record));
}

} // namespace quorvex::link
