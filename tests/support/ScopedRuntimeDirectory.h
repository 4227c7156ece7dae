#pragma once
// XDG_RUNTIME_DIR pointed at a fresh private directory while the object lives; afterwards the
// old value (or its absence) is restored and the directory removed. POSIX only: Windows has no
// runtime directory (platform/RuntimeDirectory.h).
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include <unistd.h>

namespace quorvex::test_support {

class ScopedRuntimeDirectory {
public:
    // The directory is <temp>/<prefix><process id>.
    explicit ScopedRuntimeDirectory(const std::string& prefix)
        : m_path(std::filesystem::temp_directory_path() / (prefix + std::to_string(::getpid())))
    {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR"))
            m_old = old;
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
        ::setenv("XDG_RUNTIME_DIR", m_path.c_str(), 1);
    }

    ~ScopedRuntimeDirectory()
    {
        if (m_old)
            ::setenv("XDG_RUNTIME_DIR", m_old->c_str(), 1);
        else
            ::unsetenv("XDG_RUNTIME_DIR");
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

    ScopedRuntimeDirectory(const ScopedRuntimeDirectory&) = delete;
    ScopedRuntimeDirectory& operator=(const ScopedRuntimeDirectory&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
    std::optional<std::string> m_old;
};

} // namespace quorvex::test_support
