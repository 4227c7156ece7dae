#include "script/CompareIgnore.h"

#include <algorithm>
#include <charconv>

namespace quorvex::script {

namespace {

constexpr int kMaxFieldIndex = 99;

std::optional<int> number(const std::string& text, int base, std::size_t maxDigits)
{
    if (text.empty() || text.size() > maxDigits)
        return std::nullopt;
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    if (ec != std::errc() || ptr != end || value < 0)
        return std::nullopt;
    return value;
}

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

IgnoreList& processList()
{
    static IgnoreList list;
    return list;
}

} // namespace

bool IgnoreList::ignoresAnswer(int code) const
{
    return std::any_of(m_rules.begin(), m_rules.end(), [&](const IgnoreRule& r) {
        return r.code == code && !r.field && !r.status;
    });
}

bool IgnoreList::ignoresField(int code, int field) const
{
    return ignoresAnswer(code) ||
           std::any_of(m_rules.begin(), m_rules.end(),
                       [&](const IgnoreRule& r) { return r.code == code && r.field == field; });
}

bool IgnoreList::ignoresStatus(int code) const
{
    return ignoresAnswer(code) ||
           std::any_of(m_rules.begin(), m_rules.end(),
                       [&](const IgnoreRule& r) { return r.code == code && r.status; });
}

std::optional<IgnoreRule> parseIgnoreRule(const std::string& text)
{
    const auto colon = text.find(':');
    const auto code = number(text.substr(0, colon), 16, 2);
    if (!code)
        return std::nullopt;
    if (colon == std::string::npos)
        return IgnoreRule{*code, std::nullopt, false};
    const std::string what = text.substr(colon + 1);
    if (what == "status" || what == "STATUS")
        return IgnoreRule{*code, std::nullopt, true};
    const auto field = number(what, 10, 2);
    if (!field || *field > kMaxFieldIndex)
        return std::nullopt;
    return IgnoreRule{*code, *field, false};
}

ParsedIgnoreList parseIgnoreList(const std::string& text)
{
    ParsedIgnoreList parsed;
    std::size_t start = 0;
    while (start <= text.size()) {
        const auto comma = std::min(text.find(',', start), text.size());
        const std::string item = trimmed(text.substr(start, comma - start));
        start = comma + 1;
        if (item.empty())
            continue;
        if (const auto rule = parseIgnoreRule(item))
            parsed.list.add(*rule);
        else if (parsed.error.empty())
            parsed.error = "not a command code or CODE:FIELD: '" + item + "'";
    }
    return parsed;
}

void setComparisonIgnore(IgnoreList list)
{
    processList() = std::move(list);
}

const IgnoreList& comparisonIgnore()
{
    return processList();
}

} // namespace quorvex::script
