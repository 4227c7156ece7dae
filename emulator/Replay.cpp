#include "emulator/Replay.h"

#include "emulator/EmulatedLine.h"
#include "platform/FileReplace.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace quorvex::emulator {

namespace {

constexpr std::uint8_t kStatusBase = 0x80;
constexpr std::uint8_t kInvalidCommandBits = 0x02 | 0x20; // invalid command, general error

ScriptedAnswer scriptedOf(const link::LoggedExchange& exchange)
{
    switch (exchange.outcome) {
    case link::LoggedOutcome::Answer:
        return {ScriptedAnswer::Kind::Frame, exchange.answerData, exchange.answerStatus,
                !exchange.checksumOk};
    case link::LoggedOutcome::Nak:
        return {ScriptedAnswer::Kind::Nak, {}, {}, false};
    case link::LoggedOutcome::TimeOut:
        break;
    }
    return {ScriptedAnswer::Kind::Silence, {}, {}, false};
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

ReplayAnswers::ReplayAnswers(WhenUsedUp whenUsedUp) : m_whenUsedUp(whenUsedUp) {}

ReplayAnswers::ReplayAnswers(const std::vector<link::LoggedExchange>& exchanges,
                             WhenUsedUp whenUsedUp)
    : m_whenUsedUp(whenUsedUp)
{
    for (const link::LoggedExchange& exchange : exchanges)
        add(exchange);
}

void ReplayAnswers::add(const link::LoggedExchange& exchange)
{
    m_recorded[{exchange.command, exchange.data}].answers.push_back(scriptedOf(exchange));
    ++m_answers;
}

std::optional<ScriptedAnswer> ReplayAnswers::next(int command, const std::string& data)
{
    const auto it = m_recorded.find({command, data});
    if (it == m_recorded.end())
        return std::nullopt;
    Recorded& recorded = it->second;
    if (recorded.served >= recorded.answers.size() && m_whenUsedUp == WhenUsedUp::Unrecorded)
        return std::nullopt;
    const std::size_t index = std::min(recorded.served, recorded.answers.size() - 1);
    ++recorded.served;
    return recorded.answers[index];
}

std::size_t ReplayAnswers::timesRecorded(int command, const std::string& data) const
{
    const auto it = m_recorded.find({command, data});
    return it == m_recorded.end() ? 0 : it->second.answers.size();
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

std::string describeUnrecorded(const HandledRequest& request, std::size_t timesRecorded)
{
    const std::string shown = describeRequest(request.command, request.data);
    if (timesRecorded == 0)
        return "never recorded: " + shown;
    return shown + " recorded only " + std::to_string(timesRecorded) +
           (timesRecorded == 1 ? " time" : " times");
}

void replayOn(Registrar& registrar, std::shared_ptr<ReplayAnswers> answers,
              UnrecordedListener unrecorded)
{
    registrar.setAnswerSource([answers = std::move(answers),
                               unrecorded = std::move(unrecorded)](const HandledRequest& request) {
        if (auto answer = answers->next(request.command, request.data))
            return *answer;
        if (unrecorded)
            unrecorded(request, answers->timesRecorded(request.command, request.data));
        return refusedAsUnrecorded();
    });
}

LoadedReplay loadReplay(const std::string& path, const std::string& shownPath,
                        ReplayAnswers::WhenUsedUp whenUsedUp)
{
    LoadedReplay loaded;
    auto answers = std::make_shared<ReplayAnswers>(whenUsedUp);
    errno = 0;
    const auto summary = link::readExchangeLogFile(
        path, [&](link::LoggedExchange&& exchange) { answers->add(exchange); });
    if (!summary) {
        const std::error_code reason(errno != 0 ? errno : EIO, std::generic_category());
        loaded.messages.push_back("cannot read the exchange log " + shownPath + ": " +
                                  platform::reasonText(reason));
        loaded.refusal = LoadedReplay::Refusal::Unreadable;
        return loaded;
    }
    if (summary->convertedToUtf8) {
        loaded.messages.push_back(shownPath +
                                  " is UTF-8 text, but an exchange log is Windows-1251 (was it "
                                  "converted with iconv?): convert it back with "
                                  "iconv -f UTF-8 -t CP1251, or use the log as it was written");
        loaded.refusal = LoadedReplay::Refusal::ConvertedToUtf8;
        return loaded;
    }
    loaded.messages = link::describeProblems(shownPath, *summary);
    loaded.whole = summary->problemCount == 0;
    if (answers->answerCount() == 0) {
        loaded.messages.push_back("no exchange to replay in " + shownPath);
        loaded.refusal = LoadedReplay::Refusal::NoExchange;
        return loaded;
    }
    loaded.answers = std::move(answers);
    return loaded;
}

void registerReplayPort(serial::PortRegistry& registry, const std::string& portName,
                        std::shared_ptr<ReplayAnswers> answers, UnrecordedListener unrecorded)
{
    auto registrar = std::make_shared<Registrar>();
    replayOn(*registrar, std::move(answers), std::move(unrecorded));
    registry.addVirtualPort(portName, [registrar](const std::string&, int) {
        return std::make_unique<OwningLine>(registrar);
    });
}

} // namespace quorvex::emulator
