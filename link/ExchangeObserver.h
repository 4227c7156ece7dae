#pragma once
// Observers of the link: every finished exchange, and every request refused before sending, is
// reported to the observers registered with the link (the exchange monitor, quorvex-run
// --trace). With none registered the link does no extra work.
#include "link/Refusal.h"
#include "link/RetData.h"

#include <cstdint>
#include <functional>

namespace quorvex::link {

struct ExchangeRecord {
    int registrar = 1; // 1: the first registrar's port, 2: the second's
    int sequence = 0;  // the request's SEQ byte; 0 when refused
    // Not None: nothing was sent, and only the command, its data and the times below are set.
    Refusal refusal = Refusal::None;
    int command = 0;
    std::string requestData;
    // As the caller's callback gets it: request frame, raw answer, error word, status, fields.
    RetData result;
    std::int64_t writtenUs = 0;  // monotonic clock: the request was written (or refused)
    std::int64_t answeredUs = 0; // monotonic clock: the answer's last byte came, or reading ended
    std::int64_t wallMs = 0;     // wall clock, milliseconds since 1970, when the answer came
};

class ExchangeObserver {
public:
    virtual ~ExchangeObserver() = default;
    // Called once per exchange, right after it ended and before the caller's callback runs.
    virtual void exchangeFinished(const ExchangeRecord& record) = 0;
};

// The clocks the records are stamped with: microseconds of a monotonic clock (which also measures
// the busy limit), milliseconds of the wall clock. Tests give virtual ones.
struct ObserverClocks {
    std::function<std::int64_t()> monotonicUs;
    std::function<std::int64_t()> wallMs;
};

} // namespace quorvex::link
