// The eight-line network-parameter file.
#include "netcfg/ParameterFile.h"
#include "platform/RuntimeDirectory.h"
#include "tests/support/TestDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace quorvex::netcfg {
namespace {

const NetworkMembers kShown{
    true, {"192.168.1.10", "255.255.255.0", "192.168.1.1", "10.0.0.5", "8080", "5000", "x"}};

class ParameterFileTest : public ::testing::Test {
protected:
    void SetUp() override { m_dir = test_support::freshTestDirectory("quorvex-netcfg"); }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::filesystem::path m_dir;
};

TEST_F(ParameterFileTest, EightLinesEndingInCrLfAsTheBoxesStand)
{
    const std::string path = (m_dir / "net.txt").string();

    ASSERT_FALSE(writeParameterFile(path, kShown));

    std::ifstream file(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(bytes, "1\r\n192.168.1.10\r\n255.255.255.0\r\n192.168.1.1\r\n10.0.0.5\r\n"
                     "8080\r\n5000\r\nx\r\n");
    EXPECT_EQ(readParameterFile(path), kShown);
}

TEST_F(ParameterFileTest, UnopenableFilesAreReported)
{
    EXPECT_EQ(writeParameterFile((m_dir / "missing" / "net.txt").string(), kShown),
              std::errc::no_such_file_or_directory);
    EXPECT_EQ(readParameterFile((m_dir / "absent.txt").string()), std::nullopt);
    EXPECT_EQ(readParameterFile(m_dir.string()), std::nullopt);
}

TEST(ParameterFileText, LinesAreReadAsThroughAThirtyByteBuffer)
{
    const std::string longLine = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const struct {
        const char* what;
        std::string bytes;
        NetworkMembers members;
    } cases[] = {
        {"short file: later boxes repeat the last line",
         "0\r\n1.2.3.4\r\n5.6.7.8\r\n",
         {false, {"1.2.3.4", "5.6.7.8", "5.6.7.8", "5.6.7.8", "5.6.7.8", "5.6.7.8", "5.6.7.8"}}},
        {"long line: 29 characters, the rest is the next line",
         "1\n" + longLine + "\n2\n3\n4\n5\n6\n7\n",
         {true, {longLine.substr(0, 29), longLine.substr(29), "2", "3", "4", "5", "6"}}},
        {"DHCP off only for a leading 0",
         "01\na\nb\nc\nd\ne\nf\ng",
         {false, {"a", "b", "c", "d", "e", "f", "g"}}},
        {"DHCP on for anything else", "x\r\na\r\n", {true, {"a", "a", "a", "a", "a", "a", "a"}}},
        {"empty file", "", {true, {}}},
        {"only one control character is dropped",
         "1\na\t\n\n",
         {true, {"a\t", "", "", "", "", "", ""}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseParameterFile(c.bytes), c.members) << c.what;
}

} // namespace
} // namespace quorvex::netcfg
