#include "platform/RuntimeDirectory.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <cerrno>
#include <cstdlib>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quorvex::platform {

#ifdef _WIN32

long currentProcessId()
{
    return static_cast<long>(GetCurrentProcessId());
}

bool processIsRunning(long pid)
{
    if (pid <= 0)
        return false;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (process == nullptr)
        return GetLastError() == ERROR_ACCESS_DENIED; // it runs, under someone else
    DWORD exitCode = 0;
    const bool running = GetExitCodeProcess(process, &exitCode) && exitCode == STILL_ACTIVE;
    CloseHandle(process);
    return running;
}

std::string userRuntimeDirectory(const std::string&)
{
    return {};
}

bool isPrivateDirectory(const std::string&, bool)
{
    return false;
}

#else

long currentProcessId()
{
    return static_cast<long>(::getpid());
}

bool processIsRunning(long pid)
{
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH);
}

std::string userRuntimeDirectory(const std::string& name)
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat info {};
    if (runtime && *runtime && ::stat(runtime, &info) == 0 && S_ISDIR(info.st_mode))
        return std::string(runtime) + "/" + name;
    return "/tmp/" + name + "-" + std::to_string(::getuid());
}

bool isPrivateDirectory(const std::string& path, bool create)
{
    if (create && ::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid();
}

#endif

} // namespace quorvex::platform
