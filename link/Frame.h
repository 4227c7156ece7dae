#pragma once
// The registrar's frame codec: control bytes, the checksum and its four digits, request and
// answer frames, the status-bytes -> error-word mapping and the answer receive state machine.
// Shared by the link (host side) and the emulator (device side).
#include "link/RetData.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex::link {

constexpr std::uint8_t SOH = 0x01;         // first byte of every frame
constexpr std::uint8_t ETX = 0x03;         // last byte of every frame
constexpr std::uint8_t SEPARATOR = 0x04;   // between answer data and status bytes
constexpr std::uint8_t CHECKED_END = 0x05; // end of the part covered by the checksum
constexpr std::uint8_t NAK = 0x15;         // the registrar rejects the frame
constexpr std::uint8_t SYN = 0x16;         // the registrar is still working

constexpr std::uint8_t kRequestLenBase = 0x24; // LEN of a request with no data
constexpr std::uint8_t kAnswerLenBase = 0x2B;  // LEN of an answer with no data
constexpr std::uint8_t kSequenceBase = 0x20;   // SEQ = counter mod 95 + 0x20
constexpr int kSequenceSpan = 95;
constexpr std::size_t kStatusBytes = 6;

using Bytes = std::vector<std::uint8_t>;
using StatusBytes = std::array<std::uint8_t, kStatusBytes>;
using ChecksumDigits = std::array<std::uint8_t, 4>;

// Sum of the unsigned byte values, kept to 16 bits.
[[nodiscard]] std::uint16_t checksumOf(std::span<const std::uint8_t> bytes);
// Four digits 0x30 + nibble, most significant nibble first.
[[nodiscard]] ChecksumDigits checksumDigits(std::uint16_t sum);
// Reads digits back as value = value * 16 + (digit - 0x30), as the receiver does.
[[nodiscard]] int readChecksumDigits(std::span<const std::uint8_t> digits);

// The SEQ byte a sequence counter value gives: (counter mod 95) + 0x20.
[[nodiscard]] std::uint8_t sequenceByte(std::uint8_t counter);

// SOH LEN SEQ CMD data 0x05 checksum ETX. Data longer than 189 bytes is cut to 189
// (the link refuses such data before it gets here).
[[nodiscard]] Bytes buildRequestFrame(std::uint8_t seq, std::uint8_t cmd, const std::string& data);
// SOH LEN SEQ CMD data 0x04 S0..S5 0x05 checksum ETX. Data longer than 212 bytes is cut to 212.
[[nodiscard]] Bytes buildAnswerFrame(std::uint8_t seq, std::uint8_t cmd, const std::string& data,
                                     const StatusBytes& status);

// Registrar status bits -> error word bits (S3 and unlisted bits contribute nothing).
[[nodiscard]] std::uint32_t errorWordFromStatus(const StatusBytes& status);

// Answer data rewritten for the commands whose answers do not split at commas by themselves
// (0x32, 0x35: ',' after the first character; 0x3E: index 8 becomes ','; 0x5A: spaces among
// the first 20 characters become ','). Data of one character or less is left alone, and so is
// 0x3E data too short to have an index 8.
[[nodiscard]] std::string rewriteAnswerData(int command, std::string data);
// Splits at ',' into fields; returns the field count (0 for empty data). Empty fields count.
// The 20th field keeps the rest of the text, commas included, so nothing is lost. Entries
// beyond the count are emptied.
int splitAnswerFields(const std::string& data, std::array<std::string, kMaxFields>& fields);

// The host's receive state machine for one answer (states 0..9). SOH always restarts a frame,
// ETX always ends the answer, NAK ends it as rejected. Buffers stay inside their limits:
// answer data at most 212 bytes (LEN 0xFF), raw bytes at most 305 (further bytes are still
// received, only not kept).
class AnswerReceiver {
public:
    enum State : int {
        WaitSoh = 0,
        WaitLen = 1,
        WaitSeq = 2,
        WaitCmd = 3,
        InData = 4,
        WaitSeparator = 5,
        InStatus = 6,
        WaitCheckedEnd = 7,
        InChecksum = 8,
        WaitEtx = 9,
    };

    // One received byte.
    void feed(std::uint8_t byte);
    // Everything cleared for a new exchange.
    void reset();
    // Back to state 0 after a line error; what was received so far is kept.
    void restart() { m_state = WaitSoh; }

    [[nodiscard]] bool ended() const { return m_ended; }
    [[nodiscard]] bool nak() const { return m_nak; }
    // The verdict taken when the answer ended at ETX: true only when all four checksum digits of
    // that frame arrived and match the sum of its bytes from LEN through 0x05. Bytes after the
    // ETX (a SYN, line noise, a stray ETX) do not change it; only a new frame does.
    [[nodiscard]] bool checksumOk() const { return m_checksumOk; }
    [[nodiscard]] int state() const { return m_state; }
    [[nodiscard]] const std::string& data() const { return m_data; }
    [[nodiscard]] const StatusBytes& status() const { return m_status; }
    [[nodiscard]] const std::string& raw() const { return m_raw; }
    [[nodiscard]] int sequence() const { return m_sequence; } // SEQ byte - 0x20
    [[nodiscard]] std::uint8_t command() const { return m_command; }

private:
    void handle(std::uint8_t byte);
    void keepRaw(std::uint8_t byte);

    int m_state = WaitSoh;
    bool m_ended = false;
    bool m_nak = false;
    bool m_digitsComplete = false;
    bool m_checksumOk = false;
    bool m_inFrame = false; // an SOH came after the last end: the next ETX judges that frame
    std::size_t m_dataLength = 0;
    std::size_t m_index = 0;
    std::uint16_t m_sum = 0;
    int m_receivedSum = 0;
    int m_sequence = 0;
    std::uint8_t m_command = 0;
    std::string m_data;
    StatusBytes m_status{};
    std::string m_raw;
};

// Bytes as upper-case hexadecimal pairs separated by blanks: "01 25 21 4A".
[[nodiscard]] std::string hexBytes(std::string_view bytes);

} // namespace quorvex::link
