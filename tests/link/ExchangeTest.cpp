// SendCommand and RepeatCommand against scripted lines, in virtual time.
#include "link/Frame.h"
#include "link/Link.h"
#include "tests/link/ScriptedLine.h"

#include <gtest/gtest.h>

namespace quorvex::link {
namespace {

using testing::LineScript;
using testing::ReadResult;

const Bytes kAllStatus80Answer = {0x01, 0x2B, 0x21, 0x4A, 0x04, 0x80, 0x80, 0x80, 0x80,
                                  0x80, 0x80, 0x05, 0x30, 0x33, 0x39, 0x3F, 0x03};

std::vector<ReadResult> reads(const Bytes& bytes)
{
    return LineScript::bytesToReads(bytes);
}

std::vector<ReadResult> operator+(std::vector<ReadResult> a, const std::vector<ReadResult>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes answer(const std::string& data, StatusBytes status = {0x80, 0x80, 0x80, 0x80, 0x80, 0x80},
             std::uint8_t cmd = 0x4A)
{
    return buildAnswerFrame(0x21, cmd, data, status);
}

class Exchange : public ::testing::Test {
protected:
    void SetUp() override
    {
        testing::addScriptedPort(registry, "A", first);
        testing::addScriptedPort(registry, "B", second);
    }

    void openFirst() { ASSERT_GT(link.OpenFirstPort("A", 19200), 0); }

    // Sends and returns a copy of what the callback received.
    RetData send(int command, const std::string& data = "")
    {
        seen = RetData{};
        callbacks = 0;
        result = link.SendCommand(
            nullptr, [this](RetData& r) { seen = r, ++callbacks; }, 7, command, data);
        return seen;
    }

    serial::PortRegistry registry;
    std::shared_ptr<LineScript> first = std::make_shared<LineScript>();
    std::shared_ptr<LineScript> second = std::make_shared<LineScript>();
    Link link{registry};
    RetData seen;
    int result = -2;
    int callbacks = 0;
};

TEST_F(Exchange, FirstRequestAndSequenceWrap)
{
    openFirst();

    send(0x4A, "W");
    for (int i = 2; i <= 256; ++i)
        send(0x4A);

    ASSERT_EQ(first->writes.size(), 256u);
    EXPECT_EQ(first->writes[0],
              (Bytes{0x01, 0x25, 0x21, 0x4A, 0x57, 0x05, 0x30, 0x30, 0x3E, 0x3C, 0x03}));
    EXPECT_EQ(first->writes[93][2], 0x7E);
    EXPECT_EQ(first->writes[94][2], 0x20);
    EXPECT_EQ(first->writes[254][2], 0x61);
    EXPECT_EQ(first->writes[255][2], 0x20);
    EXPECT_EQ(link.retData().RequestFrame,
              std::string(first->writes[255].begin(), first->writes[255].end()));
}

TEST_F(Exchange, AllStatus80AnswerIsASuccessWithoutFields)
{
    openFirst();
    first->queueAnswerBytes(kAllStatus80Answer);

    const RetData r = send(0x4A, "W");

    EXPECT_EQ(result, 0);
    EXPECT_EQ(callbacks, 1);
    EXPECT_EQ(r.ErrorFlags, 0u);
    EXPECT_EQ(r.FieldCount, 0);
    EXPECT_EQ(r.Status, (std::array<std::uint8_t, 6>{}));
    EXPECT_TRUE(r.AnswerData.empty());
    EXPECT_EQ(r.Command, 0x4A);
    EXPECT_EQ(r.Tag, 7);
    EXPECT_EQ(r.CommandName, "Получить состояние регистратора");
    EXPECT_EQ(r.RequestData, "W");
    EXPECT_EQ(r.RawAnswer, std::string(kAllStatus80Answer.begin(), kAllStatus80Answer.end()));
    EXPECT_EQ(first->calls, (std::vector<std::string>{"purge", "flush", "purge", "write"}));
}

TEST_F(Exchange, AnswerDataIsCopiedThenRewrittenAndSplit)
{
    openFirst();
    first->queueAnswerBytes(answer("07-12-26 01:52:58", {}, 0x3E));
    first->queueAnswerBytes(answer("a,,b,"));
    first->queueAnswerBytes(answer("X", {}, 0x35));

    const RetData date = send(0x3E);
    const RetData empties = send(0x4A);
    const RetData single = send(0x35);

    EXPECT_EQ(date.AnswerData, "07-12-26 01:52:58");
    ASSERT_EQ(date.FieldCount, 2);
    EXPECT_EQ(date.Fields[0], "07-12-26");
    EXPECT_EQ(date.Fields[1], "01:52:58");
    ASSERT_EQ(empties.FieldCount, 4);
    EXPECT_EQ(empties.Fields[2], "b");
    EXPECT_EQ(empties.Fields[3], "");
    EXPECT_EQ(empties.Fields[4], "");
    ASSERT_EQ(single.FieldCount, 1);
    EXPECT_EQ(single.Fields[0], "X");
    EXPECT_EQ(single.Fields[1], ""); // left over from the date answer before
}

TEST_F(Exchange, RequestDataIsTheLinksOwnCopy)
{
    openFirst();
    first->queueAnswerBytes(answer("first"));
    first->queueAnswerBytes(answer("second"));
    send(0x4A);

    // The caller passes a text of RetData itself, which the exchange overwrites.
    const RetData r = send(0x4A, link.retData().AnswerData);

    EXPECT_EQ(r.AnswerData, "second");
    EXPECT_EQ(r.RequestData, "first");
}

TEST_F(Exchange, LongAnswersStayInsideTheirLimits)
{
    openFirst();
    std::string data;
    for (int i = 0; data.size() < kMaxAnswerData - 4; ++i)
        data += std::to_string(i % 10) + ",";
    data.resize(kMaxAnswerData);
    first->queueAnswer(reads(Bytes(150, 'g')) + reads(answer(data)));

    const RetData r = send(0x4A);

    EXPECT_EQ(r.ErrorFlags, 0u);
    EXPECT_EQ(r.AnswerData, data.substr(0, kAnswerDataCopy));
    EXPECT_EQ(r.FieldCount, kMaxFields);
    EXPECT_EQ(r.Fields[19], data.substr(38));
    EXPECT_EQ(r.RawAnswer.size(), kMaxRawAnswer);
}

TEST_F(Exchange, SilenceOfFiftyReadsIsATimeout)
{
    openFirst();
    first->queueAnswer(LineScript::silence(50) + reads(kAllStatus80Answer));

    const RetData r = send(0x4A);

    EXPECT_EQ(result, 0);
    EXPECT_EQ(callbacks, 1);
    EXPECT_EQ(r.ErrorFlags, ERR_TIMEOUT);
    EXPECT_EQ(r.Status, (std::array<std::uint8_t, 6>{}));
    EXPECT_EQ(first->reads, 50);
}

TEST_F(Exchange, EveryByteRestartsTheSilenceCount)
{
    openFirst();
    // 49 empty reads between SYNs, 245 in all: far beyond five seconds of waiting.
    std::vector<ReadResult> working;
    for (int i = 0; i < 5; ++i)
        working = working + LineScript::silence(49) + reads({SYN});
    first->queueAnswer(working + LineScript::silence(49) + reads(answer("OK")));

    const RetData r = send(0x4A);

    EXPECT_EQ(r.ErrorFlags, 0u);
    EXPECT_EQ(r.Fields[0], "OK");
    EXPECT_EQ(r.RawAnswer.find(static_cast<char>(SYN)), std::string::npos);
}

TEST_F(Exchange, AnEndedAnswerStopsAtTheFirstEmptyRead)
{
    openFirst();
    first->queueAnswerBytes(answer("OK"));

    send(0x4A);

    EXPECT_EQ(first->reads, static_cast<int>(answer("OK").size()) + 1);
}

TEST_F(Exchange, LinkErrorsExcludeStatusBits)
{
    openFirst();
    const StatusBytes syntaxError{0x81, 0x80, 0x80, 0x80, 0x80, 0x80};
    Bytes nakMidFrame = answer("AB", syntaxError);
    nakMidFrame.resize(12);
    nakMidFrame.push_back(NAK);
    Bytes badDigit = answer("AB", syntaxError);
    badDigit[14] ^= 0x01;
    first->queueAnswerBytes(nakMidFrame);
    first->queueAnswerBytes(badDigit);
    first->queueAnswerBytes(answer("AB", syntaxError));

    EXPECT_EQ(send(0x4A).ErrorFlags, ERR_NAK);
    EXPECT_EQ(send(0x4A).ErrorFlags, ERR_BCC);
    const RetData good = send(0x4A);
    EXPECT_EQ(good.ErrorFlags, 0x00000001u);
    EXPECT_EQ(good.Status[0], 0x01);
}

TEST_F(Exchange, StatusBitsCombineInTheErrorWord)
{
    openFirst();
    first->queueAnswerBytes(answer("", {0x81, 0x80, 0x81, 0x80, 0x80, 0x80}));

    EXPECT_EQ(send(0x4A).ErrorFlags, 0x00000201u);
}

TEST_F(Exchange, CorruptedFrameIsDroppedAndTheNextOneTaken)
{
    openFirst();
    Bytes badLen = answer("XX");
    badLen[1] = 0x2A;
    Bytes missingSeparator = answer("YY");
    missingSeparator[6] = 'Z';
    first->queueAnswer(reads(badLen) + reads(missingSeparator) + reads(answer("OK")));
    first->queueAnswer(reads(missingSeparator));

    const RetData recovered = send(0x4A);
    const RetData dropped = send(0x4A);

    EXPECT_EQ(recovered.ErrorFlags, 0u);
    EXPECT_EQ(recovered.Fields[0], "OK");
    // Its ETX still ends the answer, but not as a good one.
    EXPECT_EQ(dropped.ErrorFlags, ERR_BCC);
}

TEST_F(Exchange, ReadErrorClearsTheLineAndRestartsReception)
{
    openFirst();
    const Bytes good = answer("OK");
    first->queueAnswer(reads(Bytes(good.begin(), good.begin() + 5)) +
                       std::vector{ReadResult::error()} + reads(good));
    first->queueAnswer(reads(Bytes(good.begin(), good.begin() + 5)) +
                       std::vector{ReadResult::error()} +
                       reads(Bytes(good.begin() + 5, good.end())));

    const RetData restarted = send(0x4A);
    const RetData broken = send(0x4A);

    EXPECT_EQ(restarted.ErrorFlags, 0u);
    EXPECT_EQ(std::count(first->calls.begin(), first->calls.end(), "clearError"), 2);
    EXPECT_NE(broken.ErrorFlags, 0u);
}

TEST_F(Exchange, ALineThatNeverGoesQuietIsCutWithTheProtocolError)
{
    // 4401 bytes other than SYN are the most one exchange takes in.
    const Bytes good = answer("OK", {0x81, 0x80, 0x80, 0x80, 0x80, 0x80});
    const auto noise = [](std::size_t n) { return reads(Bytes(n, 0xAA)); };
    const struct {
        const char* name;
        std::vector<ReadResult> input;
        std::uint32_t flags;
        std::uint8_t status0;
    } cases[] = {
        {"noise, then the answer, up to the limit", noise(4401 - good.size()) + reads(good), 1, 1},
        {"one byte more", noise(4402 - good.size()) + reads(good), ERR_BCC, 0},
        {"the answer, then noise", reads(good) + noise(4402 - good.size()), ERR_BCC, 0},
        {"noise and no frame", noise(6000), ERR_BCC, 0},
        {"noise, SYN, noise: SYN does not restart the count",
         noise(2201) + reads({SYN}) + noise(2201), ERR_BCC, 0},
        {"SYN alone holds the exchange open", reads(Bytes(20000, SYN)) + reads(good), 1, 1},
    };

    openFirst();
    for (const auto& c : cases) {
        first->queueAnswer(c.input);

        const RetData r = send(0x4A);

        EXPECT_EQ(r.ErrorFlags, c.flags) << c.name;
        EXPECT_EQ(r.Status[0], c.status0) << c.name;
        first->input.clear();
    }
}

// A registrar busy for ever would hold the program for ever: SYN alone holds the exchange only up
// to the busy limit, counted from the request; then the wait ends as its own failure.
TEST_F(Exchange, SynPastTheBusyLimitEndsTheWaitAsBusyNotAsATimeout)
{
    const Bytes good = answer("OK", {0x81, 0x80, 0x80, 0x80, 0x80, 0x80});
    std::int64_t clockUs = 0;
    link.setObserverClocks({[&clockUs] { return clockUs += 1'000'000; }, [] { return 0; }});
    link.setBusyLimit(30);
    const struct {
        const char* name;
        std::size_t syns; // one second of the clock each
        std::uint32_t flags;
        std::uint8_t status0;
    } cases[] = {
        {"SYN within the limit, then the answer", 28, 1, 1},
        {"SYN beyond the limit", 40, ERR_BUSY, 0},
    };

    openFirst();
    for (const auto& c : cases) {
        first->queueAnswer(reads(Bytes(c.syns, SYN)) + reads(good));

        const RetData r = send(0x4A);

        EXPECT_EQ(r.ErrorFlags, c.flags) << c.name;
        EXPECT_EQ(r.Status[0], c.status0) << c.name;
        EXPECT_EQ(callbacks, 1) << c.name;
        first->input.clear();
    }
}

TEST_F(Exchange, AGoneDeviceEndsTheExchangeAtOnceAsATimeout)
{
    openFirst();
    const Bytes good = answer("OK");
    first->gone = true;
    first->queueAnswer(reads(Bytes(good.begin(), good.begin() + 6)) +
                       std::vector{ReadResult::error()} + reads(good));
    first->queueAnswer(reads(good) + std::vector{ReadResult::error()});

    const RetData midAnswer = send(0x4A);
    const int readsWhenCut = first->reads;
    const RetData whole = send(0x4A);

    EXPECT_EQ(midAnswer.ErrorFlags, ERR_TIMEOUT);
    EXPECT_EQ(midAnswer.LineFault, "Порт A: устройство отключено или линия разорвана");
    EXPECT_EQ(readsWhenCut, 7); // no waiting for silence, no clearing of the error
    EXPECT_EQ(std::count(first->calls.begin(), first->calls.end(), "clearError"), 0);
    // An answer that was whole before the line went stands.
    EXPECT_EQ(whole.ErrorFlags, 0u);
    EXPECT_EQ(whole.LineFault, "");
}

TEST_F(Exchange, StaleInputNeverCountsAsTheAnswer)
{
    openFirst();
    for (std::uint8_t b : kAllStatus80Answer)
        first->input.push_back(ReadResult::of(b));

    EXPECT_EQ(send(0x4A).ErrorFlags, ERR_TIMEOUT);
}

TEST_F(Exchange, RefusedWhileNeverOpenedOrBusy)
{
    EXPECT_EQ(link.SendCommand(nullptr, {}, 0, 0x4A, ""), -1);
    EXPECT_EQ(link.lastRefusal(), Refusal::NotIdle);
    EXPECT_EQ(link.RepeatCommand(0), -1);
    EXPECT_EQ(link.lastRefusal(), Refusal::NotIdle);

    openFirst();
    int inner = -2;
    int innerRepeat = -2;
    Refusal innerRefusal = Refusal::None;
    first->duringRead = [&] {
        inner = link.SendCommand(nullptr, {}, 0, 0x4A, "");
        innerRepeat = link.RepeatCommand(1);
        innerRefusal = link.lastRefusal();
    };
    send(0x4A);

    EXPECT_EQ(inner, -1);
    EXPECT_EQ(innerRepeat, -1);
    EXPECT_EQ(innerRefusal, Refusal::NotIdle);
    EXPECT_EQ(first->writes.size(), 1u);
}

TEST_F(Exchange, RefusedArgumentsSendNothingAndKeepTheCounter)
{
    openFirst();

    send(0x4A, std::string(kMaxRequestData + 1, 'd'));
    EXPECT_EQ(result, -1);
    EXPECT_EQ(link.lastRefusal(), Refusal::DataTooLong);
    send(0x100);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(link.lastRefusal(), Refusal::CodeOutOfRange);
    send(-1);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(link.lastRefusal(), Refusal::CodeOutOfRange);
    EXPECT_EQ(callbacks, 0);
    EXPECT_TRUE(first->writes.empty());
    EXPECT_EQ(link.RepeatCommand(0), -1); // nothing was sent yet
    EXPECT_EQ(link.lastRefusal(), Refusal::NothingToRepeat);

    send(0x4A, std::string(kMaxRequestData, 'd'));
    ASSERT_EQ(first->writes.size(), 1u);
    EXPECT_EQ(first->writes[0].size(), kMaxRequestData + 10);
    EXPECT_EQ(first->writes[0][1], kMaxRequestData + 0x24);
    EXPECT_EQ(first->writes[0][2], 0x21);
}

TEST_F(Exchange, CallbackMaySendTheNextCommand)
{
    openFirst();
    first->queueAnswerBytes(answer("first"));
    first->queueAnswerBytes(answer("second"));
    int innerResult = -2;
    std::string innerAnswer;

    const int outer = link.SendCommand(
        nullptr,
        [&](RetData&) {
            innerResult = link.SendCommand(
                nullptr, [&](RetData& r) { innerAnswer = r.Fields[0]; }, 0, 0x4C, "");
        },
        0, 0x4A, "");

    EXPECT_EQ(outer, 0);
    EXPECT_EQ(innerResult, 0);
    EXPECT_EQ(innerAnswer, "second");
    EXPECT_EQ(first->writes.size(), 2u);
    EXPECT_TRUE(link.isIdle());
}

TEST_F(Exchange, RepeatAfterTimeoutSendsTheSameFrame)
{
    openFirst();
    send(0x4A, "W");

    EXPECT_EQ(link.RepeatCommand(0), 0);
    EXPECT_EQ(link.RepeatCommand(0), 0);
    EXPECT_EQ(link.RepeatCommand(1), 0);

    ASSERT_EQ(first->writes.size(), 4u);
    EXPECT_EQ(first->writes[1], first->writes[0]);
    EXPECT_EQ(first->writes[2], first->writes[0]);
    EXPECT_EQ(first->writes[3][2], 0x22);
    EXPECT_EQ(callbacks, 4); // the repeats call the original callback
    EXPECT_EQ(link.retData().Tag, 7);
}

TEST_F(Exchange, WindowModePostsRetData)
{
    struct RecordingWindow : NotifyWindow {
        void postMessage(std::uint32_t m, std::int32_t w, RetData* l) override
        {
            message = m, wParam = w, lParam = l;
        }
        std::uint32_t message = 0;
        std::int32_t wParam = 0;
        RetData* lParam = nullptr;
    } window;
    openFirst();

    EXPECT_EQ(link.SendCommand(&window, {}, 0, 0x45, "0"), 0);

    EXPECT_EQ(window.message, WM_RETDATA);
    EXPECT_EQ(window.wParam, 0x45);
    EXPECT_EQ(window.lParam, &link.retData());
}

TEST_F(Exchange, SelectorChoosesThePort)
{
    openFirst();
    ASSERT_GT(link.OpenSecondPort("B", 9600), 0);
    second->queueAnswerBytes(answer("two"));

    EXPECT_EQ(link.UseSecondPort(1), 0);
    const RetData fromSecond = send(0x4A);
    link.UseSecondPort(0);
    send(0x4A);

    EXPECT_EQ(fromSecond.Fields[0], "two");
    EXPECT_EQ(second->writes.size(), 1u);
    EXPECT_EQ(first->writes.size(), 1u);
    EXPECT_EQ(first->writes[0][2], 0x22); // one counter for both ports
}

// A port that is not open (never opened, closed, or its opening failed) cannot answer: the
// request is refused before sending, named as such, never reported as a time-out.
TEST_F(Exchange, UnopenedClosedOrFailedPortRefusesTheRequest)
{
    openFirst();
    link.UseSecondPort(1);
    send(0x4A);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(link.lastRefusal(), Refusal::PortClosed);

    link.UseSecondPort(0);
    EXPECT_NE(link.CloseFirstPort(), 0);
    send(0x4A);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(callbacks, 0);
    EXPECT_TRUE(first->writes.empty());

    EXPECT_EQ(link.OpenFirstPort("COM99", 19200), -1);
    send(0x4A);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(link.lastRefusal(), Refusal::PortClosed);
}

TEST_F(Exchange, CloseFlushesPurgesAndReportsFailure)
{
    EXPECT_EQ(link.CloseFirstPort(), 0); // never opened
    openFirst();
    first->calls.clear();
    first->failClose = true;

    EXPECT_EQ(link.CloseFirstPort(), 0);
    EXPECT_EQ(first->calls, (std::vector<std::string>{"flush", "purge", "close"}));
    first->queueAnswerBytes(answer("still"));
    EXPECT_EQ(send(0x4A).Fields[0], "still"); // a failed close leaves the line in use

    first->failClose = false;
    EXPECT_NE(link.CloseFirstPort(), 0);
    EXPECT_TRUE(first->closed);
}

} // namespace
} // namespace quorvex::link
