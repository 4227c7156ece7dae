#include "serial/Announce.h"

#include "platform/RuntimeDirectory.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>

namespace quorvex::serial {

namespace fs = std::filesystem;

namespace {

bool isPidName(const std::string& name)
{
    return !name.empty() && name.size() < 10 &&
           std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<std::string> announcedPath(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line) || line.empty())
        return std::nullopt;
    return line;
}

std::string ownAnnouncementFile()
{
    return announcementDirectory() + "/" + std::to_string(platform::currentProcessId());
}

} // namespace

std::string announcementDirectory()
{
    return platform::userRuntimeDirectory("quorvex-emu");
}

bool announceEmulator(const std::string& devicePath)
{
    if (devicePath.empty() || devicePath.find('\n') != std::string::npos)
        return false;
    const std::string directory = announcementDirectory();
    if (directory.empty() || !platform::isPrivateDirectory(directory, true))
        return false;
    const fs::path target = ownAnnouncementFile();
    const fs::path temporary =
        directory + "/." + std::to_string(platform::currentProcessId()) + ".tmp";
    std::error_code error;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << devicePath << '\n';
        out.close();
        if (!out) {
            fs::remove(temporary, error);
            return false;
        }
    }
    fs::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

void withdrawAnnouncement()
{
    if (announcementDirectory().empty())
        return;
    std::error_code ignored;
    fs::remove(ownAnnouncementFile(), ignored);
}

std::vector<std::string> announcedEmulators()
{
    std::vector<std::string> paths;
    const std::string directory = announcementDirectory();
    if (directory.empty() || !platform::isPrivateDirectory(directory, false))
        return paths;

    std::error_code error;
    for (const auto& entry : fs::directory_iterator(directory, error)) {
        const std::string name = entry.path().filename().string();
        if (!isPidName(name))
            continue;
        const auto device = announcedPath(entry.path());
        std::error_code ignored;
        if (!platform::processIsRunning(std::stol(name)) || !device ||
            !fs::exists(*device, ignored)) {
            fs::remove(entry.path(), ignored);
            continue;
        }
        paths.push_back(*device);
    }
    std::sort(paths.begin(), paths.end());
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
    return paths;
}

} // namespace quorvex::serial
