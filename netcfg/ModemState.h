#pragma once
// The modem state report (command 108): the request and the state byte of its answer.
#include <cstdint>
#include <string>

namespace quorvex::netcfg {

constexpr int kModemStateCommand = 108;

// Bits of the modem state byte.
namespace modem {
constexpr std::uint8_t kSamFault = 0x01;
constexpr std::uint8_t kMemoryCardFault = 0x02;
constexpr std::uint8_t kBlockedUndelivered = 0x04; // documents not sent for 72 hours
constexpr std::uint8_t kIdDevSet = 0x08;
constexpr std::uint8_t kTechnicalRegistration = 0x10;
constexpr std::uint8_t kPersonalised = 0x20;
constexpr std::uint8_t kEthernetConnected = 0x40;
constexpr std::uint8_t kDataToSend = 0x80;
} // namespace modem

// The request's data: "1" asks the registrar to print the report too.
[[nodiscard]] inline std::string modemStateRequest(bool print)
{
    return print ? "1" : "0";
}

// The state byte from answer field 1: the first character is the high half, the second the low
// half, each looked up among "0123456789ABCDEF". A character not found there (lower-case letters
// included) or missing counts 0, so "5" is 0x50 and an empty field 0.
[[nodiscard]] std::uint8_t modemStateByte(const std::string& field);

} // namespace quorvex::netcfg
