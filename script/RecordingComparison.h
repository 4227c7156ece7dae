#pragma once
// The second registrar may be a recorded exchange log instead of a device. Against a recording
// a comparison covers more than the fields: the six status bytes bit by bit and the link's
// errors (checksum, NAK), and a request the recording has no answer for is a difference of its
// own. Two live registrars are compared by their fields only.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace quorvex::script {

class RecordedSecondRegistrar {
public:
    // The replay had no answer for this request: never recorded (timesRecorded 0), or asked for
    // more often than recorded.
    void noteUnrecorded(int command, const std::string& data, std::size_t timesRecorded);
    // The report line for the request the last exchange lacked, once; nullopt when it was
    // recorded.
    [[nodiscard]] std::optional<std::string> takeUnrecorded();

private:
    std::optional<std::string> m_unrecorded;
};

// The recording the second registrar plays, or nullptr (at start) for a live registrar.
void setRecordedSecond(std::shared_ptr<RecordedSecondRegistrar> recording);
[[nodiscard]] RecordedSecondRegistrar* recordedSecond();

} // namespace quorvex::script
