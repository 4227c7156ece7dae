#pragma once
// The five most recent script files, kept in section "Files" of the settings INI file under
// "File1" ... "File5", most recent first. Texts are Windows-1251 bytes.
#include <array>
#include <string>
#include <vector>

namespace quorvex::script {

constexpr int kRecentFileCount = 5;
// Slots are read through 500-byte buffers: a longer path comes back cut to 499 bytes.
constexpr int kRecentFileBufferSize = 500;

using RecentFileSlots = std::array<std::string, kRecentFileCount>;

// File1 ... File5 of section "Files"; a missing file or key gives an empty slot.
[[nodiscard]] RecentFileSlots readRecentFiles(const std::string& iniPath);
// Writes all five keys, empty ones included. False when the INI file could not be written.
bool writeRecentFiles(const std::string& iniPath, const RecentFileSlots& files);

// What the combo box shows: the non-empty files in slot order.
[[nodiscard]] std::vector<std::string> listedRecentFiles(const RecentFileSlots& files);

// Outcome of choosing a script with "Открыть файл", given the combo box's entries.
struct RecentFileChoice {
    bool alreadyListed = false;       // exact byte-for-byte match: nothing is rewritten
    RecentFileSlots files;            // new slot contents to write (only when !alreadyListed)
    std::vector<std::string> entries; // the combo box's entries afterwards
    int selectedIndex = 0;            // the entry to select
};

// Exact match selects the listed entry. Otherwise the chosen path goes first, the old entries
// 1..4 follow (missing entries read as empty) and the fifth is dropped; entry 0 is selected.
[[nodiscard]] RecentFileChoice chooseRecentFile(const std::vector<std::string>& comboEntries,
                                                const std::string& path);

} // namespace quorvex::script
