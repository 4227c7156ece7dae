#pragma once
// The device side of the registrar protocol: takes request bytes, produces answer bytes,
// runs on a clock of its own (milliseconds) so that waiting costs nothing in tests.
#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quorvex::emulator {

// What the registrar says about itself in the diagnostic answer.
struct Identity {
    std::string softwareVersion = "5.00";   // field 1 of the diagnostic answer (counting from 1)
    std::string factoryNumber = "QV000001"; // field 7
};

// Faults to inject, settable at any time; they apply to the answers that follow.
struct Faults {
    bool answerNak = false;          // answer every request with NAK
    bool corruptChecksum = false;    // answer with a wrong checksum digit
    bool silent = false;             // never answer
    int workingMs = 0;               // before answering, send SYN every 60 ms for this long
    std::string garbageBefore;       // bytes sent before the answer frame
    std::array<std::uint8_t, 6> statusBits{};  // OR-ed into S0..S5 of every answer
};

class Registrar {
public:
    explicit Registrar(Identity identity = {});

    Identity& identity() { return m_identity; }
    Faults& faults() { return m_faults; }

    // Answer a chosen command with this data instead of its own (fields separated by ',').
    void setAnswerData(int command, std::string data);
    void clearAnswerData(int command);

    // Host -> device: one byte of a request frame.
    void receiveByte(std::uint8_t byte);
    // Device -> host: the next byte that is due at the current time, if any.
    std::optional<std::uint8_t> takeByte();
    // True when bytes are queued (due now or later).
    [[nodiscard]] bool hasPendingOutput() const;
    // Advances the registrar's clock; SYN bytes and delayed answers become due.
    void advanceMs(std::int64_t milliseconds);
    [[nodiscard]] std::int64_t nowMs() const { return m_nowMs; }
    // Drops everything queued for the host (the host purged its input).
    void discardOutput();

    // Requests handled so far (command codes in order), for tests.
    [[nodiscard]] const std::vector<int>& handledCommands() const { return m_handled; }

private:
    struct Timed {
        std::int64_t dueMs;
        std::uint8_t byte;
    };
    void handleFrame(int sequence, int command, const std::string& data);
    std::string answerDataFor(int command, const std::string& data);

    Identity m_identity;
    Faults m_faults;
    std::map<int, std::string> m_answerOverrides;
    std::vector<std::uint8_t> m_request;
    std::deque<Timed> m_output;
    std::int64_t m_nowMs = 0;
    std::vector<int> m_handled;
};

}  // namespace quorvex::emulator
