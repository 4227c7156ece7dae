// Path texts (Windows-1251 bytes, '\' or '/' separators) to and from the file system.
#include "platform/NativePath.h"
#include "platform/RuntimeDirectory.h"
#include "tests/support/TestDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace quorvex::platform;
namespace fs = std::filesystem;

namespace {

// "Отчёт" as Windows-1251 bytes and as the characters they stand for.
const std::string kReportText = "\xCE\xF2\xF7\xB8\xF2";
const fs::path::string_type kReportNative =
#ifdef _WIN32
    L"\u041E\u0442\u0447\u0451\u0442";
#else
    kReportText; // names stay bytes
#endif

TEST(NativePath, BothSlashesSeparateAndBytesNameTheirCharacters)
{
    struct Case {
        std::string text;
        fs::path::string_type parent;
        fs::path::string_type file;
    };
    const Case cases[] = {
        {"dir\\sub/fpinit.ini", fs::path("sub").native(), fs::path("fpinit.ini").native()},
        {"C:\\" + kReportText + "\\" + kReportText + ".rtf", kReportNative,
         kReportNative + fs::path(".rtf").native()},
        {kReportText + "/a.txt", kReportNative, fs::path("a.txt").native()},
    };
    for (const Case& c : cases) {
        const fs::path path = filePath(c.text);

        EXPECT_EQ(path.parent_path().filename().native(), c.parent) << c.text;
        EXPECT_EQ(path.filename().native(), c.file) << c.text;
    }
    EXPECT_EQ(pathText(fs::path(kReportNative)), kReportText);
#ifdef _WIN32
    EXPECT_EQ(pathText(fs::path(L"a\u4E2Db")), "a?b"); // not in Windows-1251
#endif
}

class NativePathFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = fs::canonical(quorvex::test_support::freshTestDirectory("quorvex-path"));
        m_rootText = pathText(m_root);
    }
    void TearDown() override
    {
        fs::current_path(m_old);
        fs::remove_all(m_root);
    }

    fs::path m_old = fs::current_path();
    fs::path m_root;
    std::string m_rootText;
};

TEST_F(NativePathFiles, OpenedFileBearsTheNameTheTextSpells)
{
    const std::string name = m_rootText + "\\" + kReportText + ".txt";

    std::FILE* out = openFile(name, "wb");
    ASSERT_NE(out, nullptr);
    std::fputs("bytes", out);
    std::fclose(out);

    const fs::directory_entry entry = *fs::directory_iterator(m_root);
    EXPECT_EQ(entry.path().filename().native(), kReportNative + fs::path(".txt").native());
    std::FILE* in = openFile(name, "rb");
    ASSERT_NE(in, nullptr);
    char read[8] = {};
    EXPECT_EQ(std::fread(read, 1, sizeof read, in), 5u);
    std::fclose(in);
    EXPECT_EQ(openFile(m_rootText + "/absent.txt", "rb"), nullptr);
}

TEST_F(NativePathFiles, CurrentDirectoryIsItsText)
{
    const fs::path directory = m_root / kReportNative;
    fs::create_directory(directory);

    fs::current_path(directory);

    EXPECT_EQ(currentDirectory(),
              m_rootText + pathText(fs::path("/").make_preferred()) + kReportText);
}

} // namespace
