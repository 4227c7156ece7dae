// A registrar playing back recorded exchanges: the n-th same request gets the n-th recorded
// answer with the new request's SEQ, the last one repeats, unrecorded requests are refused.
#include "emulator/Replay.h"
#include "link/Frame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvex::emulator {
namespace {

link::LoggedExchange recorded(int command, const std::string& data, link::LoggedOutcome outcome,
                              const std::string& answer = "", std::uint8_t s2 = 0x80)
{
    link::LoggedExchange e;
    e.command = command;
    e.data = data;
    e.outcome = outcome;
    e.answerData = answer;
    e.answerStatus = {0x80, 0x80, s2, 0x80, 0x80, 0x80};
    return e;
}

// Sends one request with this SEQ byte and returns what came back.
std::string exchange(Registrar& registrar, std::uint8_t seq, int command, const std::string& data)
{
    for (std::uint8_t b : link::buildRequestFrame(seq, static_cast<std::uint8_t>(command), data))
        registrar.receiveByte(b);
    registrar.advanceMs(10);
    std::string out;
    while (auto b = registrar.takeByte())
        out += static_cast<char>(*b);
    return out;
}

std::string frame(std::uint8_t seq, int command, const std::string& data, std::uint8_t s0,
                  std::uint8_t s2)
{
    const link::Bytes bytes = link::buildAnswerFrame(seq, static_cast<std::uint8_t>(command), data,
                                                     {s0, 0x80, s2, 0x80, 0x80, 0x80});
    return {bytes.begin(), bytes.end()};
}

TEST(ReplayTest, AnswersInRecordedOrderThenRepeatsTheLastAndRefusesTheUnrecorded)
{
    using link::LoggedOutcome;
    const std::vector<link::LoggedExchange> log = {
        recorded(0x30, "1", LoggedOutcome::Answer, "first", 0x88),
        recorded(0x4A, "W", LoggedOutcome::Answer, "w"),
        recorded(0x30, "1", LoggedOutcome::Answer, "second"),
        recorded(0x31, "", LoggedOutcome::Nak),
        recorded(0x32, "", LoggedOutcome::TimeOut),
    };
    Registrar registrar;
    std::vector<std::string> unrecorded;
    replayOn(registrar, std::make_shared<ReplayAnswers>(log), [&](const HandledRequest& r) {
        unrecorded.push_back(describeRequest(r.command, r.data));
    });

    EXPECT_EQ(exchange(registrar, 0x40, 0x30, "1"), frame(0x40, 0x30, "first", 0x80, 0x88));
    EXPECT_EQ(exchange(registrar, 0x41, 0x30, "1"), frame(0x41, 0x30, "second", 0x80, 0x80));
    EXPECT_EQ(exchange(registrar, 0x42, 0x30, "1"), frame(0x42, 0x30, "second", 0x80, 0x80));
    EXPECT_EQ(exchange(registrar, 0x43, 0x4A, "W"), frame(0x43, 0x4A, "w", 0x80, 0x80));
    EXPECT_EQ(exchange(registrar, 0x44, 0x31, ""), "\x15");
    EXPECT_EQ(exchange(registrar, 0x45, 0x32, ""), "");
    // The same code with other data is another request.
    EXPECT_EQ(exchange(registrar, 0x46, 0x30, "2"), frame(0x46, 0x30, "", 0xA2, 0x80));
    EXPECT_EQ(unrecorded, std::vector<std::string>{"30 2"});
}

TEST(ReplayTest, AnOpenReplayLineOutlivesItsPort)
{
    link::ExchangeLogContents contents;
    contents.exchanges.push_back(recorded(0x4A, "W", link::LoggedOutcome::Answer, "w"));
    serial::PortRegistry registry;
    registerReplayPort(registry, "replay:x", contents);
    const auto line = registry.open("replay:x", 19200);
    ASSERT_TRUE(line);
    registry.removeVirtualPort("replay:x");

    const link::Bytes request = link::buildRequestFrame(0x21, 0x4A, "W");
    ASSERT_TRUE(line->purge());
    ASSERT_TRUE(line->write(request.data(), request.size()));
    std::string answer;
    for (auto read = line->readByte(); read.kind == serial::ReadResult::Kind::Byte;
         read = line->readByte())
        answer += static_cast<char>(read.byte);
    EXPECT_EQ(answer, frame(0x21, 0x4A, "w", 0x80, 0x80));
}

} // namespace
} // namespace quorvex::emulator
