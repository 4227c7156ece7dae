#pragma once
// One exchange as the exchange monitor and quorvex-run --trace show it: the columns of a row,
// decoded from the link's record. Texts are Windows-1251 bytes, control bytes included (the
// display turns them into control pictures).
#include "link/ExchangeObserver.h"

#include <array>
#include <cstdint>
#include <string>

namespace quorvex::link {

struct DecodedExchange {
    std::string registrar; // "1" or "2"
    std::string code;      // two hex digits
    std::string name;      // the command's name
    std::string requestData;
    std::string answerFields; // the answer fields joined by ","
    std::string status;       // the six status bytes in hex, "—" without an answer
    std::string errors;       // the error bits' texts, the refusal's message, or "—"
    std::string roundTripMs;  // "12.345", "—" for a refusal
    bool failed = false;      // an error bit is set or the request was refused
};

// What decoding needs of an exchange, the answer's fields joined instead of their array: small
// enough to keep by the hundred thousand and decode only when shown.
struct ExchangeSummary {
    int registrar = 1;
    Refusal refusal = Refusal::None;
    int command = 0;
    std::string requestData;
    std::string answerFields; // joined by ","
    std::array<std::uint8_t, 6> status{};
    std::uint32_t errorFlags = 0;
    std::int64_t roundTripUs = 0;
};

[[nodiscard]] ExchangeSummary summarizeExchange(const ExchangeRecord& record);
[[nodiscard]] DecodedExchange decodeExchange(const ExchangeSummary& summary);
[[nodiscard]] DecodedExchange decodeExchange(const ExchangeRecord& record);
// Refused before sending, or an error bit with an error text is set.
[[nodiscard]] bool exchangeFailed(const ExchangeSummary& summary);
// Sent, and an answer came (no time-out, no NAK, not given up as busy): its status bytes mean
// something.
[[nodiscard]] bool exchangeAnswered(const ExchangeSummary& summary);

} // namespace quorvex::link
