#include "emulator/Registrar.h"

#include "emulator/DeviceFrames.h"

#include <utility>

namespace quorvex::emulator {

namespace {

// Longest request worth collecting before its ETX: 189 data bytes plus the frame's other nine.
constexpr std::size_t kMaxRequestBeforeEtx = 198;
// The host rewrites blanks into commas among this many leading characters of the diagnostic
// answer.
constexpr std::size_t kDiagnosticBlankZone = 20;
constexpr std::uint8_t kStatusBase = 0x80;
constexpr std::uint8_t kFirstSequenceByte = 0x20;

// Appends to a history that keeps at least its last `kept` entries: once it holds twice as many,
// the older half goes in one step.
template <typename Entry> void remember(std::vector<Entry>& history, Entry entry, std::size_t kept)
{
    if (history.size() >= 2 * kept)
        history.erase(history.begin(), history.end() - static_cast<std::ptrdiff_t>(kept));
    history.push_back(std::move(entry));
}

// Makes the frame's last checksum digit wrong.
void spoilChecksum(std::string& frame)
{
    char& lastDigit = frame[frame.size() - 2];
    lastDigit = static_cast<char>(0x30 + ((lastDigit - 0x30 + 1) & 0x0F));
}

} // namespace

Registrar::Registrar(Identity identity) : m_identity(std::move(identity)) {}

void Registrar::setAnswerData(int command, std::string data)
{
    if (data.size() > kMaxAnswerDataBytes)
        data.resize(kMaxAnswerDataBytes);
    m_answerOverrides[command] = std::move(data);
}

void Registrar::clearAnswerData(int command)
{
    m_answerOverrides.erase(command);
}

void Registrar::reset(Identity identity)
{
    *this = Registrar(std::move(identity));
}

void Registrar::receiveByte(std::uint8_t byte)
{
    if (byte == kSoh) {
        // A new frame always restarts collection, whatever came before.
        m_request.assign(1, byte);
        m_inFrame = true;
        m_overlong = false;
        return;
    }
    if (!m_inFrame)
        return;
    if (byte == kEtx) {
        m_request.push_back(byte);
        finishRequestFrame();
        return;
    }
    if (m_request.size() >= kMaxRequestBeforeEtx)
        m_overlong = true;
    else
        m_request.push_back(byte);
}

void Registrar::finishRequestFrame()
{
    const bool overlong = m_overlong;
    m_inFrame = false;
    m_overlong = false;
    const auto request = overlong ? std::nullopt : parseRequestFrame(m_request);
    m_request.clear();
    if (!request) {
        ++m_rejected;
        if (!m_faults.silent) {
            discardOutput();
            queueAt(m_nowMs, kNak);
        }
        return;
    }
    handleFrame(request->sequence, request->command, request->data);
    remember(m_requests, *request, kHistoryKept);
}

void Registrar::handleFrame(int sequence, int command, const std::string& data)
{
    remember(m_handled, command, kHistoryKept);
    if (m_faults.silent)
        return;
    // A new request supersedes whatever answer was still on its way.
    discardOutput();
    if (m_faults.answerNak) {
        queueAt(m_nowMs, kNak);
        return;
    }

    const int workingMs = m_faults.workingMs > 0 ? m_faults.workingMs : 0;
    for (int at = kSynIntervalMs; at < workingMs; at += kSynIntervalMs)
        queueAt(m_nowMs + at, kSyn);
    const std::int64_t answerAt = m_nowMs + workingMs;
    if (m_answerSource) {
        queueScripted({sequence, command, data}, answerAt);
        return;
    }

    const ModelAnswer answer = answerFor(command, data);
    const StatusBits standing = m_model.standingStatus();
    std::array<std::uint8_t, 6> status{};
    for (std::size_t i = 0; i < status.size(); ++i)
        status[i] = static_cast<std::uint8_t>(kStatusBase | standing[i] | answer.bits[i] |
                                              m_faults.statusBits[i]);
    std::string frame = buildAnswerFrame(static_cast<std::uint8_t>(sequence + kFirstSequenceByte),
                                         static_cast<std::uint8_t>(command), answer.data, status);
    if (m_faults.corruptChecksum)
        spoilChecksum(frame);
    queueAt(answerAt, m_faults.garbageBefore);
    queueAt(answerAt, frame);
}

void Registrar::queueScripted(const HandledRequest& request, std::int64_t answerAt)
{
    const ScriptedAnswer answer = m_answerSource(request);
    if (answer.kind == ScriptedAnswer::Kind::Silence)
        return;
    if (answer.kind == ScriptedAnswer::Kind::Nak) {
        queueAt(answerAt, kNak);
        return;
    }
    std::string frame =
        buildAnswerFrame(static_cast<std::uint8_t>(request.sequence + kFirstSequenceByte),
                         static_cast<std::uint8_t>(request.command), answer.data, answer.status);
    if (m_faults.corruptChecksum || answer.badChecksum)
        spoilChecksum(frame);
    queueAt(answerAt, m_faults.garbageBefore);
    queueAt(answerAt, frame);
}

ModelAnswer Registrar::answerFor(int command, const std::string& requestData)
{
    if (auto it = m_answerOverrides.find(command); it != m_answerOverrides.end())
        return ModelAnswer{it->second, {}};
    if (auto answer = m_model.handle(command, requestData, m_nowMs)) {
        if (answer->data.size() > kMaxAnswerDataBytes)
            answer->data.resize(kMaxAnswerDataBytes);
        return *answer;
    }
    if (command == kDiagnosticCommand)
        return ModelAnswer{diagnosticAnswer(), {}};
    // A code the registrar does not know: refused as an invalid command, as a device does.
    return refused(refusal::kInvalidCommand);
}

std::string Registrar::diagnosticAnswer() const
{
    // Version, build date and time, three internal words, factory number, fiscal number.
    const std::string fields[] = {
        m_identity.softwareVersion, "05Dec26",   "1200", "0000", "0000", "0000",
        m_identity.factoryNumber,   "0000000001"};
    std::string text;
    for (const std::string& field : fields) {
        if (!text.empty())
            text += text.size() < kDiagnosticBlankZone ? ' ' : ',';
        text += field;
    }
    return text;
}

std::optional<std::uint8_t> Registrar::takeByte()
{
    if (m_output.empty() || m_output.front().dueMs > m_nowMs)
        return std::nullopt;
    const std::uint8_t byte = m_output.front().byte;
    m_output.pop_front();
    return byte;
}

bool Registrar::hasPendingOutput() const
{
    return !m_output.empty();
}

std::optional<std::int64_t> Registrar::nextDueMs() const
{
    if (m_output.empty())
        return std::nullopt;
    return m_output.front().dueMs;
}

void Registrar::advanceMs(std::int64_t milliseconds)
{
    if (milliseconds > 0)
        m_nowMs += milliseconds;
}

void Registrar::discardOutput()
{
    m_output.clear();
}

void Registrar::queueAt(std::int64_t dueMs, std::uint8_t byte)
{
    m_output.push_back({dueMs, byte});
}

void Registrar::queueAt(std::int64_t dueMs, const std::string& bytes)
{
    for (char c : bytes)
        queueAt(dueMs, static_cast<std::uint8_t>(c));
}

} // namespace quorvex::emulator
