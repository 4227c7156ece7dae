#pragma once
// The program builds file paths the Windows way ("dir\fpinit.ini"). On other systems the
// backslash becomes the directory separator before the path reaches the file system.
#include <string>

namespace quorvex::platform {

// path with every '\' replaced by the native separator (unchanged on Windows).
[[nodiscard]] std::string nativePath(const std::string& path);

} // namespace quorvex::platform
