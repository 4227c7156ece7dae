// The host's answer receiver on any bytes: fed whole, then again byte by byte with line errors
// and new exchanges at places the input chooses, checking its limits after every byte; and a
// frame built from the input always decodes to what went in.
//
// Input: byte 0 picks the restart period (0: none), byte 1 the new-exchange period; the rest
// are the line's bytes.
#include "FuzzCheck.h"
#include "link/Frame.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace quorvex::link;

namespace {

void checkLimits(const AnswerReceiver& r)
{
    FUZZ_CHECK(r.state() >= AnswerReceiver::WaitSoh && r.state() <= AnswerReceiver::WaitEtx);
    FUZZ_CHECK(r.data().size() <= kMaxAnswerData);
    FUZZ_CHECK(r.raw().size() <= kMaxRawAnswer);
    FUZZ_CHECK(r.raw().find(static_cast<char>(SYN)) == std::string::npos);
    FUZZ_CHECK(!r.nak() || r.ended());
    FUZZ_CHECK(r.sequence() >= 0 && r.sequence() <= 0xFF - kSequenceBase);
}

struct Observed {
    bool ended, nak, checksumOk;
    int state, sequence;
    std::uint8_t command;
    std::string data, raw;
    StatusBytes status;

    static Observed of(const AnswerReceiver& r)
    {
        return {r.ended(),   r.nak(),  r.checksumOk(), r.state(), r.sequence(),
                r.command(), r.data(), r.raw(),        r.status()};
    }
    bool operator==(const Observed&) const = default;
};

// Bytes the frame's structure reserves; a built frame keeps them out of its fields.
std::uint8_t plain(std::uint8_t b)
{
    return b == SOH || b == ETX || b == NAK ? 'x' : b;
}

void roundTrip(const std::uint8_t* data, std::size_t size)
{
    if (size < 8)
        return;
    const std::uint8_t seq = static_cast<std::uint8_t>(kSequenceBase + data[0] % 95);
    const std::uint8_t cmd = plain(data[1]);
    StatusBytes status;
    for (std::size_t i = 0; i < kStatusBytes; ++i)
        status[i] = plain(data[2 + i]);
    std::string text;
    for (std::size_t i = 8; i < size && text.size() < kMaxAnswerData; ++i)
        text.push_back(static_cast<char>(plain(data[i])));

    AnswerReceiver r;
    for (std::uint8_t b : buildAnswerFrame(seq, cmd, text, status))
        r.feed(b);

    FUZZ_CHECK(r.ended() && !r.nak() && r.checksumOk());
    FUZZ_CHECK(r.data() == text && r.status() == status && r.command() == cmd);
    FUZZ_CHECK(r.sequence() == seq - kSequenceBase);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::size_t restartEvery = data[0];
    const std::size_t resetEvery = data[1];
    const std::uint8_t* bytes = data + 2;
    const std::size_t count = size - 2;

    // Whole: one exchange; the raw text is exactly the bytes other than SYN, up to its limit.
    AnswerReceiver whole;
    std::string expectedRaw;
    for (std::size_t i = 0; i < count; ++i) {
        whole.feed(bytes[i]);
        if (bytes[i] != SYN && expectedRaw.size() < kMaxRawAnswer)
            expectedRaw.push_back(static_cast<char>(bytes[i]));
        checkLimits(whole);
    }
    FUZZ_CHECK(whole.raw() == expectedRaw);

    // Reset leaves nothing behind: the same bytes give the same result again.
    const Observed first = Observed::of(whole);
    whole.reset();
    for (std::size_t i = 0; i < count; ++i)
        whole.feed(bytes[i]);
    FUZZ_CHECK(Observed::of(whole) == first);

    // Byte by byte with line errors and new exchanges.
    AnswerReceiver pieces;
    for (std::size_t i = 0; i < count; ++i) {
        if (restartEvery != 0 && i % restartEvery == restartEvery - 1)
            pieces.restart();
        if (resetEvery != 0 && i % resetEvery == resetEvery - 1)
            pieces.reset();
        pieces.feed(bytes[i]);
        checkLimits(pieces);
    }

    roundTrip(bytes, count);
    return 0;
}
