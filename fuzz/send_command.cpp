// SendCommand and RepeatCommand over a line whose every read (a byte, nothing, a line error, a
// device that is gone) comes from the input, checking what RetData may hold and that every
// exchange ends within its bounds.
//
// Input: a sequence of requests. A request is a command byte, a data length byte and the data
// (over 189 bytes is refused), then the line's reads until the marker 0xFF 0x04. In the reads a
// byte stands for itself, except 0xFF followed by: 0x00 nothing (100 ms of silence), 0x01 a line
// error, 0x02 a line error of a device that is gone, 0x03 b n1 n2 the byte b (n1 * 256 + n2)
// times, 0x04 the end of this request's reads, 0x05 repeat the last request, 0xFF the byte 0xFF.
#include "FuzzCheck.h"
#include "link/Frame.h"
#include "link/Link.h"
#include "serial/PortRegistry.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

using namespace quorvex;
using link::RetData;
using serial::ReadResult;

namespace {

constexpr std::uint8_t kEscape = 0xFF;
constexpr std::uint32_t kLinkErrors =
    link::ERR_BCC | link::ERR_NAK | link::ERR_TIMEOUT | link::ERR_BUSY;
// An exchange gives up after this many bytes other than SYN, or 50 empty reads in a row.
constexpr std::size_t kMaxStreamed = link::kMaxRawAnswer + 4096;
constexpr int kMaxSilentReads = 50;

// The reads of one request, as the input spells them.
struct Reads {
    std::deque<ReadResult> queue;
    bool gone = false;
    bool repeat = false;
};

Reads parseReads(FuzzInput& in)
{
    Reads reads;
    while (!in.empty()) {
        const std::uint8_t b = in.next();
        if (b != kEscape) {
            reads.queue.push_back(ReadResult::of(b));
            continue;
        }
        switch (in.next()) {
        case 0x00:
            reads.queue.push_back(ReadResult::nothing());
            break;
        case 0x01:
            reads.queue.push_back(ReadResult::error());
            break;
        case 0x02:
            reads.queue.push_back(ReadResult::error());
            reads.gone = true;
            break;
        case 0x03: {
            const std::uint8_t value = in.next();
            const std::size_t times = in.next() * 256u + in.next();
            reads.queue.insert(reads.queue.end(), times, ReadResult::of(value));
            break;
        }
        case 0x04:
            return reads;
        case 0x05:
            reads.repeat = true;
            break;
        default:
            reads.queue.push_back(ReadResult::of(kEscape));
            break;
        }
    }
    return reads;
}

// Serves the current request's reads; counts what one exchange took.
struct LineState {
    Reads reads;
    std::size_t streamed = 0;
    int silentRun = 0;
    int maxSilentRun = 0;
};

class FuzzLine final : public serial::SerialLine {
public:
    explicit FuzzLine(std::shared_ptr<LineState> state) : m_state(std::move(state)) {}
    bool flush() override { return true; }
    bool purge() override { return true; }
    bool write(const std::uint8_t*, std::size_t) override
    {
        m_state->streamed = 0;
        m_state->silentRun = 0;
        m_state->maxSilentRun = 0;
        return true;
    }
    ReadResult readByte() override
    {
        LineState& s = *m_state;
        ReadResult r = ReadResult::nothing();
        if (!s.reads.queue.empty()) {
            r = s.reads.queue.front();
            s.reads.queue.pop_front();
        }
        if (r.kind == ReadResult::Kind::Byte) {
            s.silentRun = 0;
            if (r.byte != link::SYN)
                ++s.streamed;
            return r;
        }
        // The link counts a line error as an empty read.
        if (++s.silentRun > s.maxSilentRun)
            s.maxSilentRun = s.silentRun;
        return r;
    }
    void clearError() override {}
    bool gone() override { return m_state->reads.gone; }
    bool close() override { return true; }

private:
    std::shared_ptr<LineState> m_state;
};

void checkResult(const RetData& r)
{
    FUZZ_CHECK(r.FieldCount >= 0 && r.FieldCount <= link::kMaxFields);
    for (int i = r.FieldCount; i < link::kMaxFields; ++i)
        FUZZ_CHECK(r.Fields[i].empty());
    FUZZ_CHECK(r.AnswerData.size() <= link::kAnswerDataCopy);
    FUZZ_CHECK(r.RawAnswer.size() <= link::kMaxRawAnswer);
    FUZZ_CHECK(r.RawAnswer.find(static_cast<char>(link::SYN)) == std::string::npos);
    FUZZ_CHECK(r.RequestFrame.size() <= link::kMaxRequestFrame);
    const std::uint32_t linkErrors = r.ErrorFlags & kLinkErrors;
    FUZZ_CHECK(std::popcount(linkErrors) <= 1);
    // A link error leaves the status bits unmapped; a time-out has no status at all.
    FUZZ_CHECK(linkErrors == 0 || r.ErrorFlags == linkErrors);
    if (r.ErrorFlags & link::ERR_TIMEOUT) {
        for (std::uint8_t s : r.Status)
            FUZZ_CHECK(s == 0);
    }
    for (std::uint8_t s : r.Status)
        FUZZ_CHECK(s <= 0x7F);
    FUZZ_CHECK(r.LineFault.empty() || r.ErrorFlags == link::ERR_TIMEOUT);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto state = std::make_shared<LineState>();
    serial::PortRegistry ports;
    ports.addVirtualPort("F", [state](const std::string&, int) {
        return std::unique_ptr<serial::SerialLine>(new FuzzLine(state));
    });
    link::Link link(ports);
    FUZZ_CHECK(link.OpenFirstPort("F", 19200) > 0);

    // The link keeps the last callback for RepeatCommand: what it writes lives for every request.
    int callbacks = 0;
    RetData seen;
    const auto callback = [&](RetData& r) {
        ++callbacks;
        seen = r;
    };
    FuzzInput in{data, size};
    for (int request = 0; request < 64 && !in.empty(); ++request) {
        const int command = in.next();
        std::string text(in.next(), '\0');
        for (char& c : text)
            c = static_cast<char>(in.next());
        state->reads = parseReads(in);
        callbacks = 0;
        const int result = state->reads.repeat
                               ? link.RepeatCommand(command & 1)
                               : link.SendCommand(nullptr, callback, 0, command, text);
        FUZZ_CHECK(link.isIdle());
        if (result == -1) {
            FUZZ_CHECK(callbacks == 0);
            FUZZ_CHECK(state->reads.repeat || text.size() > link::kMaxRequestData);
            continue;
        }
        FUZZ_CHECK(result == 0);
        checkResult(link.retData());
        FUZZ_CHECK(callbacks == 1);
        if (!state->reads.repeat)
            FUZZ_CHECK(seen.Command == command && seen.RequestData == text);
        FUZZ_CHECK(state->streamed <= kMaxStreamed + 1);
        FUZZ_CHECK(state->maxSilentRun <= kMaxSilentReads);
    }
    return 0;
}
