// Process ids and the per-user runtime directory.
#include "platform/RuntimeDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#ifndef _WIN32
#include "tests/support/ScopedRuntimeDirectory.h"

#include <cstdlib>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace quorvex::platform;
namespace fs = std::filesystem;

namespace {

TEST(RuntimeDirectory, ProcessIsRunningUntilItEnds)
{
    EXPECT_TRUE(processIsRunning(currentProcessId()));
    EXPECT_FALSE(processIsRunning(0));
    EXPECT_FALSE(processIsRunning(-1));
#ifndef _WIN32
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    EXPECT_FALSE(processIsRunning(child));
#endif
}

#ifdef _WIN32

TEST(RuntimeDirectory, NoneOnWindows)
{
    EXPECT_EQ(userRuntimeDirectory("quorvex-emu"), "");
    EXPECT_FALSE(isPrivateDirectory(fs::temp_directory_path().string(), true));
}

#else

TEST(RuntimeDirectory, XdgRuntimeDirWhenItExistsElseTmpWithTheUid)
{
    const quorvex::test_support::ScopedRuntimeDirectory runtime("quorvex-runtime-");

    EXPECT_EQ(userRuntimeDirectory("emu"), (runtime.path() / "emu").string());
    ::setenv("XDG_RUNTIME_DIR", (runtime.path() / "missing").c_str(), 1);
    EXPECT_EQ(userRuntimeDirectory("emu"), "/tmp/emu-" + std::to_string(::getuid()));
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(userRuntimeDirectory("emu"), "/tmp/emu-" + std::to_string(::getuid()));
}

TEST(RuntimeDirectory, PrivateDirectoryIsCreatedForTheUserAloneAndLinksAreRefused)
{
    const quorvex::test_support::ScopedRuntimeDirectory runtime("quorvex-private-");
    const fs::path made = runtime.path() / "made";
    const fs::path linked = runtime.path() / "linked";
    fs::create_directory_symlink(runtime.path(), linked);
    std::ofstream(runtime.path() / "file") << "";

    EXPECT_FALSE(isPrivateDirectory(made.string(), false));
    EXPECT_TRUE(isPrivateDirectory(made.string(), true));
    EXPECT_EQ(fs::status(made).permissions(), fs::perms::owner_all);
    EXPECT_TRUE(isPrivateDirectory(made.string(), false));
    EXPECT_FALSE(isPrivateDirectory(linked.string(), true));
    EXPECT_FALSE(isPrivateDirectory((runtime.path() / "file").string(), true));
    EXPECT_FALSE(isPrivateDirectory((runtime.path() / "no/such").string(), true));
}

#endif

} // namespace
