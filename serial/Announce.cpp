#include "serial/Announce.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvex::serial {

namespace fs = std::filesystem;

namespace {

bool isDirectory(const char* path)
{
    struct stat info {};
    return ::stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

// The directory exists (created when missing), is a real directory and belongs to this user,
// so nobody else can plant or read announcements in it.
bool ensurePrivateDirectory(const std::string& path)
{
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid();
}

bool isPidName(const std::string& name)
{
    return !name.empty() && name.size() < 10 &&
           std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool processIsGone(pid_t pid)
{
    return pid <= 0 || (::kill(pid, 0) != 0 && errno == ESRCH);
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
    return announcementDirectory() + "/" + std::to_string(::getpid());
}

} // namespace

std::string announcementDirectory()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime && isDirectory(runtime))
        return std::string(runtime) + "/quorvex-emu";
    return "/tmp/quorvex-emu-" + std::to_string(::getuid());
}

bool announceEmulator(const std::string& devicePath)
{
    if (devicePath.empty() || devicePath.find('\n') != std::string::npos)
        return false;
    const std::string directory = announcementDirectory();
    if (!ensurePrivateDirectory(directory))
        return false;
    const std::string target = ownAnnouncementFile();
    const std::string temporary = directory + "/." + std::to_string(::getpid()) + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << devicePath << '\n';
        out.close();
        if (!out) {
            ::unlink(temporary.c_str());
            return false;
        }
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

void withdrawAnnouncement()
{
    ::unlink(ownAnnouncementFile().c_str());
}

std::vector<std::string> announcedEmulators()
{
    std::vector<std::string> paths;
    const std::string directory = announcementDirectory();
    struct stat info {};
    if (::lstat(directory.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::getuid())
        return paths;

    std::error_code error;
    for (const auto& entry : fs::directory_iterator(directory, error)) {
        const std::string name = entry.path().filename().string();
        if (!isPidName(name))
            continue;
        const auto device = announcedPath(entry.path());
        std::error_code ignored;
        if (processIsGone(static_cast<pid_t>(std::stol(name))) || !device ||
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
