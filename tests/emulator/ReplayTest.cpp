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
                              const std::string& answer = "", std::uint8_t s2 = 0x80,
                              bool checksumOk = true)
{
    link::LoggedExchange e;
    e.command = command;
    e.data = data;
    e.outcome = outcome;
    e.answerData = answer;
    e.answerStatus = {0x80, 0x80, s2, 0x80, 0x80, 0x80};
    e.checksumOk = checksumOk;
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
        recorded(0x33, "", LoggedOutcome::Answer, "bcc", 0x80, false),
    };
    Registrar registrar;
    std::vector<std::string> unrecorded;
    replayOn(registrar, std::make_shared<ReplayAnswers>(log),
             [&](const HandledRequest& r, std::size_t times) {
                 unrecorded.push_back(describeUnrecorded(r, times));
             });

    EXPECT_EQ(exchange(registrar, 0x40, 0x30, "1"), frame(0x40, 0x30, "first", 0x80, 0x88));
    EXPECT_EQ(exchange(registrar, 0x41, 0x30, "1"), frame(0x41, 0x30, "second", 0x80, 0x80));
    EXPECT_EQ(exchange(registrar, 0x42, 0x30, "1"), frame(0x42, 0x30, "second", 0x80, 0x80));
    EXPECT_EQ(exchange(registrar, 0x43, 0x4A, "W"), frame(0x43, 0x4A, "w", 0x80, 0x80));
    EXPECT_EQ(exchange(registrar, 0x44, 0x31, ""), "\x15");
    EXPECT_EQ(exchange(registrar, 0x45, 0x32, ""), "");
    std::string spoiled = frame(0x47, 0x33, "bcc", 0x80, 0x80);
    spoiled[spoiled.size() - 2] =
        static_cast<char>(0x30 + ((spoiled[spoiled.size() - 2] + 1) & 0x0F));
    EXPECT_EQ(exchange(registrar, 0x47, 0x33, ""), spoiled);
    // The same code with other data is another request.
    EXPECT_EQ(exchange(registrar, 0x46, 0x30, "2"), frame(0x46, 0x30, "", 0xA2, 0x80));
    EXPECT_EQ(unrecorded, std::vector<std::string>{"never recorded: 30 2"});
}

// A comparison must see a request asked more often than recorded.
TEST(ReplayTest, UsedUpAnswersCanCountAsNeverRecorded)
{
    using link::LoggedOutcome;
    Registrar registrar;
    std::vector<std::string> unrecorded;
    replayOn(registrar,
             std::make_shared<ReplayAnswers>(
                 std::vector{recorded(0x4A, "W", LoggedOutcome::Answer, "1"),
                             recorded(0x4A, "W", LoggedOutcome::Answer, "2")},
                 ReplayAnswers::WhenUsedUp::Unrecorded),
             [&](const HandledRequest& r, std::size_t times) {
                 unrecorded.push_back(describeUnrecorded(r, times));
             });

    EXPECT_EQ(exchange(registrar, 0x21, 0x4A, "W"), frame(0x21, 0x4A, "1", 0x80, 0x80));
    EXPECT_EQ(exchange(registrar, 0x22, 0x4A, "W"), frame(0x22, 0x4A, "2", 0x80, 0x80));
    EXPECT_EQ(exchange(registrar, 0x23, 0x4A, "W"), frame(0x23, 0x4A, "", 0xA2, 0x80));
    EXPECT_EQ(unrecorded, std::vector<std::string>{"4A W recorded only 2 times"});
}

TEST(ReplayTest, AnOpenReplayLineOutlivesItsPort)
{
    serial::PortRegistry registry;
    registerReplayPort(registry, "replay:x",
                       std::make_shared<ReplayAnswers>(
                           std::vector{recorded(0x4A, "W", link::LoggedOutcome::Answer, "w")}));
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
