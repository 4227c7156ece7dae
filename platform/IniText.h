#pragma once
// The text of an INI file held as lines with their own line ends, so that editing one key
// leaves every other byte of the file as it was.
#include <optional>
#include <string>
#include <vector>

namespace quorvex::platform {

class IniText {
public:
    explicit IniText(const std::string& bytes);

    // The raw value of the first key named `key` in the first section named `section`, with
    // surrounding blanks removed; no value when either is missing.
    [[nodiscard]] std::optional<std::string> find(const std::string& section,
                                                  const std::string& key) const;
    // Replaces the key's line, or adds the key at the end of its section, or adds the section
    // at the end of the text. Names are expected to be valid (see isValidName...).
    void set(const std::string& section, const std::string& key, const std::string& value);

    [[nodiscard]] std::string bytes() const;

    [[nodiscard]] static bool isValidSectionName(const std::string& name);
    [[nodiscard]] static bool isValidKeyName(const std::string& name);
    [[nodiscard]] static bool isValidValue(const std::string& value);

private:
    struct Line {
        std::string content; // without the line end
        std::string ending;  // "\r\n", "\n" or "" for an unterminated last line
    };
    struct Range {
        std::size_t header; // index of the section's header line
        std::size_t end;    // one past the section's last line
    };

    [[nodiscard]] std::optional<Range> findSection(const std::string& section) const;
    [[nodiscard]] std::optional<std::size_t> findKey(const Range& range,
                                                     const std::string& key) const;
    void insertLine(std::size_t index, std::string content);

    std::vector<Line> m_lines;
};

} // namespace quorvex::platform
