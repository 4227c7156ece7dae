#pragma once
// One exchange as the exchange monitor and quorvex-run --trace show it: the columns of a row,
// decoded from the link's record. Texts are Windows-1251 bytes, control bytes included (the
// display turns them into control pictures).
#include "link/ExchangeObserver.h"

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

[[nodiscard]] DecodedExchange decodeExchange(const ExchangeRecord& record);

} // namespace quorvex::link
