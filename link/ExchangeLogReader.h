#pragma once
// Reads an exchange log back as ExchangeLog writes it: Windows-1251 text, entries that start
// with ';', answers as the raw bytes received. Each request is paired with the answer entry
// that follows it. Lines may end in CR LF or LF alone, mixed in one file; hexadecimal digits
// may be in either case. Nothing in the log can make the reader fail: what it cannot use is
// counted and named with the number of its faulty line (the first kNamedProblems of them), and
// skipped. A log converted to UTF-8 is recognised and nothing of it is read.
//
// The file is read in blocks and each exchange handed on as soon as it is complete, so a log
// of a million exchanges never lies in memory whole.
#include "link/Frame.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex::link {

enum class LoggedOutcome {
    Answer,  // a complete answer frame
    Nak,     // the registrar rejected the request
    TimeOut, // no complete answer (nothing, or bytes that never made a frame)
};

struct LoggedExchange {
    int line = 0; // line of the request's head
    int command = 0;
    std::string data; // the request data as sent
    LoggedOutcome outcome = LoggedOutcome::TimeOut;
    std::string answerData;     // Answer only: the frame's data, not rewritten
    StatusBytes answerStatus{}; // Answer only: S0..S5 as received (bit 7 kept)
    bool checksumOk = true;     // Answer only: false when its checksum digits did not match
};

struct LogProblem {
    int line = 0;
    std::string text;
};

constexpr std::size_t kNamedProblems = 20;

// What a log held besides its exchanges.
struct LogReadSummary {
    std::vector<LogProblem> problems; // the first kNamedProblems problems, in line order
    std::size_t problemCount = 0;     // all problems, named or not
    int sessions = 0;                 // session-start lines
    bool convertedToUtf8 = false;     // the text is UTF-8: nothing was read from it
};

struct ExchangeLogContents {
    std::vector<LoggedExchange> exchanges; // in the order of the log
    LogReadSummary summary;
};

using ExchangeSink = std::function<void(LoggedExchange&&)>;

// The reader itself: bytes go in as they come, in pieces of any size; each exchange goes to
// the sink when its answer entry has ended.
class ExchangeLogReader {
public:
    explicit ExchangeLogReader(ExchangeSink sink);
    ~ExchangeLogReader();
    ExchangeLogReader(const ExchangeLogReader&) = delete;
    ExchangeLogReader& operator=(const ExchangeLogReader&) = delete;

    void feed(std::string_view bytes);
    // The end of the file: the last entry is judged. Nothing may be fed after it.
    [[nodiscard]] LogReadSummary finish();

private:
    class State;
    std::unique_ptr<State> m_state;
};

[[nodiscard]] ExchangeLogContents readExchangeLog(std::string_view bytes);
// Reads the file through `sink`; nullopt when it cannot be opened or read (errno says why).
[[nodiscard]] std::optional<LogReadSummary> readExchangeLogFile(const std::string& path,
                                                                const ExchangeSink& sink);
// The problems as lines "path:line: text (skipped)", the first kNamedProblems of them, then
// one line counting the rest.
[[nodiscard]] std::vector<std::string> describeProblems(const std::string& path,
                                                        const LogReadSummary& summary);

} // namespace quorvex::link
