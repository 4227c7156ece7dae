// The command table users read (emulator/COMMANDS.md) lists exactly the commands the emulated
// registrar knows.
#include "emulator/Registrar.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <set>
#include <string>

namespace quorvex::emulator {
namespace {

// Every code named in the first column of a table row ("| 0x49, 0x5F | ...").
std::set<int> codesInTable(std::istream& table)
{
    std::set<int> codes;
    for (std::string line; std::getline(table, line);) {
        if (line.rfind("| 0x", 0) != 0)
            continue;
        const std::string firstColumn = line.substr(1, line.find('|', 1) - 1);
        for (auto at = firstColumn.find("0x"); at != std::string::npos;
             at = firstColumn.find("0x", at + 2)) {
            const std::string digits = firstColumn.substr(at + 2, 2);
            if (digits.size() == 2 && std::isxdigit(static_cast<unsigned char>(digits[0])) &&
                std::isxdigit(static_cast<unsigned char>(digits[1])))
                codes.insert(std::stoi(digits, nullptr, 16));
        }
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
