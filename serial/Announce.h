#pragma once
// Stand-alone emulator processes announce the pseudo-terminal they serve, so the port listing
// of any Quorvex instance of the same user can offer it. One file per emulator process, named
// after its pid, holding the device path and a newline.
#include <string>
#include <vector>

namespace quorvex::serial {

// The user's runtime directory "quorvex-emu" (platform/RuntimeDirectory.h). Empty on Windows,
// where nothing is announced and nothing is listed.
[[nodiscard]] std::string announcementDirectory();

// Announces devicePath for the calling process (replacing an earlier announcement of it).
// False when the directory cannot be created, belongs to another user, or the file cannot be
// written; the file appears complete or not at all.
bool announceEmulator(const std::string& devicePath);

// Removes the calling process's announcement, if any.
void withdrawAnnouncement();

// The device paths of the announcing processes still alive whose devices still exist, sorted
// and without duplicates. Announcements of dead processes or vanished devices are deleted.
[[nodiscard]] std::vector<std::string> announcedEmulators();

} // namespace quorvex::serial
