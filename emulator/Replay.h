#pragma once
// A registrar that plays back the answers of an exchange log. A request is matched by its
// command code and data: the n-th occurrence of a request gets the n-th answer recorded for it,
// so stateful sequences replay in order. After the last one the last answer repeats, or, for a
// comparison that must see every difference, the request counts as never recorded. A request
// never recorded is refused with the invalid-command bits (S0 0x02 and 0x20).
#include "emulator/Registrar.h"
#include "link/ExchangeLogReader.h"
#include "serial/PortRegistry.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace quorvex::emulator {

class ReplayAnswers {
public:
    // What a request gets once its recorded answers are used up.
    enum class WhenUsedUp { RepeatLast, Unrecorded };

    explicit ReplayAnswers(WhenUsedUp whenUsedUp = WhenUsedUp::RepeatLast);
    explicit ReplayAnswers(const std::vector<link::LoggedExchange>& exchanges,
                           WhenUsedUp whenUsedUp = WhenUsedUp::RepeatLast);

    // Records one more answer to its request, after those recorded before.
    void add(const link::LoggedExchange& exchange);
    // The answer to this request's next occurrence; nullopt when it was never recorded, or
    // (Unrecorded) not so many times.
    [[nodiscard]] std::optional<ScriptedAnswer> next(int command, const std::string& data);
    // How many answers were recorded for the request.
    [[nodiscard]] std::size_t timesRecorded(int command, const std::string& data) const;
    // Different requests recorded, and all answers.
    [[nodiscard]] std::size_t requestCount() const { return m_recorded.size(); }
    [[nodiscard]] std::size_t answerCount() const { return m_answers; }

private:
    struct Recorded {
        std::vector<ScriptedAnswer> answers;
        std::size_t served = 0;
    };
    WhenUsedUp m_whenUsedUp;
    std::map<std::pair<int, std::string>, Recorded> m_recorded;
    std::size_t m_answers = 0;
};

// The answer refusing a request that was never recorded.
[[nodiscard]] ScriptedAnswer refusedAsUnrecorded();
// "4A W": the command code in hexadecimal, a blank, the data (Windows-1251 as sent).
[[nodiscard]] std::string describeRequest(int command, const std::string& data);

// Called with every request the recording has no answer for, and how often it was recorded
// (0: never).
using UnrecordedListener = std::function<void(const HandledRequest&, std::size_t timesRecorded)>;
// "never recorded: 4A W", or "4A W recorded only 3 times" for a request asked once more.
[[nodiscard]] std::string describeUnrecorded(const HandledRequest& request,
                                             std::size_t timesRecorded);
// Makes `registrar` answer from `answers` from now on.
void replayOn(Registrar& registrar, std::shared_ptr<ReplayAnswers> answers,
              UnrecordedListener unrecorded = {});

// An exchange log loaded for replay, or why it cannot be replayed.
struct LoadedReplay {
    enum class Refusal { None, Unreadable, ConvertedToUtf8, NoExchange };
    std::shared_ptr<ReplayAnswers> answers; // null: nothing can be replayed, for this reason:
    Refusal refusal = Refusal::None;
    std::vector<std::string> messages; // lines to tell the user, each naming the log
    bool whole = true;                 // no line of the log had to be skipped
};
// Reads the log at `path` (a path text); `shownPath` names it in the messages. Lines that
// cannot be used are named (the first 20, then a count) and skipped; a log converted to UTF-8,
// one that cannot be read and one without an exchange give no answers.
[[nodiscard]] LoadedReplay loadReplay(const std::string& path, const std::string& shownPath,
                                      ReplayAnswers::WhenUsedUp whenUsedUp);

// Registers a virtual port whose lines all talk to one registrar replaying `answers`. The
// registrar lives as long as the port or a line opened on it.
void registerReplayPort(serial::PortRegistry& registry, const std::string& portName,
                        std::shared_ptr<ReplayAnswers> answers, UnrecordedListener unrecorded = {});

} // namespace quorvex::emulator
