// The emulated registrar's request side on any bytes: whatever arrives, it answers only with
// NAK, SYN or whole, well-formed answer frames, and everything it queues arrives in time. Valid
// requests built from the input reach the fiscal model behind the answers.
//
// Input: bytes go to the registrar as they are, except 0xFF followed by: 0x00 n the clock moves
// on n * 10 ms and the due bytes are taken, 0x01 c n d... a valid request for command c with
// the n data bytes d (over 189 is cut), 0x02 w the registrar works w * 60 ms (sending SYN)
// before each answer, 0xFF the byte 0xFF.
#include "FuzzCheck.h"
#include "emulator/Registrar.h"
#include "link/Frame.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

using namespace quorvex;

namespace {

constexpr std::uint8_t kEscape = 0xFF;

// Takes what the registrar sends: SYN, NAK, or whole answer frames laid out and summed right,
// one for each handled request at most. Frames are read by their length byte, not by the
// host's control bytes, which a command code or an echoed text may hold as well.
class Host {
public:
    explicit Host(emulator::Registrar& registrar) : m_registrar(registrar) {}

    void take()
    {
        while (auto byte = m_registrar.takeByte()) {
            if (m_frame.empty()) {
                FUZZ_CHECK(*byte == link::SOH || *byte == link::SYN || *byte == link::NAK);
                if (*byte == link::SOH)
                    m_frame.push_back(*byte);
                continue;
            }
            m_frame.push_back(*byte);
            if (m_frame.size() == 2)
                FUZZ_CHECK(m_frame[1] >= link::kAnswerLenBase);
            if (m_frame.size() >= 2 && m_frame.size() == m_frame[1] - link::kAnswerLenBase + 17u)
                checkFrame();
        }
    }

    // The registrar never stops with half a frame sent.
    [[nodiscard]] bool betweenFrames() const { return m_frame.empty(); }

private:
    void checkFrame()
    {
        const std::size_t n = m_frame.size();
        FUZZ_CHECK(m_frame[n - 13] == link::SEPARATOR && m_frame[n - 6] == link::CHECKED_END &&
                   m_frame[n - 1] == link::ETX);
        const link::ChecksumDigits digits = link::checksumDigits(
            link::checksumOf(std::span<const std::uint8_t>(m_frame.data() + 1, n - 6)));
        FUZZ_CHECK(std::equal(digits.begin(), digits.end(), m_frame.begin() + n - 5));
        FUZZ_CHECK(++m_frames <= m_registrar.handledRequests().size());
        m_frame.clear();
    }

    emulator::Registrar& m_registrar;
    link::Bytes m_frame;
    std::size_t m_frames = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    emulator::Registrar registrar;
    Host host(registrar);
    FuzzInput in{data, size};
    std::uint8_t sequence = 0;
    while (!in.empty()) {
        const std::uint8_t b = in.next();
        if (b != kEscape) {
            registrar.receiveByte(b);
            continue;
        }
        switch (in.next()) {
        case 0x00:
            registrar.advanceMs(in.next() * 10);
            host.take();
            break;
        case 0x01: {
            const std::uint8_t command = in.next();
            std::string text(in.next(), '\0');
            for (char& c : text)
                c = static_cast<char>(in.next());
            text.resize(std::min(text.size(), link::kMaxRequestData));
            for (std::uint8_t byte :
                 link::buildRequestFrame(link::sequenceByte(++sequence), command, text))
                registrar.receiveByte(byte);
            break;
        }
        case 0x02:
            registrar.faults().workingMs = in.next() * emulator::kSynIntervalMs;
            break;
        default:
            registrar.receiveByte(kEscape);
            break;
        }
    }
    // Whatever is still on its way arrives within the longest working time.
    registrar.advanceMs(255 * emulator::kSynIntervalMs + 1000);
    host.take();
    FUZZ_CHECK(!registrar.hasPendingOutput() && host.betweenFrames());

    for (const emulator::HandledRequest& request : registrar.handledRequests())
        FUZZ_CHECK(request.data.size() <= link::kMaxRequestData);
    return 0;
}
