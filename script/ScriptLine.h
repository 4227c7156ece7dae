#pragma once
// Classifying one prepared script line and the small text cuts the statements use.
// Every text is Windows-1251 bytes.
#include <cstdint>
#include <optional>
#include <string>

namespace quorvex::script {

enum class LineKind {
    DeclareBeg,
    New,
    DeclareEnd,
    Delay,
    Set, // after '%' only
    While,
    EndWhile,
    If,
    Then,
    Else,
    EndIf,
    RunCommand,
    Oper, // after any first character
    Print,
    EnableSecond,
    DisableSecond,
    Ignored, // ';'
    Comment, // '+'
    Command, // everything else: two code characters, then data
};

struct ClassifiedLine {
    LineKind kind = LineKind::Command;
    std::string afterKeyword; // the text after the keyword (statements only), untrimmed
};

// `trimmed` is a non-empty trimmed line. Keywords are case-sensitive prefixes of the text
// after the first character: «%Newest» is a New statement, «xWhile (i < 3)» a While.
[[nodiscard]] ClassifiedLine classifyLine(const std::string& trimmed);

// The text after the first `open` up to the first `close` after it; from the start when there
// is no `open`, to the end when there is no `close`.
[[nodiscard]] std::string textBetween(const std::string& text, char open, char close);
// The text before the first `separator` (all of it when there is none).
[[nodiscard]] std::string textBefore(const std::string& text, char separator);
// The text after the first `separator` (empty when there is none).
[[nodiscard]] std::string textAfter(const std::string& text, char separator);

} // namespace quorvex::script
