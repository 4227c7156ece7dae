// The exchange-log reader on any bytes: it never fails, every problem and exchange names a line
// that exists, in order, and decoded answers stay inside the frame's limits. A log written by
// the link's own formatter from the input always reads back to what went in.
//
// Input: the bytes of a log file.
#include "FuzzCheck.h"
#include "link/ExchangeLog.h"
#include "link/ExchangeLogReader.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace quorvex::link;

namespace {

// Lines end in LF (with or without CR before it); the last one may end without.
int lineCount(std::string_view bytes)
{
    int lines = 0;
    for (std::size_t at = 0; at < bytes.size(); ++lines) {
        const auto end = bytes.find('\n', at);
        at = end == std::string_view::npos ? bytes.size() : end + 1;
    }
    return lines;
}

void checkContents(const ExchangeLogContents& contents, int lines)
{
    int previous = 0;
    for (const LoggedExchange& e : contents.exchanges) {
        FUZZ_CHECK(e.line > previous && e.line <= lines);
        previous = e.line;
        FUZZ_CHECK(e.command >= 0 && e.command <= 0xFF);
        FUZZ_CHECK(e.answerData.size() <= kMaxAnswerData);
        FUZZ_CHECK(e.outcome == LoggedOutcome::Answer || e.answerData.empty());
    }
    previous = 0;
    for (const LogProblem& p : contents.summary.problems) {
        FUZZ_CHECK(p.line >= previous && p.line >= 1 && p.line <= lines);
        previous = p.line;
    }
    FUZZ_CHECK(contents.summary.problems.size() <= kNamedProblems);
    FUZZ_CHECK(contents.summary.problemCount >= contents.summary.problems.size());
}

// Bytes a request body cannot hold without becoming two lines or a different entry.
char plain(std::uint8_t b)
{
    return b == '\r' || b == '\n' ? 'x' : static_cast<char>(b);
}

void roundTrip(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return;
    const int command = 0x20 + data[0] % 0xE0; // two digits, no control byte
    std::string request;
    for (std::size_t i = 2; i < size && request.size() < kMaxRequestData; ++i)
        request.push_back(plain(data[i]));
    std::string answer;
    for (std::size_t i = 2; i < size && answer.size() < kMaxAnswerData; ++i)
        answer.push_back(data[i] == SOH || data[i] == ETX || data[i] == NAK ? 'x' : plain(data[i]));
    const StatusBytes status{0x80, 0x80, 0x80,
                             0x80, 0x80, static_cast<std::uint8_t>(data[1] | 0x80)};
    const Bytes frame = buildAnswerFrame(0x21, static_cast<std::uint8_t>(command), answer, status);
    const quorvex::platform::LocalTime time{};
    char code[4];
    std::snprintf(code, sizeof code, "%X", static_cast<unsigned>(command));
    const std::string log =
        ExchangeLog::formatEntry(time, "", "START") +
        ExchangeLog::formatEntry(time, "21", code + request) +
        ExchangeLog::formatEntry(time, " ", ";" + std::string(frame.begin(), frame.end()));

    const ExchangeLogContents contents = readExchangeLog(log);
    FUZZ_CHECK(contents.summary.problemCount == 0 && contents.exchanges.size() == 1);
    const LoggedExchange& e = contents.exchanges[0];
    FUZZ_CHECK(e.command == command && e.data == request);
    FUZZ_CHECK(e.outcome == LoggedOutcome::Answer && e.answerData == answer);
    FUZZ_CHECK(e.answerStatus == status);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkContents(readExchangeLog(bytes), lineCount(bytes));
    roundTrip(data, size);
    return 0;
}
