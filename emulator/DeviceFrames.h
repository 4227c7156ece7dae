#pragma once
// Device side of the frame codec: checking a request frame and building an answer frame as
// bytes ready to queue. The checksum and frame layout come from the link's own codec.
#include "emulator/Registrar.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvex::emulator {

// A whole request frame, SOH to ETX. Empty when the frame is malformed: too short, LEN not
// matching the data length, SEQ below 0x20, no 0x05 before the digits, a digit outside
// '0'..'?' or a checksum mismatch.
std::optional<HandledRequest> parseRequestFrame(const std::vector<std::uint8_t>& frame);

// An answer frame: SOH, LEN, SEQ, CMD, data, 0x04, S0..S5, 0x05, checksum, ETX. The sequence
// byte and the status bytes are sent as given. Data longer than 212 bytes is cut there.
std::string buildAnswerFrame(std::uint8_t sequenceByte, std::uint8_t command,
                             const std::string& data, const std::array<std::uint8_t, 6>& status);

} // namespace quorvex::emulator
