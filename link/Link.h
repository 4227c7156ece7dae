#pragma once
// The registrar link: two ports, the exchange log, the frame exchange of one command.
// All of it runs on the calling thread; SendCommand blocks until the answer's end or the
// time-out and calls the callback before it returns.
#include "link/ExchangeObserver.h"
#include "link/Refusal.h"
#include "link/RetData.h"
#include "serial/PortRegistry.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quorvex::platform {
class Clock;
}

namespace quorvex::link {

using ResultCallback = std::function<void(RetData&)>;

// Message posted in window mode when an exchange has ended.
constexpr std::uint32_t WM_RETDATA = 0x1099;

// Receiver of WM_RETDATA (window mode): wParam is the command code, lParam the link's RetData.
class NotifyWindow {
public:
    virtual ~NotifyWindow() = default;
    virtual void postMessage(std::uint32_t message, std::int32_t wParam, RetData* lParam) = 0;
};

class ExchangeLog;

// When the receive loop takes an answer as ended. Quiet: only at the first read after the ETX
// that finds the line silent for 100 ms. Etx: at once, at the ETX of a frame whose four
// checksum digits match, or at a NAK; a frame with a wrong checksum still waits as in Quiet.
// The bytes on the wire are the same in both modes.
enum class AnswerEnd { Quiet, Etx };

// How long a registrar may hold an exchange open with SYN bytes (it is busy) before the link gives
// up the wait with ERR_BUSY, unless set otherwise.
constexpr int kDefaultBusyLimitSeconds = 120;

// "quiet" or "etx" in any letter case; nothing for any other text, the empty one included.
[[nodiscard]] std::optional<AnswerEnd> parseAnswerEnd(std::string_view text);

class Link {
public:
    // ports: where port names are opened; clock: local time for the log.
    explicit Link(serial::PortRegistry& ports = serial::portRegistry(),
                  platform::Clock* clock = nullptr);
    ~Link();
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    // Returns a handle (> 0) or -1 when the port cannot be opened; makes the link idle.
    [[nodiscard]] int OpenFirstPort(const std::string& portName, int baudRate);
    [[nodiscard]] int OpenSecondPort(const std::string& portName, int baudRate);
    // Why the last opening failed, one line for the user (also written to the exchange log);
    // empty after a successful opening.
    [[nodiscard]] const std::string& openFailure() const;
    // Non-zero when closed, 0 when closing failed (the line then stays in use) or when nothing
    // was open on that side.
    int CloseFirstPort();
    int CloseSecondPort();
    // 0 selects the first port for the following commands, anything else the second. Returns 0.
    int UseSecondPort(int flag);
    void SetLogName(const std::string& fileName);
    // Whether the second port's sessions and exchanges go to the exchange log (they do until
    // told otherwise). A recording played back as the second registrar is left out, so that the
    // log holds only what a live registrar said.
    void setSecondPortLogged(bool logged);
    // Applies to the exchanges that follow, on both ports. Quiet until set.
    void setAnswerEnd(AnswerEnd mode);
    [[nodiscard]] AnswerEnd answerEnd() const;
    // The longest an exchange waits, counted from the request, while the registrar answers only
    // with SYN; then it ends with ERR_BUSY. Applies to the exchanges that follow, on both ports.
    void setBusyLimit(int seconds);

    // -1 at once while busy or before any port was opened, and for refused arguments (a command
    // outside 0..255, data over 189 bytes): nothing is sent, logged or notified then.
    // Otherwise 0 after the exchange; the outcome is in RetData.
    [[nodiscard]] int SendCommand(NotifyWindow* window, ResultCallback callback, int tag,
                                  int command, const std::string& data);
    // Sends the last request again; flag 0 reuses its SEQ byte, non-zero takes the next.
    // -1 while busy or when no request was sent yet.
    [[nodiscard]] int RepeatCommand(int newSequence);
    // Why the last SendCommand, RepeatCommand or typed operation refused; None when it sent.
    // Every call sets it, so it never describes an earlier call. A refusal changes nothing
    // else, so a caller that got -1 can always ask here.
    [[nodiscard]] Refusal lastRefusal() const;
    // For typed operations that refuse their arguments before calling SendCommand: records
    // Refusal::InvalidArguments and returns -1.
    int refuseArguments();

    [[nodiscard]] const RetData& retData() const;
    [[nodiscard]] bool isIdle() const;
    [[nodiscard]] bool secondPortSelected() const;

    // Registers an observer of every exchange and refusal, until it is removed; the link does
    // not own it.
    void addObserver(ExchangeObserver& observer);
    void removeObserver(ExchangeObserver& observer);
    // Replaces the clocks the observers' records are stamped with (tests).
    void setObserverClocks(ObserverClocks clocks);

    // Replace the log's clock (tests).
    void setClock(platform::Clock* clock);
    // The exchange log (tests set its directory provider).
    [[nodiscard]] ExchangeLog& exchangeLog();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// The process's link and the plain operations the rest of the program calls.
Link& processLink();

int OpenFirstPort(const std::string& portName, int baudRate);
int OpenSecondPort(const std::string& portName, int baudRate);
const std::string& lastOpenFailure();
int CloseFirstPort();
int CloseSecondPort();
int UseSecondPort(int flag);
void SetLogName(const std::string& fileName);
[[nodiscard]] int SendCommand(NotifyWindow* window, ResultCallback callback, int tag, int command,
                              const std::string& data);
[[nodiscard]] int RepeatCommand(int newSequence);

} // namespace quorvex::link
