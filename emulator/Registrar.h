#pragma once
// The device side of the registrar protocol: takes request bytes, produces answer bytes,
// runs on a clock of its own (milliseconds) so that waiting costs nothing in tests.
//
// A complete request frame (SOH ... ETX) is checked for its length byte, its 0x05 and its
// checksum; a bad frame is answered with NAK, a good one with an answer frame carrying the same
// SEQ and CMD, the command's data and the six status bytes. Bytes outside a frame are ignored.
// Not thread-safe: one owner drives it.
#include "emulator/FiscalModel.h"

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quorvex::emulator {

// What the registrar says about itself in the diagnostic answer (command 0x5A).
// Neither text may hold a blank or a comma: both separate the answer's fields.
struct Identity {
    std::string softwareVersion = "5.00";   // field 1 of the diagnostic answer (counting from 1)
    std::string factoryNumber = "QV000001"; // field 7
};

// Faults to inject, settable at any time; they apply to the answers that follow.
// Precedence: silent, then NAK, then the answer with its other faults.
struct Faults {
    bool answerNak = false;       // answer every request with NAK
    bool corruptChecksum = false; // answer with a wrong checksum digit
    bool silent = false;          // never answer
    int workingMs = 0;            // before answering, send SYN every 60 ms for this long
    std::string garbageBefore;    // bytes sent before the answer frame
    std::array<std::uint8_t, 6> statusBits{}; // OR-ed into S0..S5 of every answer
};

// One request frame that passed the checks.
struct HandledRequest {
    int sequence = 0; // SEQ byte - 0x20
    int command = 0;
    std::string data;
};

// An answer decided outside the fiscal model (a recorded exchange played back): a frame with
// this data and these status bytes as sent (with a wrong checksum when it was recorded so),
// a NAK, or no answer at all.
struct ScriptedAnswer {
    enum class Kind { Frame, Nak, Silence };
    Kind kind = Kind::Frame;
    std::string data;
    std::array<std::uint8_t, 6> status{};
    bool badChecksum = false;
};
using AnswerSource = std::function<ScriptedAnswer(const HandledRequest&)>;

constexpr std::uint8_t kSoh = 0x01;
constexpr std::uint8_t kEtx = 0x03;
constexpr std::uint8_t kStatusSeparator = 0x04;
constexpr std::uint8_t kChecksumMark = 0x05;
constexpr std::uint8_t kNak = 0x15;
constexpr std::uint8_t kSyn = 0x16;
constexpr int kSynIntervalMs = 60;
constexpr int kDiagnosticCommand = 0x5A;
constexpr std::size_t kMaxAnswerDataBytes = 212; // LEN 0xFF

class Registrar {
public:
    explicit Registrar(Identity identity = {});

    Identity& identity() { return m_identity; }
    Faults& faults() { return m_faults; }
    // The fiscal model behind the answers: day, receipts, journal, modem, network.
    FiscalModel& model() { return m_model; }
    [[nodiscard]] const FiscalModel& model() const { return m_model; }

    // Answer a chosen command with this data instead of its own (fields separated by ',').
    // Data beyond 212 bytes does not fit an answer frame and is cut there.
    void setAnswerData(int command, std::string data);
    void clearAnswerData(int command);
    // Every checked request is answered by `source` instead of the fiscal model; the answer
    // frame carries the request's SEQ and CMD. The silent, NAK, working and garbage faults
    // still apply. An empty source ends this.
    void setAnswerSource(AnswerSource source) { m_answerSource = std::move(source); }

    // Back to the state after construction with this identity: no faults, no overrides,
    // nothing queued, nothing handled, clock at 0.
    void reset(Identity identity);

    // Host -> device: one byte of a request frame.
    void receiveByte(std::uint8_t byte);
    // Device -> host: the next byte that is due at the current time, if any.
    std::optional<std::uint8_t> takeByte();
    // True when bytes are queued (due now or later).
    [[nodiscard]] bool hasPendingOutput() const;
    // When the next queued byte is due (registrar clock), if any is queued.
    [[nodiscard]] std::optional<std::int64_t> nextDueMs() const;
    // Advances the registrar's clock; SYN bytes and delayed answers become due.
    void advanceMs(std::int64_t milliseconds);
    [[nodiscard]] std::int64_t nowMs() const { return m_nowMs; }
    // Drops everything queued for the host (the host purged its input).
    void discardOutput();

    // The answer to one request: an override, else the fiscal model's, else the diagnostic
    // answer for 0x5A and empty data for the rest. Runs the model, so it may change its state.
    [[nodiscard]] ModelAnswer answerFor(int command, const std::string& requestData);
    // The diagnostic answer text as sent: blanks separate the fields among the first 20
    // characters, commas after that, so the host's rewrite of those blanks yields plain fields.
    [[nodiscard]] std::string diagnosticAnswer() const;

    // The requests handled lately (command codes in order, oldest first), for tests: at least the
    // last kHistoryKept, so that a long run (EMU1 in the program, a soak script) keeps its memory
    // flat.
    static constexpr std::size_t kHistoryKept = 10'000;
    [[nodiscard]] const std::vector<int>& handledCommands() const { return m_handled; }
    [[nodiscard]] const std::vector<HandledRequest>& handledRequests() const { return m_requests; }
    // Frames answered with NAK because their length, 0x05 or checksum was wrong.
    [[nodiscard]] int rejectedFrames() const { return m_rejected; }

private:
    void finishRequestFrame();
    void handleFrame(int sequence, int command, const std::string& data);
    void queueScripted(const HandledRequest& request, std::int64_t answerAt);
    void queueAt(std::int64_t dueMs, std::uint8_t byte);
    void queueAt(std::int64_t dueMs, const std::string& bytes);

    Identity m_identity;
    Faults m_faults;
    FiscalModel m_model;
    std::map<int, std::string> m_answerOverrides;
    AnswerSource m_answerSource;
    std::vector<std::uint8_t> m_request;
    bool m_inFrame = false;
    bool m_overlong = false;
    struct Timed {
        std::int64_t dueMs;
        std::uint8_t byte;
    };
    std::deque<Timed> m_output;
    std::int64_t m_nowMs = 0;
    std::vector<int> m_handled;
    std::vector<HandledRequest> m_requests;
    int m_rejected = 0;
};

} // namespace quorvex::emulator
