// A file is replaced whole or not at all: a write that fails halfway leaves the old file and no
// temporary file, and the failure names the file and the reason.
#include "platform/FileReplace.h"
#include "platform/NativePath.h"
#include "platform/RuntimeDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

using namespace quorvex::platform;
namespace fs = std::filesystem;

namespace {

class FileReplaceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() /
                ("quorvex-replace-" + std::to_string(currentProcessId()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_file = pathText(m_dir / "report.rtf");
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string contents() const
    {
        std::ifstream in(filePath(m_file), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::vector<std::string> names() const
    {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(m_dir))
            found.push_back(entry.path().filename().string());
        return found;
    }

    fs::path m_dir;
    std::string m_file;
};

TEST_F(FileReplaceTest, ReplacesTheWholeFileAndRefusesWhatCannotBeWritten)
{
    ASSERT_FALSE(replaceFile(m_file, "old"));
    ASSERT_FALSE(replaceFile(m_file, "new contents"));
    EXPECT_EQ(contents(), "new contents");
    EXPECT_EQ(names(), std::vector<std::string>{"report.rtf"});

    const std::string missing = pathText(m_dir / "no" / "r.rtf");
    EXPECT_EQ(replaceFile(missing, "x"), std::errc::no_such_file_or_directory);
    EXPECT_EQ(lastWriteFailure().path, missing);
    EXPECT_EQ(replaceFile(pathText(m_dir), "x"), std::errc::is_a_directory);
    EXPECT_EQ(checkReplaceable(pathText(m_dir)), std::errc::is_a_directory);
    EXPECT_EQ(checkReplaceable(missing), std::errc::no_such_file_or_directory);
    EXPECT_FALSE(checkReplaceable(m_file));
    EXPECT_EQ(names(), std::vector<std::string>{"report.rtf"});
}

#ifndef _WIN32
// The process may write at most 4 KB into any file: the new contents stop halfway, as on a
// full disk.
TEST_F(FileReplaceTest, AWriteThatFailsHalfwayLeavesTheOldFile)
{
    ASSERT_FALSE(replaceFile(m_file, "the good old report"));
    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    rlimit limited = before;
    limited.rlim_cur = 4096;
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);

    const std::error_code error = replaceFile(m_file, std::string(64 * 1024, 'x'));

    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(error, std::errc::file_too_large);
    EXPECT_EQ(reasonText(error), "file too large");
    EXPECT_EQ(reasonTextForWindow(error), "файл слишком велик");
    EXPECT_EQ(lastWriteFailure().path, m_file);
    EXPECT_EQ(contents(), "the good old report");
    EXPECT_EQ(names(), std::vector<std::string>{"report.rtf"});
}
#endif

} // namespace
