#pragma once
// Paths are texts in the program's encoding (Windows-1251 bytes), built the Windows way
// ("dir\fpinit.ini"). These functions carry them to and from the file system: '\' and '/' both
// separate directories everywhere, and on Windows the bytes are read as Windows-1251 whatever
// the system's code page, so Cyrillic names work on any Windows.
#include <cstdio>
#include <filesystem>
#include <string>

namespace quorvex::platform {

// The file-system path a path text names.
[[nodiscard]] std::filesystem::path filePath(const std::string& text);

// The text of a file-system path; on Windows, characters Windows-1251 lacks become '?'.
[[nodiscard]] std::string pathText(const std::filesystem::path& path);

// The process's current directory as a path text; empty when it cannot be read.
[[nodiscard]] std::string currentDirectory();

// std::fopen of the file a path text names: nullptr when it cannot be opened.
[[nodiscard]] std::FILE* openFile(const std::string& text, const char* mode);

} // namespace quorvex::platform
