#pragma once
// Answer fields left out of the two-registrar comparison: a whole command's answer (its code)
// or one field of it (code and 0-based field index), for values that differ by nature such as
// dates, times and serial numbers, or its status bytes (compared only against a recording).
// Written as "3E,EB:0,4A:status": hexadecimal codes, ":N" for a field, ":status".
#include <optional>
#include <string>
#include <vector>

namespace quorvex::script {

struct IgnoreRule {
    int code = 0;
    std::optional<int> field; // none: the whole answer, unless status
    bool status = false;      // the status bytes and the link's errors only
};

class IgnoreList {
public:
    void add(IgnoreRule rule) { m_rules.push_back(rule); }
    [[nodiscard]] bool empty() const { return m_rules.empty(); }
    // The whole answer: fields, status and whether it was recorded at all.
    [[nodiscard]] bool ignoresAnswer(int code) const;
    [[nodiscard]] bool ignoresField(int code, int field) const;
    [[nodiscard]] bool ignoresStatus(int code) const;

private:
    std::vector<IgnoreRule> m_rules;
};

// One rule, "CC", "CC:N" or "CC:status" (one or two hexadecimal digits, N decimal); nullopt when
// malformed.
[[nodiscard]] std::optional<IgnoreRule> parseIgnoreRule(const std::string& text);

struct ParsedIgnoreList {
    IgnoreList list;   // every well-formed rule
    std::string error; // names the first malformed rule; empty when there was none
};
// Rules separated by commas; blanks around them are allowed, empty entries are skipped.
[[nodiscard]] ParsedIgnoreList parseIgnoreList(const std::string& text);

// The list ExecuteOnBoth applies; empty at start.
void setComparisonIgnore(IgnoreList list);
[[nodiscard]] const IgnoreList& comparisonIgnore();

} // namespace quorvex::script
