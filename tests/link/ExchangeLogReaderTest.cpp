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

// Line ends as a Unix tool leaves them: every CR LF becomes LF; `every` > 1 converts only every
// every-th line end, for a mixed file.
std::string withLf(const std::string& log, int every = 1)
{
    std::string out;
    int n = 0;
    for (std::size_t at = 0; at < log.size(); ++at) {
        if (log.compare(at, 2, "\r\n") == 0 && ++n % every == 0) {
            out += '\n';
            ++at;
        } else {
            out += log[at];
        }
    }
    return out;
}

// What iconv -f cp1251 -t utf-8 makes of a log (only what these logs hold: ASCII, Cyrillic,
// status bytes 0x80..0xBF).
std::string asUtf8(const std::string& cp1251)
{
    std::string out;
    for (char c : cp1251) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else if (b >= 0xC0) {
            const unsigned code = 0x410 + (b - 0xC0u);
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += "\xE2\x80\xA0"; // some character of three bytes, as most of that range is
        }
    }
    return out;
}

// One exchange as a short text: "line:command|data|answer:data", "|nak", "|timeout"; a wrong
// checksum adds "!".
std::string summary(const LoggedExchange& e)
{
    std::string text = std::to_string(e.line) + ":" + std::to_string(e.command) + "|" + e.data;
    switch (e.outcome) {
    case LoggedOutcome::Answer:
        return text + "|answer:" + e.answerData + (e.checksumOk ? "" : "!");
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
    std::string badChecksum = frame(0x4A, "x");
    badChecksum[badChecksum.size() - 2] ^= 1;
    const std::string twoSessions = start() + request("4AW") + answer(frame(0x4A, "")) + end() +
                                    start() + request("F") + answer(frame(0x0F, "1,2")) +
                                    request("FAB") + answer(frame(0x0F, "")) + end();
    const std::vector<std::string> twoSessionsRead = {"2:74|W|answer:", "8:15||answer:1,2",
                                                      "12:15|AB|answer:"};
    const Case cases[] = {
        {"two sessions, answers and a one-digit code", twoSessions, twoSessionsRead, {}, 2},
        {"LF line ends", withLf(twoSessions), twoSessionsRead, {}, 2},
        {"CR LF and LF mixed", withLf(twoSessions, 2), twoSessionsRead, {}, 2},
        {"hexadecimal digits in lower case",
         ExchangeLog::formatEntry(kTime, "2a", "4aW") + answer(frame(0x4A, "")) +
             ExchangeLog::formatEntry(kTime, "2b", "fab") + answer(frame(0x0F, "")),
         {"1:74|W|answer:", "5:15|ab|answer:"},
         {},
         0},
        {"NAK, a time-out with nothing, a time-out with bytes and its note, SYN dropped",
         start() + request("4AW") + answer("\x15") + request("4AW") + answer("") + request("5A0") +
             answer(half) + ExchangeLog::formatNote(kTime, "note") + request("5A0") +
             answer("\x16" + diag),
         {"2:74|W|nak", "6:74|W|timeout", "10:90|0|timeout", "15:90|0|answer:5.00 05Dec26"},
         {},
         1},
        {"an answer recorded with a wrong checksum keeps it wrong",
         request("4AW") + answer(badChecksum),
         {"1:74|W|answer:x!"},
         {},
         0},
        {"answer data holding CR LF and LF stays one answer",
         request("21") + answer(frame(0x21, "a\r\nb\nc")),
         {"1:33||answer:a\r\nb\nc"},
         {},
         0},
        {"the file ends inside an answer frame",
         start() + request("4AW") + answer(frame(0x4A, "")) + request("5A0") +
             (answer(half).substr(0, answer(half).size() - 2)),
         {"2:74|W|answer:"},
         {9},
         1},
        {"the file ends inside the second line of a request",
         request("21a\r\nb").substr(0, request("21a\r\nb").size() - 2),
         {},
         {3},
         0},
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
        {"a log converted to UTF-8 at its session line", asUtf8(twoSessions), {}, {}, 0},
        {"a log converted to UTF-8 without session lines",
         asUtf8(request("4AW") + answer(frame(0x4A, "")) + request("0F") + answer(frame(0x0F, ""))),
         {},
         {},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ExchangeLogContents contents = readExchangeLog(c.log);
        std::vector<std::string> exchanges;
        for (const LoggedExchange& e : contents.exchanges)
            exchanges.push_back(summary(e));
        std::vector<int> lines;
        for (const LogProblem& p : contents.summary.problems)
            lines.push_back(p.line);
        EXPECT_EQ(exchanges, c.exchanges);
        EXPECT_EQ(lines, c.problemLines);
        EXPECT_EQ(contents.summary.sessions, c.sessions);
        EXPECT_EQ(contents.summary.convertedToUtf8,
                  std::string(c.name).find("UTF-8") != std::string::npos);
    }
}

TEST(ExchangeLogReaderTest, NamesTwentyProblemsCountsTheRestAndReadsInAnyPieces)
{
    std::string log;
    for (int i = 0; i < 25; ++i)
        log += "junk\r\n";
    log += start() + request("4AW") + answer(frame(0x4A, "", 0x81));

    ExchangeLogContents contents;
    ExchangeLogReader reader(
        [&](LoggedExchange&& e) { contents.exchanges.push_back(std::move(e)); });
    for (char byte : log)
        reader.feed(std::string_view(&byte, 1));
    const LogReadSummary summary = reader.finish();

    ASSERT_EQ(contents.exchanges.size(), 1u);
    EXPECT_EQ(contents.exchanges[0].answerStatus[0], 0x81);
    EXPECT_EQ(summary.problems.size(), kNamedProblems);
    EXPECT_EQ(summary.problemCount, 25u);
    const std::vector<std::string> told = describeProblems("x.log", summary);
    ASSERT_EQ(told.size(), 21u);
    EXPECT_EQ(told[19], "x.log:20: not an entry of an exchange log (skipped)");
    EXPECT_EQ(told[20], "x.log: 5 more lines that cannot be used (skipped)");
    EXPECT_FALSE(readExchangeLogFile("/nonexistent/exchange.log", [](LoggedExchange&&) {}));
}

} // namespace
} // namespace quorvex::link
