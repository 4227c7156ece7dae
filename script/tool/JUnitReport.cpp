#include "script/tool/JUnitReport.h"

#include <charconv>

namespace quorvex::script {

namespace {

const std::string kReplacement = "\xEF\xBF\xBD"; // U+FFFD

// Seconds with three decimals, always with a full stop.
std::string secondsText(double seconds)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, seconds < 0 ? 0.0 : seconds,
                                      std::chars_format::fixed, 3);
    return std::string(text, result.ptr);
}

// Length of the well-formed UTF-8 sequence at `at`, 0 when there is none.
std::size_t sequenceLength(const std::string& s, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    else
        return 0;
    if (at + length > s.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
    }
    // Overlong three- and four-byte forms, surrogates and code points past U+10FFFF.
    if ((lead == 0xE0 && byte(at + 1) < 0xA0) || (lead == 0xED && byte(at + 1) >= 0xA0) ||
        (lead == 0xF0 && byte(at + 1) < 0x90) || (lead == 0xF4 && byte(at + 1) >= 0x90))
        return 0;
    // U+FFFE and U+FFFF are not characters in XML.
    if (lead == 0xEF && byte(at + 1) == 0xBF && byte(at + 2) >= 0xBE)
        return 0;
    return length;
}

std::string attribute(const char* name, const std::string& value)
{
    return std::string(" ") + name + "=\"" + xmlEscaped(value) + "\"";
}

const char* elementOf(JUnitProblem::Kind kind)
{
    switch (kind) {
    case JUnitProblem::Kind::Failure:
        return "failure";
    case JUnitProblem::Kind::Error:
        return "error";
    case JUnitProblem::Kind::Skipped:
        break;
    }
    return "skipped";
}

std::string problemXml(const JUnitProblem& problem)
{
    const std::string element = elementOf(problem.kind);
    std::string xml = "    <" + element + attribute("message", problem.message);
    if (problem.kind == JUnitProblem::Kind::Skipped)
        return xml + "/>\n";
    return xml + attribute("type", problem.type) + ">" + xmlEscaped(problem.text) + "</" + element +
           ">\n";
}

int countOf(const JUnitSuite& suite, JUnitProblem::Kind kind)
{
    int count = 0;
    for (const JUnitCase& c : suite.cases)
        count += c.problem && c.problem->kind == kind ? 1 : 0;
    return count;
}

std::string testcaseXml(const JUnitCase& c)
{
    std::string xml = "  <testcase" + attribute("name", c.name) +
                      attribute("classname", c.className) +
                      attribute("time", secondsText(c.seconds)) + ">\n";
    if (c.problem)
        xml += problemXml(*c.problem);
    std::string out;
    for (const std::string& line : c.output)
        out += line + "\n";
    xml += "    <system-out>" + xmlEscaped(out) + "</system-out>\n";
    return xml + "  </testcase>\n";
}

} // namespace

std::string xmlEscaped(const std::string& utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const char c = utf8[at];
        const auto u = static_cast<unsigned char>(c);
        const std::size_t length = sequenceLength(utf8, at);
        if (length == 0) {
            out += kReplacement;
            ++at;
            continue;
        }
        if (length > 1) {
            out.append(utf8, at, length);
            at += length;
            continue;
        }
        ++at;
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            if (u < 0x20 && c != '\t' && c != '\n' && c != '\r')
                out += kReplacement;
            else if (c == '\r')
                out += "&#13;"; // kept: a parser would turn a raw CR into a line feed
            else
                out += c;
        }
    }
    return out;
}

std::string junitXml(const JUnitSuite& suite)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites>\n";
    xml += " <testsuite" + attribute("name", suite.name) +
           attribute("tests", std::to_string(suite.cases.size())) +
           attribute("failures", std::to_string(countOf(suite, JUnitProblem::Kind::Failure))) +
           attribute("errors", std::to_string(countOf(suite, JUnitProblem::Kind::Error))) +
           attribute("skipped", std::to_string(countOf(suite, JUnitProblem::Kind::Skipped))) +
           attribute("time", secondsText(suite.seconds)) + attribute("timestamp", suite.timestamp) +
           attribute("hostname", suite.hostname) + ">\n";
    for (const JUnitCase& c : suite.cases)
        xml += testcaseXml(c);
    xml += " </testsuite>\n</testsuites>\n";
    return xml;
}

} // namespace quorvex::script
