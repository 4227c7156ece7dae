// The command table users read (emulator/COMMANDS.md) lists exactly the commands the emulated
// registrar knows.
#include "emulator/Registrar.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <string>

namespace quorvex::emulator {
namespace {

// Every code named in the first column of a table row ("| 0x49, 0x5F | ...").
std::set<int> codesInTable(std::istream& table)
{
    std::set<int> codes;
    const std::regex code("0x([0-9A-F]{2})");
    for (std::string line; std::getline(table, line);) {
        if (line.rfind("| 0x", 0) != 0)
            continue;
        const std::string firstColumn = line.substr(1, line.find('|', 1) - 1);
        for (std::sregex_iterator it(firstColumn.begin(), firstColumn.end(), code), end; it != end;
             ++it)
            codes.insert(std::stoi((*it)[1].str(), nullptr, 16));
    }
    return codes;
}

// The codes the registrar does not refuse as invalid commands.
std::set<int> codesKnown()
{
    std::set<int> codes;
    for (int command = 0; command < 256; ++command) {
        Registrar registrar;
        if (registrar.answerFor(command, "").bits != refusal::kInvalidCommand)
            codes.insert(command);
    }
    return codes;
}

TEST(CommandTable, ListsEveryCommandTheRegistrarKnowsAndNoOther)
{
    std::ifstream table(QUORVEX_COMMAND_TABLE);
    ASSERT_TRUE(table) << QUORVEX_COMMAND_TABLE;

    const std::set<int> listed = codesInTable(table);

    EXPECT_GT(listed.size(), 30u);
    EXPECT_EQ(listed, codesKnown());
}

// A code the registrar does not know is refused with the invalid-command bits, unless an answer
// was set for it.
TEST(CommandTable, UnknownCodeIsRefusedUnlessAnAnswerIsSet)
{
    Registrar registrar;
    EXPECT_EQ(registrar.answerFor(0x0F, "").bits, refusal::kInvalidCommand);

    registrar.setAnswerData(0x0F, "1,2");

    const ModelAnswer answer = registrar.answerFor(0x0F, "");
    EXPECT_EQ(answer.bits, StatusBits{});
    EXPECT_EQ(answer.data, "1,2");
}

} // namespace
} // namespace quorvex::emulator
