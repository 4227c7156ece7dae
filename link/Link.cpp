#include "link/Link.h"

#include "link/CommandNames.h"
#include "link/ExchangeLog.h"
#include "link/Frame.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace quorvex::link {

namespace {

// Consecutive empty 100-ms reads after which an answer is declared missing.
constexpr int kSilentReadsLimit = 50;
// Bytes other than SYN that one exchange takes in before it gives up on a line that never goes
// quiet (noise at a wrong speed, a loop-back, a broken adapter): the most a raw answer holds
// and a generous margin. SYN alone may still hold an exchange open for as long as it comes.
constexpr std::size_t kStreamedBytesLimit = kMaxRawAnswer + 4096;

std::string upperHex(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(value));
    return text;
}

bool sameLetters(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

std::optional<AnswerEnd> parseAnswerEnd(std::string_view text)
{
    if (sameLetters(text, "quiet"))
        return AnswerEnd::Quiet;
    if (sameLetters(text, "etx"))
        return AnswerEnd::Etx;
    return std::nullopt;
}

struct Link::State {
    struct LastRequest {
        bool valid = false;
        NotifyWindow* window = nullptr;
        ResultCallback callback;
        int tag = 0;
        int command = 0;
        std::string data;
    };

    State(serial::PortRegistry& registry, platform::Clock* clock) : ports(registry), log(clock)
    {
        using namespace std::chrono;
        observerClocks.monotonicUs = [] {
            return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
        };
        observerClocks.wallMs = [] {
            return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
        };
    }

    serial::PortRegistry& ports;
    ExchangeLog log;
    std::array<std::unique_ptr<serial::SerialLine>, 2> lines;
    int nextHandle = 1;
    int selector = 0;
    AnswerEnd answerEnd = AnswerEnd::Quiet;
    bool secondLogged = true;
    std::int64_t busyLimitUs = std::int64_t{kDefaultBusyLimitSeconds} * 1'000'000;
    bool idle = false;
    std::uint8_t counter = 0;
    std::uint8_t previousCounter = 0;
    std::array<std::string, 2> portNames;
    LastRequest last;
    std::string openFailure;
    Refusal refusal = Refusal::None;
    AnswerReceiver receiver;
    // Why the running exchange ended early, if it did.
    enum class Cut { None, Streaming, LineGone, Busy } cut = Cut::None;
    RetData retData;
    std::vector<ExchangeObserver*> observers;
    ObserverClocks observerClocks;

    int openPort(int side, const std::string& portName, int baudRate);
    int closePort(int side);
    int selectedSide() const { return selector != 0 ? 1 : 0; }
    bool logged(int side) const { return side == 0 || secondLogged; }
    serial::SerialLine* selectedLine() { return lines[selectedSide()].get(); }
    void transmit(serial::SerialLine& line, const Bytes& frame);
    void receive(serial::SerialLine& line, std::int64_t sentUs);
    [[nodiscard]] bool endsAtOnce(std::uint8_t byte) const;
    void finish(const Bytes& frame);
    [[nodiscard]] std::uint32_t errorWord() const;
    int refuse(Refusal why, int command = 0, const std::string& data = {})
    {
        refusal = why;
        if (!observers.empty())
            reportRefusal(why, command, data);
        return -1;
    }
    void reportRefusal(Refusal why, int command, const std::string& data);
    void reportExchange(std::int64_t writtenUs, std::int64_t answeredUs);
    // What the operator and the log are told about an exchange cut short; empty otherwise.
    [[nodiscard]] std::string cutNote() const;
};

int Link::State::openPort(int side, const std::string& portName, int baudRate)
{
    idle = true;
    // Opening again replaces the side's line; the previous one is released first so that an
    // exclusive device can be opened anew.
    if (lines[side]) {
        lines[side]->close();
        lines[side].reset();
    }
    openFailure.clear();
    std::unique_ptr<serial::SerialLine> line = ports.open(portName, baudRate, &openFailure);
    if (!line) {
        if (logged(side))
            log.writeNote(openFailure);
        return -1;
    }
    openFailure.clear();
    line->purge();
    if (logged(side))
        log.write("", "START");
    lines[side] = std::move(line);
    portNames[side] = portName;
    return nextHandle++;
}

int Link::State::closePort(int side)
{
    serial::SerialLine* line = lines[side].get();
    if (!line)
        return 0; // nothing open on this side: no session to end
    line->flush();
    if (logged(side))
        log.write("END", "");
    line->purge();
    if (!line->close())
        return 0;
    lines[side].reset();
    return 1;
}

void Link::State::transmit(serial::SerialLine& line, const Bytes& frame)
{
    line.flush();
    line.purge();
    line.write(frame.data(), frame.size());
}

void Link::State::receive(serial::SerialLine& line, std::int64_t sentUs)
{
    int silentReads = 0;
    std::size_t streamed = 0;
    for (;;) {
        const serial::ReadResult read = line.readByte();
        if (read.kind == serial::ReadResult::Kind::Byte) {
            receiver.feed(read.byte);
            silentReads = 0;
            if (read.byte != SYN && ++streamed > kStreamedBytesLimit) {
                cut = Cut::Streaming;
                return;
            }
            // A registrar that is busy for ever would hold the program for ever.
            if (read.byte == SYN && observerClocks.monotonicUs() - sentUs > busyLimitUs) {
                cut = Cut::Busy;
                return;
            }
            if (endsAtOnce(read.byte))
                return;
            continue;
        }
        if (read.kind == serial::ReadResult::Kind::Error) {
            if (line.gone()) {
                // Nothing more can come: end at once, as a time-out unless the answer is whole.
                if (!receiver.ended())
                    cut = Cut::LineGone;
                return;
            }
            line.clearError();
            receiver.restart();
        }
        if (receiver.ended() || ++silentReads >= kSilentReadsLimit)
            return;
    }
}

bool Link::State::endsAtOnce(std::uint8_t byte) const
{
    // Only the byte that closed a good frame counts: an earlier ETX of a bad frame leaves the
    // answer ended, and the digits of the next frame match before its own ETX has come.
    if (answerEnd != AnswerEnd::Etx || !receiver.ended())
        return false;
    return byte == NAK || (byte == ETX && receiver.checksumOk());
}

std::uint32_t Link::State::errorWord() const
{
    if (cut == Cut::Streaming)
        return ERR_BCC;
    if (cut == Cut::Busy)
        return ERR_BUSY;
    if (!receiver.ended())
        return ERR_TIMEOUT;
    if (receiver.nak())
        return ERR_NAK;
    if (!receiver.checksumOk())
        return ERR_BCC;
    return errorWordFromStatus(receiver.status());
}

// Fills RetData from the answer and the stored request. The request is the link's own copy: the
// caller's data may be a text inside RetData itself, overwritten here.
void Link::State::finish(const Bytes& frame)
{
    const int command = last.command;
    RetData& r = retData;
    r.Command = command;
    r.Tag = last.tag;
    // Status bytes only of an answer that ended; a frame cut off by the time-out leaves zeros,
    // and so does a line that kept on talking.
    const bool answered = receiver.ended() && cut == Cut::None;
    for (std::size_t i = 0; i < kStatusBytes; ++i)
        r.Status[i] = answered ? receiver.status()[i] & 0x7F : 0;
    r.ErrorFlags = errorWord();
    r.AnswerData.assign(receiver.data(), 0, kAnswerDataCopy);
    r.CommandName = GetCommandName(command);
    r.RequestData = last.data;
    r.FieldCount = splitAnswerFields(rewriteAnswerData(command, receiver.data()), r.Fields);
    r.RequestFrame.assign(frame.begin(), frame.end());
    if (r.RequestFrame.size() > kMaxRequestFrame)
        r.RequestFrame.resize(kMaxRequestFrame);
    r.RawAnswer = receiver.raw();
    r.LineFault = cut == Cut::LineGone ? cutNote() : std::string();
}

void Link::State::reportRefusal(Refusal why, int command, const std::string& data)
{
    ExchangeRecord record;
    record.registrar = selectedSide() + 1;
    record.refusal = why;
    record.command = command;
    record.requestData = data;
    record.writtenUs = record.answeredUs = observerClocks.monotonicUs();
    record.wallMs = observerClocks.wallMs();
    for (ExchangeObserver* observer : std::vector<ExchangeObserver*>(observers))
        observer->exchangeFinished(record);
}

void Link::State::reportExchange(std::int64_t writtenUs, std::int64_t answeredUs)
{
    ExchangeRecord record;
    record.registrar = selectedSide() + 1;
    record.sequence = sequenceByte(counter);
    record.command = last.command;
    record.requestData = last.data;
    record.result = retData;
    record.writtenUs = writtenUs;
    record.answeredUs = answeredUs;
    record.wallMs = observerClocks.wallMs();
    // A copy of the list: an observer may remove itself while it is told.
    for (ExchangeObserver* observer : std::vector<ExchangeObserver*>(observers))
        observer->exchangeFinished(record);
}

std::string Link::State::cutNote() const
{
    const std::string port = "Порт " + portNames[selectedSide()] + ": ";
    switch (cut) {
    case Cut::LineGone:
        return port + "устройство отключено или линия разорвана";
    case Cut::Streaming:
        return port + "обмен прерван, данные идут без паузы (более " +
               std::to_string(kStreamedBytesLimit) + " байт)";
    case Cut::Busy:
        return port + "регистратор занят (SYN) дольше " + std::to_string(busyLimitUs / 1'000'000) +
               " с, ожидание ответа прервано";
    case Cut::None:
        break;
    }
    return {};
}

Link::Link(serial::PortRegistry& ports, platform::Clock* clock)
    : m_state(std::make_unique<State>(ports, clock))
{
}

Link::~Link() = default;

int Link::OpenFirstPort(const std::string& portName, int baudRate)
{
    return m_state->openPort(0, portName, baudRate);
}

int Link::OpenSecondPort(const std::string& portName, int baudRate)
{
    return m_state->openPort(1, portName, baudRate);
}

const std::string& Link::openFailure() const
{
    return m_state->openFailure;
}

int Link::CloseFirstPort()
{
    return m_state->closePort(0);
}

int Link::CloseSecondPort()
{
    return m_state->closePort(1);
}

int Link::UseSecondPort(int flag)
{
    m_state->selector = flag;
    return 0;
}

void Link::SetLogName(const std::string& fileName)
{
    m_state->log.setName(fileName);
}

void Link::setSecondPortLogged(bool logged)
{
    m_state->secondLogged = logged;
}

void Link::setAnswerEnd(AnswerEnd mode)
{
    m_state->answerEnd = mode;
}

AnswerEnd Link::answerEnd() const
{
    return m_state->answerEnd;
}

void Link::setBusyLimit(int seconds)
{
    m_state->busyLimitUs =
        std::int64_t{seconds > 0 ? seconds : kDefaultBusyLimitSeconds} * 1'000'000;
}

int Link::SendCommand(NotifyWindow* window, ResultCallback callback, int tag, int command,
                      const std::string& data)
{
    State& s = *m_state;
    // Refused: nothing sent, logged or notified (only observers hear of it).
    if (!s.idle)
        return s.refuse(Refusal::NotIdle, command, data);
    // A port that is not open cannot answer: the request is refused, not timed out.
    if (s.selectedLine() == nullptr)
        return s.refuse(Refusal::PortClosed, command, data);
    if (command < 0 || command > 0xFF)
        return s.refuse(Refusal::CodeOutOfRange, command, data);
    if (data.size() > kMaxRequestData)
        return s.refuse(Refusal::DataTooLong, command, data);
    s.refusal = Refusal::None;

    s.last = {true, window, callback, tag, command, data};
    s.previousCounter = s.counter;
    ++s.counter;
    s.retData.ErrorFlags = 0;
    s.retData.FieldCount = 0;
    s.retData.Status.fill(0);

    const std::uint8_t seq = sequenceByte(s.counter);
    const bool logged = s.logged(s.selectedSide());
    if (logged)
        s.log.write(upperHex(seq), upperHex(command) + data);

    s.idle = false;
    s.receiver.reset();
    s.cut = State::Cut::None;
    const Bytes frame = buildRequestFrame(seq, static_cast<std::uint8_t>(command), data);
    serial::SerialLine& line = *s.selectedLine();
    const bool observed = !s.observers.empty();
    const std::int64_t writtenUs = s.observerClocks.monotonicUs();
    s.transmit(line, frame);
    s.receive(line, writtenUs);
    const std::int64_t answeredUs = observed ? s.observerClocks.monotonicUs() : 0;
    const platform::LocalTime answeredAt = s.log.now();
    s.finish(frame);
    s.idle = true;
    if (observed)
        s.reportExchange(writtenUs, answeredUs);

    // A callback may start the next command, which overwrites RetData: the answer entry logs
    // the bytes of this exchange.
    const std::string received = s.retData.RawAnswer;
    const std::string note = s.cutNote();
    // Window mode only when no callback is given.
    if (callback)
        callback(s.retData);
    else if (window)
        window->postMessage(WM_RETDATA, command, &s.retData);
    if (logged) {
        s.log.writeAt(answeredAt, " ", ";" + received);
        // Dated when the line was found gone, not when a message box about it was closed.
        if (!note.empty())
            s.log.writeNoteAt(answeredAt, note);
    }
    return 0;
}

int Link::RepeatCommand(int newSequence)
{
    State& s = *m_state;
    if (!s.idle)
        return s.refuse(Refusal::NotIdle);
    if (!s.last.valid)
        return s.refuse(Refusal::NothingToRepeat);
    if (newSequence == 0)
        s.counter = s.previousCounter;
    const State::LastRequest last = s.last;
    return SendCommand(last.window, last.callback, last.tag, last.command, last.data);
}

Refusal Link::lastRefusal() const
{
    return m_state->refusal;
}

int Link::refuseArguments()
{
    return m_state->refuse(Refusal::InvalidArguments);
}

void Link::addObserver(ExchangeObserver& observer)
{
    m_state->observers.push_back(&observer);
}

void Link::removeObserver(ExchangeObserver& observer)
{
    auto& observers = m_state->observers;
    observers.erase(std::remove(observers.begin(), observers.end(), &observer), observers.end());
}

void Link::setObserverClocks(ObserverClocks clocks)
{
    m_state->observerClocks = std::move(clocks);
}

const RetData& Link::retData() const
{
    return m_state->retData;
}

bool Link::isIdle() const
{
    return m_state->idle;
}

bool Link::secondPortSelected() const
{
    return m_state->selector != 0;
}

void Link::setClock(platform::Clock* clock)
{
    m_state->log.setClock(clock);
}

ExchangeLog& Link::exchangeLog()
{
    return m_state->log;
}

Link& processLink()
{
    static Link link;
    return link;
}

int OpenFirstPort(const std::string& portName, int baudRate)
{
    return processLink().OpenFirstPort(portName, baudRate);
}

int OpenSecondPort(const std::string& portName, int baudRate)
{
    return processLink().OpenSecondPort(portName, baudRate);
}

const std::string& lastOpenFailure()
{
    return processLink().openFailure();
}

int CloseFirstPort()
{
    return processLink().CloseFirstPort();
}

int CloseSecondPort()
{
    return processLink().CloseSecondPort();
}

int UseSecondPort(int flag)
{
    return processLink().UseSecondPort(flag);
}

void SetLogName(const std::string& fileName)
{
    processLink().SetLogName(fileName);
}

int SendCommand(NotifyWindow* window, ResultCallback callback, int tag, int command,
                const std::string& data)
{
    return processLink().SendCommand(window, std::move(callback), tag, command, data);
}

int RepeatCommand(int newSequence)
{
    return processLink().RepeatCommand(newSequence);
}

} // namespace quorvex::link
