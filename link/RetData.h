#pragma once
// The result of one registrar command, and the error word.
#include <array>
#include <cstdint>
#include <string>

namespace quorvex::link {

// Error word bits: registrar status bits mapped to single bits, plus the link's own errors.
constexpr std::uint32_t ERR_BCC = 0x01000000;     // answer checksum mismatch
constexpr std::uint32_t ERR_NAK = 0x02000000;     // the registrar answered NAK
constexpr std::uint32_t ERR_TIMEOUT = 0x04000000; // no complete answer before the time-out
// The registrar kept saying it is busy (SYN) past the busy limit; the wait was given up.
constexpr std::uint32_t ERR_BUSY = 0x20000000;

constexpr int kMaxFields = 20;
constexpr std::size_t kMaxRequestData = 189;
constexpr std::size_t kMaxAnswerData = 212;
constexpr std::size_t kAnswerDataCopy = 128;
constexpr std::size_t kMaxRequestFrame = 299;
constexpr std::size_t kMaxRawAnswer = 305;

// One instance lives in the link and is overwritten by every command. Texts are
// Windows-1251 bytes. Fields beyond FieldCount are empty.
struct RetData {
    std::int32_t FieldCount = 0;
    std::int32_t Command = 0;
    std::int32_t Tag = 0;
    std::uint32_t ErrorFlags = 0;
    std::string CommandName;
    std::string RequestData;
    std::string AnswerData; // at most 128 bytes, before rewriting and splitting
    std::array<std::string, kMaxFields> Fields;
    std::array<std::uint8_t, 6> Status{}; // S0..S5 with bit 7 cleared; all 0 without answer
    std::string RequestFrame;             // the request frame as sent, at most 299 bytes
    std::string RawAnswer;                // every byte received except SYN, at most 305 bytes
    // Set with ERR_TIMEOUT when the exchange ended because the device was gone or the line
    // was hung up: the port's name and what happened, shown instead of the time-out's text.
    std::string LineFault;
};

} // namespace quorvex::link
