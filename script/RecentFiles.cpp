#include "script/RecentFiles.h"

#include "platform/IniFile.h"

#include <algorithm>

namespace quorvex::script {

namespace {

const char* const kSection = "Files";

std::string slotKey(int index)
{
    return "File" + std::to_string(index + 1);
}

} // namespace

RecentFileSlots readRecentFiles(const std::string& iniPath)
{
    RecentFileSlots files;
    for (int i = 0; i < kRecentFileCount; ++i)
        files[i] = platform::GetPrivateProfileString(kSection, slotKey(i), "",
                                                     kRecentFileBufferSize, iniPath);
    return files;
}

bool writeRecentFiles(const std::string& iniPath, const RecentFileSlots& files)
{
    bool written = true;
    for (int i = 0; i < kRecentFileCount; ++i)
        written =
            platform::WritePrivateProfileString(kSection, slotKey(i), files[i], iniPath) && written;
    return written;
}

std::vector<std::string> listedRecentFiles(const RecentFileSlots& files)
{
    std::vector<std::string> listed;
    std::copy_if(files.begin(), files.end(), std::back_inserter(listed),
                 [](const std::string& slot) { return !slot.empty(); });
    return listed;
}

RecentFileChoice chooseRecentFile(const std::vector<std::string>& comboEntries,
                                  const std::string& path)
{
    RecentFileChoice choice;
    for (std::size_t i = 0; i < comboEntries.size() && i < kRecentFileCount; ++i)
        choice.files[i] = comboEntries[i];

    const auto match = std::find(choice.files.begin(), choice.files.end(), path);
    if (match != choice.files.end() && !path.empty()) {
        choice.alreadyListed = true;
        choice.entries = listedRecentFiles(choice.files);
        choice.selectedIndex = static_cast<int>(
            std::find(choice.entries.begin(), choice.entries.end(), path) - choice.entries.begin());
        return choice;
    }

    std::rotate(choice.files.rbegin(), choice.files.rbegin() + 1, choice.files.rend());
    choice.files[0] = path;
    choice.entries = listedRecentFiles(choice.files);
    choice.selectedIndex = 0;
    return choice;
}

} // namespace quorvex::script
