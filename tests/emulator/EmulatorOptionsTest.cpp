// Command-line options of the stand-alone emulator.
#include "emulator/EmulatorOptions.h"

#include <gtest/gtest.h>

namespace quorvex::emulator {
namespace {

TEST(EmulatorOptions, EveryFaultIdentityAndOverrideIsTakenOver)
{
    const ParsedOptions parsed = parseEmulatorOptions(
        {"--nak",       "--bad-checksum", "--silent",    "--working",      "7000",     "--garbage",
         "ab\\x01\\\\", "--status",       "2=0x01",      "--status",       "S2=0x20",  "--status",
         "0=1",         "--version",      "3.10",        "--factory",      "QV000002", "--answer",
         "4a=1,2",      "--answer",       "0x5A=Привет", "--show-receipts"});
    Registrar registrar;

    applyOptions(parsed.options, registrar);

    ASSERT_EQ(parsed.error, "");
    EXPECT_FALSE(parsed.options.help);
    EXPECT_TRUE(parsed.options.showReceipts);
    EXPECT_TRUE(registrar.faults().answerNak);
    EXPECT_TRUE(registrar.faults().corruptChecksum);
    EXPECT_TRUE(registrar.faults().silent);
    EXPECT_EQ(registrar.faults().workingMs, 7000);
    EXPECT_EQ(registrar.faults().garbageBefore, std::string("ab\x01\\"));
    EXPECT_EQ(registrar.faults().statusBits, (std::array<std::uint8_t, 6>{0x01, 0, 0x21, 0, 0, 0}));
    EXPECT_EQ(registrar.identity().softwareVersion, "3.10");
    EXPECT_EQ(registrar.identity().factoryNumber, "QV000002");
    EXPECT_EQ(registrar.answerFor(0x4A, "W").data, "1,2");
    EXPECT_EQ(registrar.answerFor(0x5A, "0").data, "Привет");
}

TEST(EmulatorOptions, BadArgumentsAreNamedInTheMessage)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--bogus"},
        {"--working"},
        {"--working", "-5"},
        {"--working", "5s"},
        {"--status", "6=1"},
        {"--status", "2"},
        {"--status", "1=0x100"},
        {"--answer", "4A"},
        {"--answer", "123=x"},
        {"--answer", "-1=x"},
        {"--answer", "4A=" + std::string(213, 'x')},
        {"--garbage", "\\xZZ"},
        {"--garbage", "\\q"},
        {"--version", "5 00"},
        {"--factory", ""},
        // A replay answers from its log alone: what shapes the model's answers is refused.
        {"--replay", "x.log", "--status", "2=1"},
        {"--answer", "4A=1", "--replay", "x.log"},
    };

    for (const auto& args : bad) {
        const ParsedOptions parsed = parseEmulatorOptions(args);
        EXPECT_FALSE(parsed.error.empty()) << args[0];
        EXPECT_NE(parsed.error.find(args[0]), std::string::npos) << parsed.error;
    }
}

TEST(EmulatorOptions, HelpListsEveryOption)
{
    const ParsedOptions parsed = parseEmulatorOptions({"--help"});
    const std::string usage = emulatorUsage();

    EXPECT_TRUE(parsed.options.help);
    for (const char* option : {"--nak", "--bad-checksum", "--silent", "--working", "--garbage",
                               "--status", "--version", "--factory", "--answer", "--help"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
}

} // namespace
} // namespace quorvex::emulator
