#include "emulator/Replay.h"

#include "emulator/EmulatedLine.h"

#include <cstdio>

namespace quorvex::emulator {

namespace {

constexpr std::uint8_t kStatusBase = 0x80;
constexpr std::uint8_t kInvalidCommandBits = 0x02 | 0x20; // invalid command, general error

ScriptedAnswer scriptedOf(const link::LoggedExchange& exchange)
{
    switch (exchange.outcome) {
    case link::LoggedOutcome::Answer:
        return {ScriptedAnswer::Kind::Frame, exchange.answerData, exchange.answerStatus};
    case link::LoggedOutcome::Nak:
        return {ScriptedAnswer::Kind::Nak, {}, {}};
    case link::LoggedOutcome::TimeOut:
        break;
    }
    return {ScriptedAnswer::Kind::Silence, {}, {}};
}

// A line on a registrar it keeps alive, so the port may be unregistered while it is open.
class OwningLine final : public serial::SerialLine {
public:
    explicit OwningLine(std::shared_ptr<Registrar> registrar)
        : m_registrar(std::move(registrar)), m_line(makeEmulatedLine(*m_registrar))
    {
    }
    bool flush() override { return m_line->flush(); }
    bool purge() override { return m_line->purge(); }
    bool write(const std::uint8_t* data, std::size_t size) override
    {
        return m_line->write(data, size);
    }
    serial::ReadResult readByte() override { return m_line->readByte(); }
    void clearError() override { m_line->clearError(); }
    bool gone() override { return m_line->gone(); }
    bool close() override { return m_line->close(); }

private:
    std::shared_ptr<Registrar> m_registrar;
    std::unique_ptr<serial::SerialLine> m_line;
};

} // namespace

ReplayAnswers::ReplayAnswers(const std::vector<link::LoggedExchange>& exchanges)
{
    for (const link::LoggedExchange& exchange : exchanges)
        m_recorded[{exchange.command, exchange.data}].answers.push_back(scriptedOf(exchange));
}

std::optional<ScriptedAnswer> ReplayAnswers::next(int command, const std::string& data)
{
    const auto it = m_recorded.find({command, data});
    if (it == m_recorded.end())
        return std::nullopt;
    Recorded& recorded = it->second;
    const std::size_t index = std::min(recorded.served, recorded.answers.size() - 1);
    ++recorded.served;
    return recorded.answers[index];
}

ScriptedAnswer refusedAsUnrecorded()
{
    ScriptedAnswer answer;
    answer.status.fill(kStatusBase);
    answer.status[0] |= kInvalidCommandBits;
    return answer;
}

std::string describeRequest(int command, const std::string& data)
{
    char code[8];
    std::snprintf(code, sizeof code, "%02X", static_cast<unsigned>(command));
    return data.empty() ? std::string(code) : std::string(code) + " " + data;
}

void replayOn(Registrar& registrar, std::shared_ptr<ReplayAnswers> answers,
              UnrecordedListener unrecorded)
{
    registrar.setAnswerSource([answers = std::move(answers),
                               unrecorded = std::move(unrecorded)](const HandledRequest& request) {
        if (auto answer = answers->next(request.command, request.data))
            return *answer;
        if (unrecorded)
            unrecorded(request);
        return refusedAsUnrecorded();
    });
}

void registerReplayPort(serial::PortRegistry& registry, const std::string& portName,
                        const link::ExchangeLogContents& contents, UnrecordedListener unrecorded)
{
    auto registrar = std::make_shared<Registrar>();
    replayOn(*registrar, std::make_shared<ReplayAnswers>(contents.exchanges),
             std::move(unrecorded));
    registry.addVirtualPort(portName, [registrar](const std::string&, int) {
        return std::make_unique<OwningLine>(registrar);
    });
}

} // namespace quorvex::emulator
