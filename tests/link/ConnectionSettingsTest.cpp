// The connection part of fpinit.ini: the log switch, both registrars' port and speed, and how an
// answer is taken to end.
#include "link/ConnectionSettings.h"
#include "tests/support/TestDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace quorvex::link {
namespace {

namespace fs = std::filesystem;

class ConnectionSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { m_dir = test_support::freshTestDirectory("quorvex-settings"); }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string write(const std::string& content) const
    {
        std::ofstream(path(), std::ios::binary) << content;
        return path();
    }
    std::string path() const { return (m_dir / "fpinit.ini").string(); }

    fs::path m_dir;
};

TEST_F(ConnectionSettingsTest, LogNameIsReadOnlyWhenLogIsOn)
{
    EXPECT_FALSE(readLogName(write("[LogFile]\r\nLogName=x.log\r\n")).has_value());
    EXPECT_EQ(readLogName(write("[LogFile]\r\nLog=1\r\n")).value_or("<off>"), "Brelox.log");
    EXPECT_EQ(readLogName(write("[LogFile]\r\nLog=-1\r\nLogName=" + std::string(400, 'n') + "\r\n"))
                  .value_or("<off>"),
              std::string(300, 'n'));
}

TEST_F(ConnectionSettingsTest, EachRegistrarHasItsOwnSection)
{
    const std::string ini = write("[Communication]\r\nPort=COM1\r\nSpeed=9600\r\n"
                                  "[SecondRegistrator]\r\nPort=/dev/ttyUSB12\r\n"
                                  "Speed=1152000000\r\n");

    const RegistrarChoice first = readRegistrarChoice(ini, Registrar::First);
    const RegistrarChoice second = readRegistrarChoice(ini, Registrar::Second);

    EXPECT_EQ(first.port, "COM1");
    EXPECT_EQ(first.speed, "9600");
    EXPECT_EQ(second.port, "/dev/ttyUSB12"); // longer than 9: a device path stays whole
    EXPECT_EQ(second.speed, "115200000");    // at most 9 bytes
}

TEST_F(ConnectionSettingsTest, WrittenChoiceIsReadBackFromItsSection)
{
    const std::string ini = write("");

    ASSERT_TRUE(writeRegistrarChoice(ini, Registrar::Second, {"EMU2", "57600"}));
    ASSERT_TRUE(writeRegistrarChoice(ini, Registrar::First, {"EMU1", "19200"}));

    EXPECT_EQ(readRegistrarChoice(ini, Registrar::Second).port, "EMU2");
    EXPECT_EQ(readRegistrarChoice(ini, Registrar::Second).speed, "57600");
    EXPECT_EQ(readRegistrarChoice(ini, Registrar::First).port, "EMU1");
    EXPECT_FALSE(writeRegistrarChoice((m_dir / "no" / "fpinit.ini").string(), Registrar::First,
                                      {"EMU1", "19200"}));
}

TEST_F(ConnectionSettingsTest, AnswerEndIsEtxOnlyWhenTheKeySaysSo)
{
    const struct {
        const char* ini;
        AnswerEnd expected;
    } rows[] = {
        {"[Communication]\r\nAnswerEnd=etx\r\n", AnswerEnd::Etx},
        {"", AnswerEnd::Quiet},
        {"[Communication]\r\nAnswerEnd=ETX\r\n", AnswerEnd::Etx},
        {"[Communication]\r\nAnswerEnd=\r\n", AnswerEnd::Quiet},
        {"[Communication]\r\nAnswerEnd= Etx \r\n", AnswerEnd::Etx},
        {"[Communication]\r\nAnswerEnd=etx2\r\n", AnswerEnd::Quiet},
        {"[Communication]\r\nAnswerEnd=Quiet\r\n", AnswerEnd::Quiet},
        {"[SecondRegistrator]\r\nAnswerEnd=etx\r\n", AnswerEnd::Quiet},
    };
    for (const auto& row : rows)
        EXPECT_EQ(readAnswerEnd(write(row.ini)), row.expected) << row.ini;
}

TEST_F(ConnectionSettingsTest, BusyLimitIsTheKeysSecondsOrTheDefault)
{
    const struct {
        const char* ini;
        int expected;
    } rows[] = {
        {"", kDefaultBusyLimitSeconds},
        {"[Communication]\r\nBusyLimit=30\r\n", 30},
        {"[Communication]\r\nBusyLimit=0\r\n", kDefaultBusyLimitSeconds},
        {"[Communication]\r\nBusyLimit=-5\r\n", kDefaultBusyLimitSeconds},
        {"[Communication]\r\nBusyLimit=lang\r\n", kDefaultBusyLimitSeconds},
    };
    for (const auto& row : rows)
        EXPECT_EQ(readBusyLimit(write(row.ini)), row.expected) << row.ini;
}

} // namespace
} // namespace quorvex::link
