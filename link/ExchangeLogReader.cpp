#include "link/ExchangeLogReader.h"

#include "platform/NativePath.h"
#include "platform/NumberText.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

namespace quorvex::link {

namespace {

constexpr std::size_t kStampLength = 19; // "%2d-%02d-%4d %2d:%02d:%02d"
constexpr std::size_t kBlockSize = std::size_t{1} << 20;

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

// Leading hexadecimal digits, at most `limit`.
std::size_t hexDigitsAtStart(std::string_view text, std::size_t limit)
{
    std::size_t n = 0;
    while (n < text.size() && n < limit && platform::hexDigitValue(text[n]) >= 0)
        ++n;
    return n;
}

int hexNumber(std::string_view digits)
{
    int value = 0;
    for (char c : digits)
        value = value * 16 + platform::hexDigitValue(c);
    return value;
}

// The UTF-8 form of a Windows-1251 text made of ASCII and Cyrillic letters.
std::string cyrillicUtf8(std::string_view cp1251)
{
    std::string out;
    for (char c : cp1251) {
        const auto byte = static_cast<unsigned char>(c);
        unsigned code = byte;
        if (byte >= 0xC0)
            code = 0x410 + (byte - 0xC0u); // А..я
        else if (byte == 0xA8)
            code = 0x401; // Ё
        else if (byte == 0xB8)
            code = 0x451; // ё
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

const std::string kSessionStart = ";Начало сеанса   ";
const std::string kSessionEnd = ";Конец Сеанса   ";

// Length of the UTF-8 character of two or three bytes at `at`, 0 when there is none.
std::size_t multiByteLength(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead >= 0xC2 && lead < 0xE0   ? 2
                               : lead >= 0xE0 && lead < 0xF0 ? 3
                                                             : 0;
    if (length == 0 || at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

// A status field as a conversion to UTF-8 leaves it: 0x04, six characters of two or three
// bytes (every status byte has bit 7 set), then 0x05. In Windows-1251 the six are single bytes.
bool holdsUtf8Status(std::string_view text)
{
    for (auto at = text.find('\x04'); at != std::string_view::npos;
         at = text.find('\x04', at + 1)) {
        std::size_t i = at + 1;
        int characters = 0;
        for (; characters < 6 && i < text.size(); ++characters) {
            const std::size_t length = multiByteLength(text, i);
            if (length == 0)
                break;
            i += length;
        }
        if (characters == 6 && i < text.size() && text[i] == '\x05')
            return true;
    }
    return false;
}

enum class Kind { SessionStart, SessionEnd, RequestHead, AnswerHead, Note, Converted, Other };

Kind kindOf(std::string_view text)
{
    static const std::string startUtf8 = cyrillicUtf8(kSessionStart);
    static const std::string endUtf8 = cyrillicUtf8(kSessionEnd);
    if (text.empty() || text[0] != ';')
        return Kind::Other;
    if (text.starts_with(kSessionStart) && isStamp(text.substr(kSessionStart.size())))
        return Kind::SessionStart;
    if (text.starts_with(kSessionEnd) && isStamp(text.substr(kSessionEnd.size())))
        return Kind::SessionEnd;
    if (text.starts_with(startUtf8) || text.starts_with(endUtf8))
        return Kind::Converted;
    if (text.size() < 1 + kStampLength + 2 || !isStamp(text.substr(1)) ||
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

// The command code's digits at the start of a request body. It is written with "%X": one digit
// below 0x10. The answer's command byte tells which; without an answer a lone digit is the
// whole code, else two digits are taken.
std::size_t codeDigits(std::string_view body, const AnswerReceiver& receiver, bool answered)
{
    const std::size_t digits = hexDigitsAtStart(body, 2);
    if (answered && receiver.command() < 0x10 && digits >= 1 &&
        platform::hexDigitValue(body[0]) == receiver.command())
        return 1;
    return digits;
}

} // namespace

class ExchangeLogReader::State {
public:
    explicit State(ExchangeSink sink) : m_sink(std::move(sink)) {}

    void feed(std::string_view bytes)
    {
        while (!bytes.empty() && !m_out.convertedToUtf8) {
            const auto end = bytes.find('\n');
            if (end == std::string_view::npos) {
                m_carry.append(bytes);
                return;
            }
            if (m_carry.empty()) {
                line(bytes.substr(0, end), false);
            } else {
                m_carry.append(bytes.substr(0, end));
                line(m_carry, false);
                m_carry.clear();
            }
            bytes.remove_prefix(end + 1);
        }
    }

    LogReadSummary finish()
    {
        if (!m_carry.empty() && !m_out.convertedToUtf8)
            line(m_carry, true);
        if (!m_out.convertedToUtf8) {
            closeEntry(true);
            dropPending();
        }
        std::stable_sort(m_out.problems.begin(), m_out.problems.end(),
                         [](const LogProblem& a, const LogProblem& b) { return a.line < b.line; });
        return std::move(m_out);
    }

private:
    enum class Entry { None, Request, Answer };

    void problem(int line, const char* text)
    {
        if (m_out.problemCount++ < kNamedProblems)
            m_out.problems.push_back({line, text});
    }

    // One line without its LF; cut: the file ends inside it.
    void line(std::string_view text, bool cut)
    {
        ++m_number;
        const bool crLf = !cut && !text.empty() && text.back() == '\r';
        if (crLf)
            text.remove_suffix(1);
        const Kind kind = kindOf(text);
        if (kind == Kind::Other && m_entry != Entry::None) {
            appendBody(text, crLf, cut);
            return;
        }
        closeEntry(false);
        switch (kind) {
        case Kind::Converted:
            m_out.convertedToUtf8 = true;
            return;
        case Kind::RequestHead:
            dropPending();
            openEntry(Entry::Request, cut);
            return;
        case Kind::AnswerHead:
            openEntry(Entry::Answer, cut);
            return;
        default:
            break;
        }
        // Only a request or an answer can make use of a line the file ends in.
        if (cut) {
            dropPending();
            problem(m_number, "entry cut short");
            return;
        }
        if (kind == Kind::SessionStart || kind == Kind::SessionEnd) {
            dropPending();
            m_out.sessions += kind == Kind::SessionStart ? 1 : 0;
        } else if (kind == Kind::Other) {
            problem(m_number, "not an entry of an exchange log");
        }
        // A note is the link's own remark: why a port failed, why an exchange was cut.
    }

    void openEntry(Entry entry, bool cut)
    {
        m_entry = entry;
        m_head = m_number;
        m_headCut = cut;
        m_body.clear();
        m_bodyLines = 0;
        m_bodyCut = false;
    }

    // Body lines are joined with the line ends they had, so answer bytes that hold a line end
    // stay as they were received.
    void appendBody(std::string_view text, bool crLf, bool cut)
    {
        if (m_bodyLines > 0)
            m_body += m_previousCrLf ? "\r\n" : "\n";
        m_body.append(text);
        m_previousCrLf = crLf;
        ++m_bodyLines;
        m_bodyCut = cut;
    }

    void closeEntry(bool fileEnded)
    {
        const Entry entry = m_entry;
        m_entry = Entry::None;
        if (entry == Entry::Request)
            closeRequest(fileEnded);
        else if (entry == Entry::Answer)
            closeAnswer(fileEnded);
    }

    int lastBodyLine() const { return m_head + m_bodyLines; }

    void closeRequest(bool fileEnded)
    {
        if (m_headCut)
            return problem(m_head, "entry cut short");
        if (m_bodyLines == 0)
            return problem(m_head,
                           fileEnded ? "entry cut short" : "request entry without its command");
        if (m_bodyCut)
            return problem(lastBodyLine(), "entry cut short");
        if (hexDigitsAtStart(m_body, 2) == 0)
            return problem(m_head + 1, "request without a command code");
        m_pending = true;
        m_pendingHead = m_head;
        m_pendingBody.swap(m_body);
    }

    void dropPending()
    {
        if (m_pending)
            problem(m_pendingHead, "request without an answer entry");
        m_pending = false;
    }

    void closeAnswer(bool fileEnded)
    {
        if (!m_pending)
            return problem(m_head, "answer without a request");
        m_pending = false;
        if (m_headCut || m_bodyLines == 0)
            return problem(m_head, m_headCut || fileEnded ? "entry cut short"
                                                          : "answer entry without its answer line");
        if (m_body[0] != ';')
            return problem(m_head + 1, "answer entry does not start with ';'");
        m_receiver.reset();
        for (std::size_t i = 1; i < m_body.size(); ++i)
            m_receiver.feed(static_cast<std::uint8_t>(m_body[i]));
        const bool whole = m_receiver.ended() && !m_receiver.nak();
        if (m_bodyCut && !whole)
            return problem(lastBodyLine(), "entry cut short");
        // A converted status field breaks the frame; an ETX still ends it, with a bad checksum.
        if (!(whole && m_receiver.checksumOk()) && holdsUtf8Status(m_body)) {
            m_out.convertedToUtf8 = true;
            return;
        }
        addExchange(whole);
    }

    void addExchange(bool answered)
    {
        LoggedExchange exchange;
        exchange.line = m_pendingHead;
        exchange.outcome = m_receiver.nak() ? LoggedOutcome::Nak
                           : answered       ? LoggedOutcome::Answer
                                            : LoggedOutcome::TimeOut;
        const std::string_view body = m_pendingBody;
        const std::size_t digits = codeDigits(body, m_receiver, answered);
        exchange.command = hexNumber(body.substr(0, digits));
        exchange.data = body.substr(digits);
        if (answered) {
            exchange.answerData = m_receiver.data();
            exchange.answerStatus = m_receiver.status();
            exchange.checksumOk = m_receiver.checksumOk();
        }
        m_sink(std::move(exchange));
    }

    ExchangeSink m_sink;
    LogReadSummary m_out;
    std::string m_carry; // the start of a line the last block did not end
    int m_number = 0;    // lines read so far
    Entry m_entry = Entry::None;
    int m_head = 0;
    bool m_headCut = false;
    std::string m_body;
    int m_bodyLines = 0;
    bool m_bodyCut = false;
    bool m_previousCrLf = false;
    bool m_pending = false; // a request waits for its answer entry
    int m_pendingHead = 0;
    std::string m_pendingBody;
    AnswerReceiver m_receiver;
};

ExchangeLogReader::ExchangeLogReader(ExchangeSink sink)
    : m_state(std::make_unique<State>(std::move(sink)))
{
}

ExchangeLogReader::~ExchangeLogReader() = default;

void ExchangeLogReader::feed(std::string_view bytes)
{
    m_state->feed(bytes);
}

LogReadSummary ExchangeLogReader::finish()
{
    return m_state->finish();
}

ExchangeLogContents readExchangeLog(std::string_view bytes)
{
    ExchangeLogContents contents;
    ExchangeLogReader reader(
        [&](LoggedExchange&& exchange) { contents.exchanges.push_back(std::move(exchange)); });
    reader.feed(bytes);
    contents.summary = reader.finish();
    return contents;
}

std::optional<LogReadSummary> readExchangeLogFile(const std::string& path, const ExchangeSink& sink)
{
    std::FILE* file = platform::openFile(path, "rb");
    if (!file)
        return std::nullopt;
    ExchangeLogReader reader(sink);
    std::string block(kBlockSize, '\0');
    std::size_t n = 0;
    while ((n = std::fread(block.data(), 1, block.size(), file)) > 0)
        reader.feed(std::string_view(block.data(), n));
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed) {
        errno = error;
        return std::nullopt;
    }
    return reader.finish();
}

std::vector<std::string> describeProblems(const std::string& path, const LogReadSummary& summary)
{
    std::vector<std::string> lines;
    for (const LogProblem& problem : summary.problems)
        lines.push_back(path + ":" + std::to_string(problem.line) + ": " + problem.text +
                        " (skipped)");
    if (summary.problemCount > summary.problems.size())
        lines.push_back(path + ": " +
                        std::to_string(summary.problemCount - summary.problems.size()) +
                        " more lines that cannot be used (skipped)");
    return lines;
}

} // namespace quorvex::link
