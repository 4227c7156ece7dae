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

DecodedExchange decodeExchange(const ExchangeRecord& record)
{
    DecodedExchange row;
    row.registrar = std::to_string(record.registrar);
    row.code = twoHexDigits(record.command);
    row.name = GetCommandName(record.command);
    row.requestData = record.requestData;
    if (record.refusal != Refusal::None) {
        row.status = kNone;
        row.errors = refusalMessage(record.refusal);
        row.roundTripMs = kNone;
        row.failed = true;
        return row;
    }
    const RetData& result = record.result;
    row.answerFields = joinedFields(result);
    const bool answered = (result.ErrorFlags & (ERR_TIMEOUT | ERR_NAK)) == 0;
    row.status =
        answered ? hexBytes(std::string(result.Status.begin(), result.Status.end())) : kNone;
    const std::string errors = errorTextsFor(result.ErrorFlags);
    row.errors = errors.empty() ? kNone : errors;
    row.failed = !errors.empty();
    row.roundTripMs = milliseconds(record.answeredUs - record.writtenUs);
    return row;
}

} // namespace quorvex::link
