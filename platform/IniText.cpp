#include "platform/IniText.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace quorvex::platform {

namespace {

constexpr std::string_view kBlanks = " \t\v\f\r";
constexpr const char* kNewLineEnd = "\r\n";

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return asciiLower(x) == asciiLower(y);
           });
}

// "[name]" after optional blanks; the name runs to the last ']' of the line.
std::optional<std::string_view> sectionNameOf(std::string_view line)
{
    const std::string_view body = trimmed(line);
    if (body.empty() || body.front() != '[')
        return std::nullopt;
    const auto close = body.rfind(']');
    if (close == std::string_view::npos || close == 0)
        return std::nullopt;
    return trimmed(body.substr(1, close - 1));
}

struct KeyLine {
    std::string_view name;
    std::string_view value;
};

// "name=value"; comments (';') and lines without '=' carry no key.
std::optional<KeyLine> keyOf(std::string_view line)
{
    const std::string_view body = trimmed(line);
    if (body.empty() || body.front() == ';')
        return std::nullopt;
    const auto equals = body.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    const std::string_view name = trimmed(body.substr(0, equals));
    if (name.empty())
        return std::nullopt;
    return KeyLine{name, trimmed(body.substr(equals + 1))};
}

bool hasLineBreakOrNul(std::string_view text)
{
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

} // namespace

IniText::IniText(const std::string& bytes)
{
    std::size_t start = 0;
    while (start < bytes.size()) {
        const auto newline = bytes.find('\n', start);
        if (newline == std::string::npos) {
            m_lines.push_back({bytes.substr(start), ""});
            break;
        }
        const bool crlf = newline > start && bytes[newline - 1] == '\r';
        const std::size_t contentEnd = crlf ? newline - 1 : newline;
        m_lines.push_back({bytes.substr(start, contentEnd - start), crlf ? "\r\n" : "\n"});
        start = newline + 1;
    }
}

std::optional<std::string> IniText::find(const std::string& section, const std::string& key) const
{
    const auto range = findSection(section);
    if (!range)
        return std::nullopt;
    const auto index = findKey(*range, key);
    if (!index)
        return std::nullopt;
    return std::string(keyOf(m_lines[*index].content)->value);
}

void IniText::set(const std::string& section, const std::string& key, const std::string& value)
{
    const std::string keyName(trimmed(key));
    const auto range = findSection(section);
    if (!range) {
        std::string header(1, '[');
        header.append(trimmed(section)).push_back(']');
        insertLine(m_lines.size(), std::move(header));
        insertLine(m_lines.size(), keyName + "=" + value);
        return;
    }
    if (const auto index = findKey(*range, key)) {
        std::string& content = m_lines[*index].content;
        const std::string indent = content.substr(0, content.find_first_not_of(kBlanks));
        const std::string storedName(keyOf(content)->name);
        content = indent + storedName + "=" + value;
        return;
    }
    // After the section's last non-blank line, so blank separator lines stay between sections.
    std::size_t insertAt = range->header + 1;
    for (std::size_t i = range->header + 1; i < range->end; ++i)
        if (!trimmed(m_lines[i].content).empty())
            insertAt = i + 1;
    insertLine(insertAt, keyName + "=" + value);
}

std::string IniText::bytes() const
{
    std::string out;
    for (const Line& line : m_lines)
        out += line.content + line.ending;
    return out;
}

bool IniText::isValidSectionName(const std::string& name)
{
    return !trimmed(name).empty() && !hasLineBreakOrNul(name) &&
           name.find(']') == std::string::npos;
}

bool IniText::isValidKeyName(const std::string& name)
{
    const std::string_view body = trimmed(name);
    return !body.empty() && !hasLineBreakOrNul(name) && name.find('=') == std::string::npos &&
           body.front() != ';' && body.front() != '[';
}

bool IniText::isValidValue(const std::string& value)
{
    return !hasLineBreakOrNul(value);
}

std::optional<IniText::Range> IniText::findSection(const std::string& section) const
{
    const std::string_view wanted = trimmed(section);
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const auto name = sectionNameOf(m_lines[i].content);
        if (!name || !sameName(*name, wanted))
            continue;
        std::size_t end = i + 1;
        while (end < m_lines.size() && !sectionNameOf(m_lines[end].content))
            ++end;
        return Range{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> IniText::findKey(const Range& range, const std::string& key) const
{
    const std::string_view wanted = trimmed(key);
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        const auto line = keyOf(m_lines[i].content);
        if (line && sameName(line->name, wanted))
            return i;
    }
    return std::nullopt;
}

void IniText::insertLine(std::size_t index, std::string content)
{
    // A line inserted after an unterminated last line needs that line to be ended first.
    if (index > 0 && m_lines[index - 1].ending.empty())
        m_lines[index - 1].ending = kNewLineEnd;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(index),
                   Line{std::move(content), kNewLineEnd});
}

} // namespace quorvex::platform
