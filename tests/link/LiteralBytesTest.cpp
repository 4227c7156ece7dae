// The Russian texts of the std-only code reach the wire, the log and the windows as
// Windows-1251 bytes, whichever compiler built them. Pinned as hexadecimal bytes, which no
// compiler setting changes.
#include "link/CommandNames.h"
#include "link/ResultState.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvex::link {
namespace {

TEST(LiteralBytes, RussianTextsAreWindows1251)
{
    const struct {
        std::string compiled;
        std::string bytes;
    } cases[] = {
        // An error text of the result callback and a command name of the link library.
        {errorTextFor(ERR_TIMEOUT), "\xD2\xE0\xE9\xEC\xE0\xF3\xF2"},
        {GetCommandName(0x4A), "\xCF\xEE\xEB\xF3\xF7\xE8\xF2\xFC\x20\xF1\xEE\xF1\xF2\xEE\xFF\xED"
                               "\xE8\xE5\x20\xF0\xE5\xE3\xE8\xF1\xF2\xF0\xE0\xF2\xEE\xF0\xE0"},
        // Literals of this file: plain, character, outside the Cyrillic block, and u8, which
        // stays UTF-8.
        {"Таймаут", "\xD2\xE0\xE9\xEC\xE0\xF3\xF2"},
        {std::string(1, 'я'), "\xFF"},
        {"№Ё", "\xB9\xA8"},
        {reinterpret_cast<const char*>(u8"Та"), "\xD0\xA2\xD0\xB0"},
    };

    for (const auto& c : cases)
        EXPECT_EQ(c.compiled, c.bytes);
}

} // namespace
} // namespace quorvex::link
