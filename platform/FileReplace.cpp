#include "platform/FileReplace.h"

#include "platform/NativePath.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <sstream>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace quorvex::platform {

namespace fs = std::filesystem;

namespace {

WriteFailure& lastFailure()
{
    static WriteFailure failure;
    return failure;
}

std::error_code lastErrno(std::errc fallback)
{
    return std::error_code(errno != 0 ? errno : static_cast<int>(fallback),
                           std::generic_category());
}

// The file a write must replace: the target of a symbolic link rather than the link itself.
fs::path replacementTarget(const fs::path& path)
{
    std::error_code error;
    if (fs::is_symlink(path, error)) {
        const fs::path target = fs::weakly_canonical(path, error);
        if (!error)
            return target;
    }
    return path;
}

fs::path temporarySibling(const fs::path& path)
{
    std::random_device random;
    const std::uint64_t tag = (std::uint64_t{random()} << 32) ^ random();
    std::ostringstream suffix;
    suffix << '.' << std::hex << tag << ".tmp";
    // Joined as paths, not texts: the name may hold characters a narrow text cannot carry.
    fs::path name(".");
    name += path.filename();
    name += suffix.str();
    return path.parent_path() / name;
}

// A new file; the name is random, and where the C library knows "x" an existing file is refused.
std::FILE* createExclusive(const fs::path& path)
{
#ifdef _WIN32
    // msvcrt.dll, which MinGW programs may use, predates the "x" mode.
    return _wfopen(path.c_str(), L"wb");
#else
    return std::fopen(path.c_str(), "wbx");
#endif
}

// Pushes the file's data from the system's cache to the disk.
bool flushToDisk(std::FILE* file)
{
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return ::fsync(::fileno(file)) == 0;
#endif
}

// Makes a rename in the folder survive a power cut. Windows has no handle on a folder for
// this; its rename (MoveFileEx with replace) is written through by the file system itself.
void flushFolder([[maybe_unused]] const fs::path& folder)
{
#ifndef _WIN32
    const int descriptor = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (descriptor >= 0) {
        (void)::fsync(descriptor);
        ::close(descriptor);
    }
#endif
}

// Writes the bytes into a new file and flushes them to the disk; the file is removed again when
// anything fails.
std::error_code writeNewFile(const fs::path& path, std::string_view bytes)
{
    errno = 0;
    std::FILE* file = createExclusive(path);
    if (file == nullptr)
        return lastErrno(std::errc::io_error);
    std::error_code error;
    const bool written =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (!written || std::fflush(file) != 0 || !flushToDisk(file))
        error = lastErrno(std::errc::io_error);
    if (std::fclose(file) != 0 && !error)
        error = lastErrno(std::errc::io_error);
    if (error) {
        std::error_code ignored;
        fs::remove(path, ignored);
    }
    return error;
}

std::error_code replaceTarget(const fs::path& target, std::string_view bytes)
{
    std::error_code error;
    if (fs::is_directory(target, error))
        return std::make_error_code(std::errc::is_a_directory);
    const fs::path temporary = temporarySibling(target);
    if ((error = writeNewFile(temporary, bytes)))
        return error;
    std::error_code ignored;
    if (fs::exists(target, ignored))
        fs::permissions(temporary, fs::status(target, ignored).permissions(), ignored);
    // POSIX rename replaces the old file in one step. On Windows std::filesystem::rename is
    // MoveFileEx with MOVEFILE_REPLACE_EXISTING, which replaces it too but refuses a read-only
    // target; the old file then stays.
    fs::rename(temporary, target, error);
    if (error) {
        // Windows deletes no read-only file, and the copied permissions may have made it one.
        fs::permissions(temporary, fs::perms::owner_write, fs::perm_options::add, ignored);
        fs::remove(temporary, ignored);
        return error;
    }
    flushFolder(target.parent_path());
    return {};
}

struct Reason {
    std::errc code;
    const char* english;
    const char* russian;
};

const std::array<Reason, 9> kReasons = {{
    {std::errc::no_space_on_device, "no space left on the device", "нет места на диске"},
    {std::errc::permission_denied, "permission denied", "нет прав на запись"},
    {std::errc::operation_not_permitted, "permission denied", "нет прав на запись"},
    {std::errc::read_only_file_system, "read-only file system",
     "файловая система только для чтения"},
    {std::errc::no_such_file_or_directory, "no such file or folder",
     "файл или папка не существует"},
    {std::errc::not_a_directory, "a part of the path is not a folder",
     "часть пути не является папкой"},
    {std::errc::is_a_directory, "it is a folder", "это папка"},
    {std::errc::file_too_large, "file too large", "файл слишком велик"},
    {std::errc::io_error, "input/output error", "ошибка ввода-вывода"},
}};

std::string reasonOf(std::error_code reason, bool russian)
{
    for (const Reason& known : kReasons) {
        if (reason == known.code)
            return russian ? known.russian : known.english;
    }
#ifdef EDQUOT
    if (reason.value() == EDQUOT && reason.category() == std::generic_category())
        return russian ? "превышена дисковая квота" : "disk quota exceeded";
#endif
    return (russian ? "системная ошибка " : "system error ") + std::to_string(reason.value());
}

} // namespace

std::error_code replaceFile(const std::string& path, std::string_view bytes)
{
    const std::error_code error = replaceTarget(replacementTarget(filePath(path)), bytes);
    if (error)
        lastFailure() = {path, error};
    return error;
}

std::error_code checkReplaceable(const std::string& path)
{
    const fs::path target = replacementTarget(filePath(path));
    std::error_code error;
    if (fs::is_directory(target, error))
        return std::make_error_code(std::errc::is_a_directory);
    const fs::path probe = temporarySibling(target);
    if ((error = writeNewFile(probe, {})))
        return error;
    fs::remove(probe, error);
    return {};
}

const WriteFailure& lastWriteFailure()
{
    return lastFailure();
}

std::string reasonText(std::error_code reason)
{
    return reasonOf(reason, false);
}

std::string reasonTextForWindow(std::error_code reason)
{
    return reasonOf(reason, true);
}

} // namespace quorvex::platform
