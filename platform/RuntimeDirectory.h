#pragma once
// Process ids and the per-user directory where this user's running programs leave files for
// each other (quorvex-emu announces its pseudo-terminal there).
#include <string>

namespace quorvex::platform {

[[nodiscard]] long currentProcessId();

// True while a process with this id runs; false once it has ended, and for ids of 0 or less.
[[nodiscard]] bool processIsRunning(long pid);

// $XDG_RUNTIME_DIR/<name> when XDG_RUNTIME_DIR names an existing directory, otherwise
// /tmp/<name>-<uid>. Empty on Windows: the directory serves only to find emulators on
// pseudo-terminals, which Windows lacks (a com0com pair shows up there as ordinary COM ports).
[[nodiscard]] std::string userRuntimeDirectory(const std::string& name);

// True when path is a real directory (not a symbolic link) owned by this user, so nobody else
// can plant or read files in it. With create, a missing directory is made first, open to this
// user only. Always false on Windows (see userRuntimeDirectory).
[[nodiscard]] bool isPrivateDirectory(const std::string& path, bool create);

} // namespace quorvex::platform
