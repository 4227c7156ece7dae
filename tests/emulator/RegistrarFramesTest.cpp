// The device side of the frame format: request checking, answers read by the host's receiver.
#include "emulator/DeviceFrames.h"
#include "emulator/Registrar.h"
#include "link/Frame.h"
#include "tests/support/EmulatedRegistrars.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvex::emulator {
namespace {

std::vector<std::uint8_t> requestFrame(std::uint8_t seq, std::uint8_t cmd, const std::string& data)
{
    return link::buildRequestFrame(seq, cmd, data);
}

void send(Registrar& registrar, const std::vector<std::uint8_t>& bytes)
{
    for (std::uint8_t b : bytes)
        registrar.receiveByte(b);
}

std::string drain(Registrar& registrar)
{
    std::string out;
    while (auto b = registrar.takeByte())
        out += static_cast<char>(*b);
    return out;
}

link::AnswerReceiver receive(const std::string& bytes)
{
    link::AnswerReceiver receiver;
    for (char c : bytes)
        receiver.feed(static_cast<std::uint8_t>(c));
    return receiver;
}

TEST(RequestFrameParsing, AcceptsTheHostsFramesWithAndWithoutData)
{
    const std::vector<std::uint8_t> statusQuery{0x01, 0x25, 0x21, 0x4A, 0x57, 0x05,
                                                0x30, 0x30, 0x3E, 0x3C, 0x03};

    const auto parsed = parseRequestFrame(statusQuery);
    const auto empty = parseRequestFrame(requestFrame(0x7E, 0x38, ""));
    const auto text = parseRequestFrame(requestFrame(0x20, 0x36, "Привет, мир\t1.00"));

    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->sequence, 1);
    EXPECT_EQ(parsed->command, 0x4A);
    EXPECT_EQ(parsed->data, "W");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->sequence, 0x5E);
    EXPECT_EQ(empty->data, "");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->data, "Привет, мир\t1.00");
}

TEST(RequestFrameParsing, RejectsDamagedFrames)
{
    const auto good = requestFrame(0x21, 0x4A, "W");
    auto badChecksum = good;
    badChecksum[8] ^= 0x01;
    auto badLength = good;
    badLength[1] = 0x26;
    auto noMark = good;
    noMark[5] = 0x06;
    auto lowSeq = good;
    lowSeq[2] = 0x1F;
    auto digitOutOfRange = good;
    digitOutOfRange[6] = 0x40;
    const std::vector<std::uint8_t> truncated(good.begin() + 3, good.end());

    EXPECT_FALSE(parseRequestFrame(badChecksum));
    EXPECT_FALSE(parseRequestFrame(badLength));
    EXPECT_FALSE(parseRequestFrame(noMark));
    EXPECT_FALSE(parseRequestFrame(lowSeq));
    EXPECT_FALSE(parseRequestFrame(digitOutOfRange));
    EXPECT_FALSE(parseRequestFrame(truncated));
}

TEST(RegistrarExchange, AnswersWithTheRequestsSequenceAndCommand)
{
    Registrar registrar;

    send(registrar, requestFrame(0x33, 0x4A, "W"));
    const auto receiver = receive(drain(registrar));

    ASSERT_TRUE(receiver.ended());
    EXPECT_TRUE(receiver.checksumOk());
    EXPECT_EQ(receiver.sequence(), 0x13);
    EXPECT_EQ(receiver.command(), 0x4A);
    EXPECT_EQ(receiver.data(), "");
    EXPECT_EQ(link::errorWordFromStatus(receiver.status()), test_support::kFiscalisedFlags);
    EXPECT_EQ(registrar.handledCommands(), std::vector<int>{0x4A});
}

TEST(RegistrarExchange, ALongRunKeepsOnlyItsRecentHistory)
{
    Registrar registrar;
    const std::size_t total = 2 * Registrar::kHistoryKept + 3;

    for (std::size_t i = 0; i < total; ++i) {
        send(registrar, requestFrame(static_cast<std::uint8_t>(0x20 + i % 0x5F), 0x4A, "W"));
        drain(registrar);
    }
    send(registrar, requestFrame(0x20, 0x38, ""));
    drain(registrar);

    const auto& handled = registrar.handledCommands();
    EXPECT_GE(handled.size(), Registrar::kHistoryKept);
    EXPECT_LT(handled.size(), total);
    EXPECT_EQ(handled.back(), 0x38);
    EXPECT_EQ(registrar.handledRequests().back().command, 0x38);
}

TEST(RegistrarExchange, BytesAroundFramesAreIgnoredAndSohRestartsAFrame)
{
    Registrar registrar;
    std::vector<std::uint8_t> bytes{'x', 0x16, 0x01, 0x25, 0x21}; // junk, then a torn frame
    const auto frame = requestFrame(0x22, 0x4A, "X");
    bytes.insert(bytes.end(), frame.begin(), frame.end());

    send(registrar, bytes);
    const std::string answer = drain(registrar);

    EXPECT_EQ(registrar.rejectedFrames(), 0);
    ASSERT_EQ(registrar.handledRequests().size(), 1u);
    EXPECT_EQ(registrar.handledRequests()[0].data, "X");
    EXPECT_TRUE(receive(answer).checksumOk());
}

TEST(RegistrarExchange, LongestRequestTheHostSendsIsAccepted)
{
    Registrar registrar;

    send(registrar, requestFrame(0x21, 0x36, std::string(189, 'a')));

    ASSERT_EQ(registrar.handledRequests().size(), 1u);
    EXPECT_EQ(registrar.handledRequests()[0].data.size(), 189u);
    EXPECT_EQ(registrar.rejectedFrames(), 0);
}

TEST(RegistrarExchange, DamagedOrOverlongRequestIsAnsweredWithNak)
{
    Registrar registrar;
    auto damaged = requestFrame(0x21, 0x4A, "W");
    damaged[4] = 'X';
    std::vector<std::uint8_t> overlong{0x01, 0xFF, 0x21, 0x4A};
    overlong.insert(overlong.end(), 400, 'a');
    overlong.push_back(0x03);

    send(registrar, damaged);
    const std::string first = drain(registrar);
    send(registrar, overlong);
    const std::string second = drain(registrar);

    EXPECT_EQ(first, "\x15");
    EXPECT_EQ(second, "\x15");
    EXPECT_EQ(registrar.rejectedFrames(), 2);
    EXPECT_TRUE(registrar.handledCommands().empty());
}

} // namespace
} // namespace quorvex::emulator
