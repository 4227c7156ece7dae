// The five recent script files: choosing a path, shifting the list, the INI section "Files".
#include "script/RecentFiles.h"

#include "platform/IniFile.h"
#include "tests/support/TestDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace quorvex;
using script::RecentFileSlots;

namespace {

class RecentFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = test_support::freshTestDirectory("quorvex-recent");
        m_ini = (m_dir / "fpinit.ini").string();
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string iniText() const
    {
        std::ifstream in(m_ini, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::filesystem::path m_dir;
    std::string m_ini;
};

const std::vector<std::string> kFive = {"C:\\s\\1.txt", "C:\\s\\2.txt", "C:\\s\\3.txt",
                                        "C:\\s\\4.txt", "C:\\s\\5.txt"};

} // namespace

TEST_F(RecentFilesTest, AListedPathIsSelectedAndNothingMoves)
{
    const auto choice = script::chooseRecentFile(kFive, "C:\\s\\3.txt");

    EXPECT_TRUE(choice.alreadyListed);
    EXPECT_EQ(choice.selectedIndex, 2);
    EXPECT_EQ(choice.entries, kFive);
}

TEST_F(RecentFilesTest, ASixthPathDropsTheOldestAndGoesFirst)
{
    const auto choice = script::chooseRecentFile(kFive, "D:\\new.txt");

    EXPECT_FALSE(choice.alreadyListed);
    EXPECT_EQ(choice.selectedIndex, 0);
    const RecentFileSlots expected = {"D:\\new.txt", kFive[0], kFive[1], kFive[2], kFive[3]};
    EXPECT_EQ(choice.files, expected);
}

TEST_F(RecentFilesTest, PathsDifferingOnlyInCaseAreDifferentEntries)
{
    const auto choice = script::chooseRecentFile({"C:\\S\\A.TXT"}, "C:\\s\\a.txt");

    EXPECT_FALSE(choice.alreadyListed);
    EXPECT_EQ(choice.entries, (std::vector<std::string>{"C:\\s\\a.txt", "C:\\S\\A.TXT"}));
}

TEST_F(RecentFilesTest, AShortListGrowsWithoutEmptyEntries)
{
    const auto choice = script::chooseRecentFile({"a.txt"}, "b.txt");

    EXPECT_EQ(choice.entries, (std::vector<std::string>{"b.txt", "a.txt"}));
    EXPECT_EQ(choice.files[2], "");
}

TEST_F(RecentFilesTest, AllFiveKeysAreWrittenAndReadBack)
{
    const RecentFileSlots files = {"b.txt", "a.txt", "", "", ""};

    ASSERT_TRUE(script::writeRecentFiles(m_ini, files));

    EXPECT_EQ(script::readRecentFiles(m_ini), files);
    const std::string text = iniText();
    EXPECT_NE(text.find("[Files]"), std::string::npos);
    EXPECT_NE(text.find("File5="), std::string::npos);
}

TEST_F(RecentFilesTest, AMissingFileGivesEmptySlotsAndTheComboSkipsGaps)
{
    EXPECT_EQ(script::readRecentFiles(m_ini), RecentFileSlots{});

    ASSERT_TRUE(platform::WritePrivateProfileString("Files", "File2", "two.txt", m_ini));
    ASSERT_TRUE(platform::WritePrivateProfileString("Files", "File4", "four.txt", m_ini));
    EXPECT_EQ(script::listedRecentFiles(script::readRecentFiles(m_ini)),
              (std::vector<std::string>{"two.txt", "four.txt"}));
}

TEST_F(RecentFilesTest, ALongPathIsCutTo499BytesWhenReadBack)
{
    const std::string longPath = "C:\\" + std::string(600, 'x') + ".txt";

    ASSERT_TRUE(script::writeRecentFiles(m_ini, {longPath, "", "", "", ""}));

    EXPECT_EQ(script::readRecentFiles(m_ini)[0], longPath.substr(0, 499));
}
