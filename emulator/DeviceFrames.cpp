#include "emulator/DeviceFrames.h"

#include "link/Frame.h"

#include <algorithm>
#include <span>

namespace quorvex::emulator {

namespace {

constexpr std::size_t kRequestOverhead = 10; // SOH LEN SEQ CMD 0x05 four digits ETX

bool digitsInRange(std::span<const std::uint8_t> digits)
{
    return std::all_of(digits.begin(), digits.end(),
                       [](std::uint8_t d) { return d >= 0x30 && d <= 0x3F; });
}

} // namespace

std::optional<HandledRequest> parseRequestFrame(const std::vector<std::uint8_t>& frame)
{
    if (frame.size() < kRequestOverhead || frame.front() != link::SOH || frame.back() != link::ETX)
        return std::nullopt;
    const std::size_t dataLength = frame.size() - kRequestOverhead;
    if (frame[1] != dataLength + link::kRequestLenBase || frame[2] < link::kSequenceBase)
        return std::nullopt;
    const std::size_t markAt = dataLength + 4;
    if (frame[markAt] != link::CHECKED_END)
        return std::nullopt;
    const std::span<const std::uint8_t> all(frame);
    const auto digits = all.subspan(markAt + 1, 4);
    if (!digitsInRange(digits) ||
        link::readChecksumDigits(digits) != link::checksumOf(all.subspan(1, markAt)))
        return std::nullopt;

    HandledRequest request;
    request.sequence = frame[2] - link::kSequenceBase;
    request.command = frame[3];
    request.data.assign(frame.begin() + 4, frame.begin() + static_cast<std::ptrdiff_t>(markAt));
    return request;
}

std::string buildAnswerFrame(std::uint8_t sequenceByte, std::uint8_t command,
                             const std::string& data, const std::array<std::uint8_t, 6>& status)
{
    const link::Bytes frame = link::buildAnswerFrame(sequenceByte, command, data, status);
    return {frame.begin(), frame.end()};
}

} // namespace quorvex::emulator
