// Observers of the link: each exchange and each refusal is reported once, with its fields and
// times, and decoded into the columns the monitor and --trace show.
#include "link/CommandNames.h"
#include "link/ExchangeDecode.h"
#include "link/Frame.h"
#include "link/Link.h"
#include "tests/link/ScriptedLine.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace quorvex::link {
namespace {

using testing::LineScript;

class ObservedExchange : public ::testing::Test, public ExchangeObserver {
protected:
    void SetUp() override
    {
        testing::addScriptedPort(registry, "A", first);
        link.addObserver(*this);
        // Virtual time: every read of the line takes a millisecond (an answer of n bytes takes
        // n reads and, in the default quiet mode, one silent read after it).
        link.setObserverClocks({[this] { return nowUs; }, [] { return std::int64_t{42}; }});
        first->duringRead = [this] { nowUs += 1000; };
        ASSERT_GT(link.OpenFirstPort("A", 19200), 0);
    }

    void exchangeFinished(const ExchangeRecord& record) override { records.push_back(record); }

    serial::PortRegistry registry;
    std::shared_ptr<LineScript> first = std::make_shared<LineScript>();
    Link link{registry};
    std::int64_t nowUs = 1'000'000;
    std::vector<ExchangeRecord> records;
};

TEST_F(ObservedExchange, EachExchangeAndRefusalIsReportedOnceAndDecoded)
{
    const Bytes answer = buildAnswerFrame(0x21, 0x4A, "1,22", {0x80, 0x80, 0x82, 0x80, 0x80, 0x80});
    const struct {
        const char* name;
        std::function<void(LineScript&)> arrange;
        int command;
        std::uint32_t errorWord;
        Refusal refusal;
        DecodedExchange shown; // registrar, code, name are checked apart
    } cases[] = {
        {"answer",
         [&](LineScript& line) { line.queueAnswerBytes(answer); },
         0x4A,
         0,
         Refusal::None,
         {"", "", "", "W", "1,22", "00 00 02 00 00 00", "—", "22.000", false}},
        {"time-out",
         [](LineScript& line) { line.queueAnswer(LineScript::silence(50)); },
         0x4A,
         ERR_TIMEOUT,
         Refusal::None,
         {"", "", "", "W", "", "—", "Таймаут", "50.000", true}},
        {"NAK",
         [](LineScript& line) { line.queueAnswerBytes({NAK}); },
         0x4A,
         ERR_NAK,
         Refusal::None,
         {"", "", "", "W", "", "—", "Ошибка приема команды", "2.000", true}},
        {"refusal",
         [](LineScript&) {},
         0x1FF,
         0,
         Refusal::CodeOutOfRange,
         {"", "", "", "W", "", "—", refusalMessage(Refusal::CodeOutOfRange), "—", true}},
    };
    for (const auto& c : cases) {
        records.clear();
        c.arrange(*first);

        const int sent = link.SendCommand(
            nullptr, [](RetData&) {}, 0, c.command, "W");

        ASSERT_EQ(records.size(), 1u) << c.name;
        const ExchangeRecord& record = records[0];
        EXPECT_EQ(sent, c.refusal == Refusal::None ? 0 : -1) << c.name;
        EXPECT_EQ(record.registrar, 1) << c.name;
        EXPECT_EQ(record.refusal, c.refusal) << c.name;
        EXPECT_EQ(record.command, c.command) << c.name;
        EXPECT_EQ(record.requestData, "W") << c.name;
        EXPECT_EQ(record.result.ErrorFlags, c.errorWord) << c.name;
        EXPECT_EQ(record.wallMs, 42) << c.name;
        if (c.refusal == Refusal::None) {
            const Bytes written = first->lastWrite();
            EXPECT_EQ(record.result.RequestFrame, std::string(written.begin(), written.end()))
                << c.name;
            EXPECT_EQ(record.sequence, static_cast<std::uint8_t>(record.result.RequestFrame[2]))
                << c.name;
        }
        const DecodedExchange shown = decodeExchange(record);
        EXPECT_EQ(shown.registrar, "1") << c.name;
        EXPECT_EQ(shown.requestData, c.shown.requestData) << c.name;
        EXPECT_EQ(shown.answerFields, c.shown.answerFields) << c.name;
        EXPECT_EQ(shown.status, c.shown.status) << c.name;
        EXPECT_EQ(shown.errors, c.shown.errors) << c.name;
        EXPECT_EQ(shown.roundTripMs, c.shown.roundTripMs) << c.name;
        EXPECT_EQ(shown.failed, c.shown.failed) << c.name;
    }
    const DecodedExchange status = decodeExchange(records.back());
    EXPECT_EQ(status.code + " " + status.name, "FF " + std::string(GetCommandName(0x1FF)));
}

TEST_F(ObservedExchange, ARemovedObserverHearsNothingMore)
{
    link.removeObserver(*this);
    first->queueAnswerBytes(buildAnswerFrame(0x21, 0x4A, "", {}));

    (void)link.SendCommand(
        nullptr, [](RetData&) {}, 0, 0x4A, "W");

    EXPECT_TRUE(records.empty());
}

} // namespace
} // namespace quorvex::link
