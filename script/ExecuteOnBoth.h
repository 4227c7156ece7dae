#pragma once
// One console command on the first registrar and, when allowed and connected, on the second,
// with the two answers compared field by field (and, against a recording, status bit by status
// bit; see RecordingComparison.h). Differences go to comparisonReport() in red.
// Also the two display formats of an answer: the exchange lines and the status text.
#include "link/Link.h"
#include "link/RetData.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace quorvex::script {

enum class ExecuteOutcome {
    Done,           // sent (and compared, when the second registrar took part)
    FirstTimedOut,  // the first registrar did not answer; nothing copied, nothing compared
    SecondTimedOut, // the second registrar did not answer; the first list holds the answer
    CountsDiffer,   // the count report was written; fields were not compared
    Refused,        // the link refused the command before sending it: nothing went out to
                    // that registrar (processLink().lastRefusal() says why)
};

// Script reports start with a blank line and the command-code line; manual ones do not.
enum class ReportFormat { Script, Manual };

constexpr int kResultListSize = 30;

// Answer fields of the last command on one registrar. Only RetData's 20 fields are ever
// copied; entries at and beyond count keep whatever they held before. The status bytes (bit 7
// cleared) and the link's checksum and NAK errors of the same answer come with them.
struct ResultList {
    int count = 0;
    std::array<std::string, kResultListSize> texts;
    std::array<std::uint8_t, 6> status{};
    std::uint32_t linkErrors = 0;
};

// Owned by the script window; kept between commands.
struct TwoRegistrarResults {
    ResultList first;
    ResultList second;
};

// The console's message for a registrar that did not answer (Windows-1251).
extern const char* const kTimeoutMessage; // "Ошибка выполнения команды. Таймаут"
// The console's message for the last exchange that ended without an answer: kTimeoutMessage, or
// for a registrar given up as busy (ERR_BUSY) a message that says so.
[[nodiscard]] const char* noAnswerMessage();

struct ExecuteHooks {
    // Called with the shared result copy right after the first registrar answered (not timed
    // out), before its fields are copied and before the second registrar is asked. The manual
    // buttons show their exchange lines and status text here; a script command line captures
    // its exchange lines here.
    std::function<void(const link::RetData& firstAnswer)> onFirstAnswer;
};

// Sends code/data to the first registrar (SendCommand, PrinterResultsx, tag 0), then, when
// secondAllowed and session().secondConnected, to the second (UseSecondPort(1) ... (0)).
// Answers, fields and status in comparisonIgnore() are left out of the comparison: not reported.
// When the second registrar is a recording (recordedSecond()), a request it has no answer for is
// reported as such instead of comparing its refusal, and after equal field counts every status
// bit and link error that differs is reported too.
//
// Time-outs and refusals: ExecuteOnBoth shows no message itself. A registrar given up as busy
// counts as one that did not answer. On FirstTimedOut and SecondTimedOut the caller shows
// noAnswerMessage(), on Refused link::refusalMessage(); by then the
// first port is selected again, so a message box's nested message loop can never send a
// command to the second registrar. A refused command never lets the previous answer pass as
// its own: nothing is copied or compared.
// The port selection is always back on the first registrar when this returns.
ExecuteOutcome ExecuteOnBoth(int code, const std::string& data, bool secondAllowed,
                             ReportFormat format, TwoRegistrarResults& lists,
                             const ExecuteHooks& hooks = {});

// "Повторить команду": the same steps, but the first registrar gets RepeatCommand(0) (its last
// request again, same sequence number); the second registrar is sent code/data.
ExecuteOutcome RepeatOnBoth(int code, const std::string& data, bool secondAllowed,
                            ReportFormat format, TwoRegistrarResults& lists,
                            const ExecuteHooks& hooks = {});

// "PC: " + the request frame as sent, without its first byte (the opening SOH).
std::string exchangeLinePc(const link::RetData& result);
// "FP: " + RawAnswer without its first byte, up to its end.
std::string exchangeLineFp(const link::RetData& result);
// Status bytes 0..5, each as two uppercase hex digits and a blank: "80 00 00 00 00 00 ".
std::string statusText(const link::RetData& result);

// "Код команды: 4Ah(74)": uppercase hex with at least two digits, then decimal.
std::string commandCodeLine(int code);

} // namespace quorvex::script
