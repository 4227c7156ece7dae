#include "platform/IniFile.h"
#include "platform/NativePath.h"
#include "platform/RuntimeDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace quorvex::platform;
namespace fs = std::filesystem;

namespace {

// Every case works in a directory with a Cyrillic name ("Настройки"), as a Windows user's
// profile directory may have.
class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dirText = pathText(fs::temp_directory_path()) + "\\quorvex-ini-Настройки-" +
                    std::to_string(currentProcessId()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name();
        m_dir = filePath(m_dirText);
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_file = in("fpinit.ini");
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string in(const std::string& name) const { return m_dirText + "\\" + name; }
    void writeFile(const std::string& bytes) const
    {
        std::ofstream(filePath(m_file), std::ios::binary) << bytes;
    }
    std::string readFile() const
    {
        std::ifstream in(filePath(m_file), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string get(const std::string& section, const std::string& key, int size = 300) const
    {
        return GetPrivateProfileString(section, key, "dflt", size, m_file);
    }

    std::string m_dirText;
    fs::path m_dir;
    std::string m_file;
};

} // namespace

TEST_F(IniFileTest, ReadsValuesMatchingNamesWithoutCaseAndBlanks)
{
    writeFile("; comment\r\n"
              "[Communication]\r\n"
              "  Port = com2  \r\n"
              "Speed=19200\r\n"
              "[ LogFile ]\n"
              "LogName=\"Brelox.log\"\n"
              "Quoted='a'b'\n"
              "Empty=\n"
              "NoEquals\n");

    EXPECT_EQ(get("communication", "PORT"), "com2");
    EXPECT_EQ(get(" COMMUNICATION ", " speed "), "19200");
    EXPECT_EQ(get("LogFile", "LogName"), "Brelox.log"); // one pair of quotes removed
    EXPECT_EQ(get("LogFile", "Quoted"), "a'b");
    EXPECT_EQ(get("LogFile", "Empty"), "");
    EXPECT_EQ(get("LogFile", "NoEquals"), "dflt");
    EXPECT_EQ(get("LogFile", "Port"), "dflt"); // keys belong to their own section
    EXPECT_EQ(get("Missing", "Port"), "dflt");
    EXPECT_EQ(GetPrivateProfileString("Communication", "Port", "x", 300, in("absent.ini")), "x");
}

TEST_F(IniFileTest, CutsValueAndDefaultToBufferSize)
{
    writeFile("[S]\r\nK=123456789\r\n");

    EXPECT_EQ(get("S", "K", 5), "1234");
    EXPECT_EQ(get("S", "K", 1), "");
    EXPECT_EQ(get("S", "K", 0), "");
    EXPECT_EQ(get("S", "K", 10), "123456789");
    EXPECT_EQ(GetPrivateProfileString("S", "none", "abcdef", 4, m_file), "abc");
    EXPECT_EQ(GetPrivateProfileString("S", "none", "ab   ", 300, m_file), "ab");
}

TEST_F(IniFileTest, FirstOfDuplicateSectionsAndKeysWins)
{
    writeFile("[A]\nk=1\nk=2\n[B]\nk=3\n[a]\nk=4\nj=5\n");

    EXPECT_EQ(get("A", "k"), "1");
    EXPECT_EQ(get("A", "j"), "dflt");
}

TEST_F(IniFileTest, ParsesLeadingIntegerOfValue)
{
    writeFile("[LogFile]\n"
              "a=1\n b = -42xyz\n c=+7\n d=abc\n e=\n f=  12 34\n g=4294967297\n h=\"5\"\n");

    EXPECT_EQ(GetPrivateProfileInt("LogFile", "a", 9, m_file), 1);
    EXPECT_EQ(GetPrivateProfileInt("LogFile", "b", 9, m_file), -42);
    EXPECT_EQ(GetPrivateProfileInt("LogFile", "c", 9, m_file), 7);
    EXPECT_EQ(GetPrivateProfileInt("LogFile", "d", 9, m_file), 0);
    EXPECT_EQ(GetPrivateProfileInt("LogFile", "e", 9, m_file), 9); // empty counts as missing
    EXPECT_EQ(GetPrivateProfileInt("LogFile", "f", 9, m_file), 12);
    EXPECT_EQ(GetPrivateProfileInt("LogFile", "g", 9, m_file), 1); // wraps at 32 bits
    EXPECT_EQ(GetPrivateProfileInt("LogFile", "h", 9, m_file), 5);
    EXPECT_EQ(GetPrivateProfileInt("LogFile", "missing", 9, m_file), 9);
    EXPECT_EQ(GetPrivateProfileInt("Nope", "a", -3, m_file), -3);
}

TEST_F(IniFileTest, WriteReplacesOnlyTheKeyLineKeepingEverythingElse)
{
    const std::string before = "; Настройки\r\n"
                               "[Communication]\r\n"
                               "  port = COM1 ; old\r\n"
                               "Speed=9600\n"
                               "\r\n"
                               "junk line without equals\r\n"
                               "[Files]\r\n"
                               "File1=C:\\a.txt";

    writeFile(before);
    ASSERT_TRUE(WritePrivateProfileString("COMMUNICATION", "Port", "COM3", m_file));
    ASSERT_TRUE(WritePrivateProfileString("Communication", "Speed", "115200", m_file));

    EXPECT_EQ(readFile(), "; Настройки\r\n"
                          "[Communication]\r\n"
                          "  port=COM3\r\n"
                          "Speed=115200\n"
                          "\r\n"
                          "junk line without equals\r\n"
                          "[Files]\r\n"
                          "File1=C:\\a.txt");
}

TEST_F(IniFileTest, WriteAddsKeyAtEndOfSectionAndNewSectionAtEndOfFile)
{
    writeFile("[A]\nx=1\n\n[B]\ny=2");

    ASSERT_TRUE(WritePrivateProfileString("a", "z", "3", m_file));
    ASSERT_TRUE(WritePrivateProfileString("B", "w", "4", m_file));
    ASSERT_TRUE(WritePrivateProfileString("SecondRegistrator", "Port", "COM2", m_file));

    EXPECT_EQ(readFile(), "[A]\nx=1\nz=3\r\n\n[B]\ny=2\r\nw=4\r\n"
                          "[SecondRegistrator]\r\nPort=COM2\r\n");
    EXPECT_EQ(get("a", "z"), "3");
    EXPECT_EQ(get("b", "w"), "4");
}

TEST_F(IniFileTest, WriteCreatesMissingFileAndStoresBytesUnchanged)
{
    const std::string value = "Файл \xFF\x98 ; = [x]";

    ASSERT_TRUE(WritePrivateProfileString("Files", "File1", value, m_file));

    EXPECT_EQ(readFile(), "[Files]\r\nFile1=" + value + "\r\n");
    EXPECT_EQ(get("files", "file1"), value);
}

TEST_F(IniFileTest, WriteLeavesNoTemporaryFileAndKeepsPermissions)
{
    // A read-only file is replaced on POSIX (the directory allows it) and refused on Windows;
    // either way nothing else is left behind.
    const fs::path file = m_dir / "fpinit.ini";
    for (const fs::perms perms :
         {fs::perms::owner_read | fs::perms::owner_write, fs::perms::owner_read}) {
        writeFile("[S]\nk=1\n");
        fs::permissions(file, perms);
        const fs::perms before = fs::status(file).permissions();

        const bool written = WritePrivateProfileString("S", "k", "2", m_file);

        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_dir))
            names.push_back(entry.path().filename().string());
        EXPECT_EQ(names, std::vector<std::string>{"fpinit.ini"});
        EXPECT_EQ(fs::status(file).permissions(), before);
        EXPECT_EQ(readFile(), written ? "[S]\nk=2\n" : "[S]\nk=1\n");
        fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
    }
}

TEST_F(IniFileTest, WriteRefusesInputThatWouldBreakTheFile)
{
    writeFile("[S]\r\nk=1\r\n");

    EXPECT_FALSE(WritePrivateProfileString("S", "k", "2\r\n[Evil]", m_file));
    EXPECT_FALSE(WritePrivateProfileString("S", "k", std::string("a\0b", 3), m_file));
    EXPECT_FALSE(WritePrivateProfileString("S", "a=b", "1", m_file));
    EXPECT_FALSE(WritePrivateProfileString("S", ";k", "1", m_file));
    EXPECT_FALSE(WritePrivateProfileString("S", " ", "1", m_file));
    EXPECT_FALSE(WritePrivateProfileString("S]x", "k", "1", m_file));
    EXPECT_FALSE(WritePrivateProfileString("", "k", "1", m_file));
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "1", in("no/such/dir.ini")));
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "1", m_dirText)); // a directory

    EXPECT_EQ(readFile(), "[S]\r\nk=1\r\n");
}

TEST_F(IniFileTest, WriteThroughSymbolicLinkUpdatesTheTarget)
{
    writeFile("[S]\nk=1\n");
    const fs::path link = m_dir / "link.ini";
    fs::create_symlink(m_dir / "fpinit.ini", link);

    ASSERT_TRUE(WritePrivateProfileString("S", "k", "2", in("link.ini")));

    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFile(), "[S]\nk=2\n");
}

TEST_F(IniFileTest, BackslashPathsAndFileExists)
{
    writeFile("[S]\nk=1\n");
    const std::string windowsStyle = m_dirText + "\\fpinit.ini";

    EXPECT_TRUE(FileExists(m_file));
    EXPECT_TRUE(FileExists(windowsStyle));
    EXPECT_EQ(get("S", "k"), "1");
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", 10, windowsStyle), "1");
    EXPECT_FALSE(FileExists(m_dirText));
    EXPECT_FALSE(FileExists(in("absent")));
    EXPECT_FALSE(FileExists(""));
}
