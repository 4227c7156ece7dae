#include "script/RecordingComparison.h"

#include <cstdio>
#include <utility>

namespace quorvex::script {

namespace {

std::shared_ptr<RecordedSecondRegistrar>& processRecording()
{
    static std::shared_ptr<RecordedSecondRegistrar> recording;
    return recording;
}

} // namespace

void RecordedSecondRegistrar::noteUnrecorded(int command, const std::string& data,
                                             std::size_t timesRecorded)
{
    char code[8];
    std::snprintf(code, sizeof code, "%02X", static_cast<unsigned>(command));
    const std::string request = data.empty() ? std::string(code) : std::string(code) + " " + data;
    if (timesRecorded == 0)
        m_unrecorded = "Запрос не найден в записи обмена: " + request;
    else
        m_unrecorded = "Запрос повторён чаще, чем в записи обмена (записан раз: " +
                       std::to_string(timesRecorded) + "): " + request;
}

std::optional<std::string> RecordedSecondRegistrar::takeUnrecorded()
{
    return std::exchange(m_unrecorded, std::nullopt);
}

void setRecordedSecond(std::shared_ptr<RecordedSecondRegistrar> recording)
{
    processRecording() = std::move(recording);
}

RecordedSecondRegistrar* recordedSecond()
{
    return processRecording().get();
}

} // namespace quorvex::script
