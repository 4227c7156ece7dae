// The exchange log read back: entries as ExchangeLog writes them, paired and decoded; whatever
// cannot be used is named by line and skipped.
#include "link/ExchangeLogReader.h"
#include "link/ExchangeLog.h"

#include <gtest/gtest.h>

namespace quorvex::link {
namespace {

const platform::LocalTime kTime{7, 12, 2026, 1, 52, 58};

std::string start()
{
    return ExchangeLog::formatEntry(kTime, "", "START");
}
std::string end()
{
    return ExchangeLog::formatEntry(kTime, "END", "");
}
std::string request(const std::string& body)
{
    return ExchangeLog::formatEntry(kTime, "21", body);
}
std::string answer(const std::string& raw)
{
    return ExchangeLog::formatEntry(kTime, " ", ";" + raw);
}
std::string frame(int command, const std::string& data, std::uint8_t s0 = 0x80)
{
    const Bytes bytes = buildAnswerFrame(0x21, static_cast<std::uint8_t>(command), data,
                                         {s0, 0x80, 0x80, 0x80, 0x80, 0x80});
    return {bytes.begin(), bytes.end()};
}

// One exchange as a short text: "4A|W|answer:data" / "|nak" / "|timeout".
std::string summary(const LoggedExchange& e)
{
    std::string text = std::to_string(e.line) + ":" + std::to_string(e.command) + "|" + e.data;
    switch (e.outcome) {
    case LoggedOutcome::Answer:
        return text + "|answer:" + e.answerData;
    case LoggedOutcome::Nak:
        return text + "|nak";
    case LoggedOutcome::TimeOut:
        return text + "|timeout";
    }
    return text;
}

struct Case {
    const char* name;
    std::string log;
    std::vector<std::string> exchanges;
    std::vector<int> problemLines;
    int sessions;
};

TEST(ExchangeLogReaderTest, ReadsWhatTheLogCanHold)
{
    const std::string diag = frame(0x5A, "5.00 05Dec26");
    const std::string half = diag.substr(0, 8);
    const Case cases[] = {
        {"two sessions, answers and a one-digit code",
         start() + request("4AW") + answer(frame(0x4A, "")) + end() + start() + request("F") +
             answer(frame(0x0F, "1,2")) + request("FAB") + answer(frame(0x0F, "")) + end(),
         {"2:74|W|answer:", "8:15||answer:1,2", "12:15|AB|answer:"},
         {},
         2},
        {"NAK, a time-out with nothing, a time-out with bytes and its note, SYN dropped",
         start() + request("4AW") + answer("\x15") + request("4AW") + answer("") + request("5A0") +
             answer(half) + ExchangeLog::formatNote(kTime, "note") + request("5A0") +
             answer("\x16" + diag),
         {"2:74|W|nak", "6:74|W|timeout", "10:90|0|timeout", "15:90|0|answer:5.00 05Dec26"},
         {},
         1},
        {"answer data holding CR LF stays one answer",
         request("21") + answer(frame(0x21, "a\r\nb")),
         {"1:33||answer:a\r\nb"},
         {},
         0},
        {"the file ends inside an answer frame",
         start() + request("4AW") + answer(frame(0x4A, "")) + request("5A0") +
             (answer(half).substr(0, answer(half).size() - 2)),
         {"2:74|W|answer:"},
         {9},
         1},
        {"a complete last frame without its line end is used",
         request("4AW") + answer(frame(0x4A, "x")).substr(0, answer(frame(0x4A, "x")).size() - 2),
         {"1:74|W|answer:x"},
         {},
         0},
        {"the file ends after a request head",
         request("4AW") + answer(frame(0x4A, "")) + request("4AW").substr(0, 25),
         {"1:74|W|answer:"},
         {5},
         0},
        {"an answer head without its line",
         request("4AW") + answer("").substr(0, answer("").size() - 3) + request("4AW") +
             answer(frame(0x4A, "")),
         {"4:74|W|answer:"},
         {3},
         0},
        {"bad lines, an answer without request, a request without answer",
         "garbage\r\n" + answer(frame(0x4A, "")) + request("4AW") + end() + request("zz") +
             answer(frame(0x4A, "")) + request("4AW") +
             ExchangeLog::formatEntry(kTime, " ", "no semicolon"),
         {},
         {1, 2, 4, 8, 9, 14},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ExchangeLogContents contents = readExchangeLog(c.log);
        std::vector<std::string> exchanges;
        for (const LoggedExchange& e : contents.exchanges)
            exchanges.push_back(summary(e));
        std::vector<int> lines;
        for (const LogProblem& p : contents.problems)
            lines.push_back(p.line);
        EXPECT_EQ(exchanges, c.exchanges);
        EXPECT_EQ(lines, c.problemLines);
        EXPECT_EQ(contents.sessions, c.sessions);
    }
}

TEST(ExchangeLogReaderTest, KeepsTheRecordedStatusBytesAndTheFileMayBeMissing)
{
    const ExchangeLogContents contents =
        readExchangeLog(request("4AW") + answer(frame(0x4A, "", 0x81)));
    ASSERT_EQ(contents.exchanges.size(), 1u);
    EXPECT_EQ(contents.exchanges[0].answerStatus[0], 0x81);
    EXPECT_FALSE(readExchangeLogFile("/nonexistent/exchange.log").has_value());
}

} // namespace
} // namespace quorvex::link
