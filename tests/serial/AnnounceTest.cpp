#include "serial/Announce.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace quorvex::serial;
namespace fs = std::filesystem;

#ifdef _WIN32

TEST(AnnounceTest, NothingIsAnnouncedOrListedOnWindows)
{
    EXPECT_EQ(announcementDirectory(), "");
    EXPECT_FALSE(announceEmulator("COM5"));
    EXPECT_TRUE(announcedEmulators().empty());
}

#else

#include "tests/support/ScopedRuntimeDirectory.h"

#include <sys/wait.h>
#include <unistd.h>

namespace {

// Points XDG_RUNTIME_DIR at a fresh directory for the test and restores it afterwards.
class AnnounceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_device = m_runtime / "fake-pts";
        std::ofstream(m_device) << "";
    }

    void plant(const std::string& name, const std::string& content) const
    {
        std::ofstream(fs::path(announcementDirectory()) / name) << content;
    }

    static pid_t deadPid()
    {
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(0);
        ::waitpid(child, nullptr, 0);
        return child;
    }

    quorvex::test_support::ScopedRuntimeDirectory m_runtimeScope{"quorvex-announce-"};
    const fs::path m_runtime = m_runtimeScope.path();
    fs::path m_device;
};

} // namespace

TEST_F(AnnounceTest, AnnouncementIsAFileNamedAfterThePidAndIsWithdrawn)
{
    EXPECT_EQ(announcementDirectory(), (m_runtime / "quorvex-emu").string());

    ASSERT_TRUE(announceEmulator(m_device.string()));

    const fs::path file = fs::path(announcementDirectory()) / std::to_string(::getpid());
    std::ifstream in(file);
    std::stringstream content;
    content << in.rdbuf();
    EXPECT_EQ(content.str(), m_device.string() + "\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(announcementDirectory()), {}), 1);
    EXPECT_EQ(announcedEmulators(), std::vector<std::string>{m_device.string()});

    withdrawAnnouncement();

    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(announcedEmulators().empty());
}

TEST_F(AnnounceTest, ListingDropsDeadProcessesAndVanishedDevicesAndSorts)
{
    ASSERT_TRUE(announceEmulator(m_device.string()));
    const fs::path other = m_runtime / "another-pts";
    std::ofstream(other) << "";
    plant(std::to_string(::getppid()), other.string() + "\n"); // a live process
    plant(std::to_string(deadPid()), m_device.string() + "\n");
    plant("1", (m_runtime / "gone").string() + "\n");
    plant("0", other.string() + "\n");
    plant("notes.txt", "ignored\n");

    const auto listed = announcedEmulators();

    EXPECT_EQ(listed, (std::vector<std::string>{other.string(), m_device.string()}));
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(announcementDirectory()))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    auto expected = std::vector<std::string>{std::to_string(::getpid()),
                                             std::to_string(::getppid()), "notes.txt"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(left, expected);
}

TEST_F(AnnounceTest, RefusesBadPathsAndALinkInPlaceOfTheDirectory)
{
    EXPECT_FALSE(announceEmulator(""));
    EXPECT_FALSE(announceEmulator("/dev/pts/1\n/etc/passwd"));

    fs::create_directory(m_runtime / "elsewhere");
    fs::create_directory_symlink(m_runtime / "elsewhere", announcementDirectory());
    EXPECT_FALSE(announceEmulator(m_device.string()));
    EXPECT_TRUE(announcedEmulators().empty());
}

#endif
