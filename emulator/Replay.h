#pragma once
// A registrar that plays back the answers of an exchange log. A request is matched by its
// command code and data: the n-th occurrence of a request gets the n-th answer recorded for it,
// so stateful sequences replay in order, and after the last one the last answer repeats.
// A request never recorded is refused with the invalid-command bits (S0 0x02 and 0x20).
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
    explicit ReplayAnswers(const std::vector<link::LoggedExchange>& exchanges);

    // The answer to this request's next occurrence; nullopt when it was never recorded.
    [[nodiscard]] std::optional<ScriptedAnswer> next(int command, const std::string& data);
    // Different requests recorded.
    [[nodiscard]] std::size_t requestCount() const { return m_recorded.size(); }

private:
    struct Recorded {
        std::vector<ScriptedAnswer> answers;
        std::size_t served = 0;
    };
    std::map<std::pair<int, std::string>, Recorded> m_recorded;
};

// The answer refusing a request that was never recorded.
[[nodiscard]] ScriptedAnswer refusedAsUnrecorded();
// "4A W": the command code in hexadecimal, a blank, the data (Windows-1251 as sent).
[[nodiscard]] std::string describeRequest(int command, const std::string& data);

// Called with every request that was never recorded.
using UnrecordedListener = std::function<void(const HandledRequest&)>;
// Makes `registrar` answer from `answers` from now on.
void replayOn(Registrar& registrar, std::shared_ptr<ReplayAnswers> answers,
              UnrecordedListener unrecorded = {});

// Registers a virtual port whose lines all talk to one registrar replaying `contents`. The
// registrar lives as long as the port or a line opened on it.
void registerReplayPort(serial::PortRegistry& registry, const std::string& portName,
                        const link::ExchangeLogContents& contents,
                        UnrecordedListener unrecorded = {});

} // namespace quorvex::emulator
