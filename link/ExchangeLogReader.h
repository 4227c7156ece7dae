#pragma once
// Reads an exchange log back as ExchangeLog writes it: Windows-1251 text, CR LF line ends,
// entries that start with ';', answers as the raw bytes received. Each request is paired with
// the answer entry that follows it. Nothing in the log can make the reader fail: what it cannot
// use is listed with its line number and skipped.
#include "link/Frame.h"

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
};

struct LogProblem {
    int line = 0;
    std::string text;
};

struct ExchangeLogContents {
    std::vector<LoggedExchange> exchanges; // in the order of the log
    std::vector<LogProblem> problems;      // in line order
    int sessions = 0;                      // session-start lines
};

[[nodiscard]] ExchangeLogContents readExchangeLog(std::string_view bytes);
// The whole file read as above; nullopt when it cannot be read.
[[nodiscard]] std::optional<ExchangeLogContents> readExchangeLogFile(const std::string& path);

} // namespace quorvex::link
