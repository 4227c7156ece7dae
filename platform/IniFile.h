#pragma once
// Private-profile (INI) files with the behaviour of the Windows functions of the same names.
// Texts are bytes (Windows-1251); section and key names match without regard to ASCII case,
// with surrounding blanks ignored. Paths are path texts (see NativePath.h).
#include <string>

namespace quorvex::platform {

// The value of [section] key, trimmed of surrounding blanks and of one pair of matching quotes
// (' or "), cut to bufferSize - 1 bytes. A missing file, section or key gives defaultValue
// without its trailing blanks, cut the same way. bufferSize <= 0 gives "".
[[nodiscard]] std::string GetPrivateProfileString(const std::string& section,
                                                  const std::string& key,
                                                  const std::string& defaultValue, int bufferSize,
                                                  const std::string& file);

// The leading decimal integer of the value (optional blanks, optional sign, digits; 0 when the
// value starts with anything else). A missing file, section or key, or an empty value, gives
// defaultValue. Values beyond 32 bits wrap as they do on Windows.
[[nodiscard]] int GetPrivateProfileInt(const std::string& section, const std::string& key,
                                       int defaultValue, const std::string& file);

// Sets [section] key=value, creating the file, the section and the key when missing. Every
// other line is kept byte for byte; a replaced line keeps its own line end, new lines end in
// CR LF. The file is replaced whole or not at all (replaceFile in FileReplace.h).
// False, with the file untouched, when the file cannot be read or written (lastWriteFailure()
// then says why, unless the file could not be read), or when a name or
// the value would break the file's structure (line breaks or NUL anywhere, '=' in the key,
// ']' in the section, an empty or comment-like name).
[[nodiscard]] bool WritePrivateProfileString(const std::string& section, const std::string& key,
                                             const std::string& value, const std::string& file);

// True when path names an existing file (a directory does not count).
[[nodiscard]] bool FileExists(const std::string& path);

} // namespace quorvex::platform
