#pragma once
// Files replaced whole or not at all. The new contents go to a temporary file in the same folder,
// are flushed to the disk and renamed over the old file, so a full disk, a killed process or a
// power cut leaves either the old file or the new one, never a cut one. Every writer of a whole
// file (settings, reports, parameter files) goes through here.
#include <string>
#include <string_view>
#include <system_error>

namespace quorvex::platform {

// Replaces the file a path text names (see NativePath.h) by `bytes`, creating it when missing.
// An existing file keeps its permissions; through a symbolic link the link's target is
// replaced. On failure the old file is as it was, no temporary file is left, the error says
// why, and lastWriteFailure() names the file.
[[nodiscard]] std::error_code replaceFile(const std::string& path, std::string_view bytes);

// No error when the file could be replaced now: its folder exists and takes new files, and
// `path` is not a folder. Checked by creating and removing a temporary file beside it.
[[nodiscard]] std::error_code checkReplaceable(const std::string& path);

struct WriteFailure {
    std::string path; // the path text of the file that was not written
    std::error_code reason;
};
// The last failure of replaceFile in this process, as GetLastError keeps it on Windows, for
// callers whose interface only says whether a write worked.
[[nodiscard]] const WriteFailure& lastWriteFailure();

// Why a write failed, for standard error (English) and for windows (Russian, Windows-1251).
// Never depends on the process locale.
[[nodiscard]] std::string reasonText(std::error_code reason);
[[nodiscard]] std::string reasonTextForWindow(std::error_code reason);

} // namespace quorvex::platform
