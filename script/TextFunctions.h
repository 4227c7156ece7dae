#pragma once
// Text functions the script interpreter applies to script text, and the one way script lines
// are read from a file. Every text is Windows-1251 bytes.
#include <cstdio>
#include <string>

namespace quorvex::script {

// Size of the buffer a script line is read through: a line holds at most 299 characters, a
// longer physical line is returned as several consecutive lines.
constexpr int ScriptLineBufferSize = 300;

// True when every character is a decimal digit '0'..'9'; the empty text gives true.
[[nodiscard]] bool IsNumb(const std::string& text);

// True when the first and the last character are both '"' (a single '"' counts); the empty
// text gives false.
[[nodiscard]] bool IsStr(const std::string& text);

// The text trimmed; "%Ret" followed by one or more digits (and nothing else) gives that
// number (a 0-based answer field index, not checked against the answer), anything else -1.
// A number too large for an int also gives -1.
[[nodiscard]] int GetAnsiString(const std::string& text);

// Searches from `position` (the file is moved there first) line by line, each line read by
// readScriptLine, for the first line that contains `text` as a case-sensitive substring.
// Found: the file is positioned at the start of that line, `position` names it, true.
// Not found: file and `position` at the end of the file, false. Empty `text`: false at once,
// file and position untouched. `file` must be opened in binary mode (ftell/fseek offsets).
[[nodiscard]] bool SearchInFile(const std::string& text, std::FILE* file, long& position);

// Reads one line the way fgets into a 300-byte buffer does: up to 299 bytes, stopping after a
// '\n' (which is kept in `line`). Returns false, with `line` empty, when nothing could be read
// (end of file). Bytes 0x00 are kept, unlike with fgets.
[[nodiscard]] bool readScriptLine(std::FILE* file, std::string& line);

// Leading and trailing blanks and control characters (codes 0..32) removed.
[[nodiscard]] std::string trimText(const std::string& text);

// Trailing control characters (codes below 32) removed, e.g. the line end.
[[nodiscard]] std::string trimTrailingControls(const std::string& text);

} // namespace quorvex::script
