#include "link/ExchangeLogReader.h"

#include "platform/NativePath.h"

#include <algorithm>
#include <cstdio>

namespace quorvex::link {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kStampLength = 19; // "%2d-%02d-%4d %2d:%02d:%02d"

struct Line {
    int number = 0;
    std::string_view text;
    bool cut = false; // the file ends inside this line: no CR LF after it
};

std::vector<Line> splitLines(std::string_view bytes)
{
    std::vector<Line> lines;
    int number = 1;
    while (!bytes.empty()) {
        const auto end = bytes.find(kLineEnd);
        if (end == std::string_view::npos) {
            lines.push_back({number, bytes, true});
            break;
        }
        lines.push_back({number++, bytes.substr(0, end), false});
        bytes.remove_prefix(end + kLineEnd.size());
    }
    return lines;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isDigitOrBlank(char c)
{
    return isDigit(c) || c == ' ';
}

// "dd-mm-yyyy hh:mm:ss" with day and hour padded by a blank.
bool isStamp(std::string_view text)
{
    constexpr std::string_view pattern = "b9-99-9999 b9:99:99";
    if (text.size() < kStampLength)
        return false;
    for (std::size_t i = 0; i < kStampLength; ++i) {
        const char p = pattern[i];
        const char c = text[i];
        if ((p == '9' && !isDigit(c)) || (p == 'b' && !isDigitOrBlank(c)) ||
            (p != '9' && p != 'b' && c != p))
            return false;
    }
    return true;
}

int hexValue(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Leading upper-case hexadecimal digits, at most `limit`.
std::size_t hexDigitsAtStart(std::string_view text, std::size_t limit)
{
    std::size_t n = 0;
    while (n < text.size() && n < limit && hexValue(text[n]) >= 0)
        ++n;
    return n;
}

int hexNumber(std::string_view digits)
{
    int value = 0;
    for (char c : digits)
        value = value * 16 + hexValue(c);
    return value;
}

std::string upperHex(int value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(value));
    return text;
}

enum class Kind { SessionStart, SessionEnd, RequestHead, AnswerHead, Note, Other };

Kind kindOf(std::string_view text)
{
    static const std::string start = ";Начало сеанса   ";
    static const std::string end = ";Конец Сеанса   ";
    if (text.starts_with(start) && isStamp(text.substr(start.size())))
        return Kind::SessionStart;
    if (text.starts_with(end) && isStamp(text.substr(end.size())))
        return Kind::SessionEnd;
    if (text.size() < 1 + kStampLength + 2 || text[0] != ';' || !isStamp(text.substr(1)) ||
        text.substr(1 + kStampLength, 2) != "  ")
        return Kind::Other;
    const std::string_view head = text.substr(1 + kStampLength + 2);
    if (head == " ")
        return Kind::AnswerHead;
    // The SEQ byte, 0x20..0x7E, always takes two digits.
    if (head.size() == 2 && hexDigitsAtStart(head, 2) == 2)
        return Kind::RequestHead;
    return Kind::Note;
}

bool isHead(std::string_view text)
{
    return kindOf(text) != Kind::Other;
}

class Reader {
public:
    explicit Reader(std::string_view bytes) : m_lines(splitLines(bytes)) {}

    ExchangeLogContents read()
    {
        while (m_at < m_lines.size())
            readEntry();
        if (m_pending)
            problem(m_pending->head, "request without an answer entry");
        std::stable_sort(m_out.problems.begin(), m_out.problems.end(),
                         [](const LogProblem& a, const LogProblem& b) { return a.line < b.line; });
        return std::move(m_out);
    }

private:
    struct PendingRequest {
        int head = 0;
        std::string body;
    };

    void problem(int line, std::string text) { m_out.problems.push_back({line, std::move(text)}); }

    void readEntry()
    {
        const Line& line = m_lines[m_at++];
        const Kind kind = kindOf(line.text);
        // Only a request or an answer can make use of a line the file ends in.
        if (line.cut && kind != Kind::RequestHead && kind != Kind::AnswerHead) {
            dropPending();
            problem(line.number, "entry cut short");
            return;
        }
        switch (kind) {
        case Kind::SessionStart:
        case Kind::SessionEnd:
            dropPending();
            if (kind == Kind::SessionStart)
                ++m_out.sessions;
            return;
        case Kind::Note:
            return; // the link's own remarks: why a port failed, why an exchange was cut
        case Kind::RequestHead:
            readRequest(line);
            return;
        case Kind::AnswerHead:
            readAnswer(line);
            return;
        case Kind::Other:
            problem(line.number, "not an entry of an exchange log");
            return;
        }
    }

    void dropPending()
    {
        if (m_pending)
            problem(m_pending->head, "request without an answer entry");
        m_pending.reset();
    }

    // The lines up to the next head, joined as they were written; false when the file ends
    // inside them.
    bool bodyLines(std::string& body)
    {
        bool first = true;
        while (m_at < m_lines.size() && !isHead(m_lines[m_at].text)) {
            if (!first)
                body += kLineEnd;
            body += m_lines[m_at].text;
            first = false;
            if (m_lines[m_at++].cut)
                return false;
        }
        return !first;
    }

    void readRequest(const Line& head)
    {
        dropPending();
        if (head.cut) {
            problem(head.number, "entry cut short");
            return;
        }
        std::string body;
        const bool complete = bodyLines(body);
        if (!complete && body.empty()) {
            problem(head.number, m_at < m_lines.size() ? "request entry without its command"
                                                       : "entry cut short");
            return;
        }
        if (!complete) {
            problem(head.number, "entry cut short");
            return;
        }
        if (hexDigitsAtStart(body, 2) == 0) {
            problem(head.number + 1, "request without a command code");
            return;
        }
        m_pending = PendingRequest{head.number, std::move(body)};
    }

    void readAnswer(const Line& head)
    {
        std::string body;
        const bool complete = !head.cut && bodyLines(body);
        if (!m_pending) {
            problem(head.number, "answer without a request");
            return;
        }
        const PendingRequest request = *m_pending;
        m_pending.reset();
        if (!complete && body.empty()) {
            problem(head.number, head.cut || m_at >= m_lines.size()
                                     ? "entry cut short"
                                     : "answer entry without its answer line");
            return;
        }
        if (body.empty() || body[0] != ';') {
            problem(head.number + 1, "answer entry does not start with ';'");
            return;
        }
        AnswerReceiver receiver;
        for (std::size_t i = 1; i < body.size(); ++i)
            receiver.feed(static_cast<std::uint8_t>(body[i]));
        if (!complete && !(receiver.ended() && !receiver.nak())) {
            problem(head.number + 1, "entry cut short");
            return;
        }
        addExchange(request, receiver);
    }

    void addExchange(const PendingRequest& request, const AnswerReceiver& receiver)
    {
        LoggedExchange exchange;
        exchange.line = request.head;
        const bool answered = receiver.ended() && !receiver.nak();
        exchange.outcome = receiver.nak() ? LoggedOutcome::Nak
                           : answered     ? LoggedOutcome::Answer
                                          : LoggedOutcome::TimeOut;
        // The code is written with "%X": one digit below 0x10. The answer's command byte tells
        // which; without an answer a lone digit is the whole code, else two digits are taken.
        std::size_t digits = hexDigitsAtStart(request.body, 2);
        if (answered && request.body.starts_with(upperHex(receiver.command())))
            digits = upperHex(receiver.command()).size();
        exchange.command = hexNumber(std::string_view(request.body).substr(0, digits));
        exchange.data = request.body.substr(digits);
        if (answered) {
            exchange.answerData = receiver.data();
            exchange.answerStatus = receiver.status();
        }
        m_out.exchanges.push_back(std::move(exchange));
    }

    std::vector<Line> m_lines;
    std::size_t m_at = 0;
    std::optional<PendingRequest> m_pending;
    ExchangeLogContents m_out;
};

} // namespace

ExchangeLogContents readExchangeLog(std::string_view bytes)
{
    return Reader(bytes).read();
}

std::optional<ExchangeLogContents> readExchangeLogFile(const std::string& path)
{
    std::FILE* file = platform::openFile(path, "rb");
    if (!file)
        return std::nullopt;
    std::string bytes;
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, n);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        return std::nullopt;
    return readExchangeLog(bytes);
}

} // namespace quorvex::link
