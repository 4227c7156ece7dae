#include "link/CommandNames.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvex::link {
namespace {

const std::string kInvalid = "Неверная команда";

TEST(CommandNames, NamedCodesGiveTheirTableEntry)
{
    EXPECT_EQ(GetCommandName(0x4A), std::string("Получить состояние регистратора"));
    EXPECT_EQ(GetCommandName(0x21), std::string("Очистка дисплея"));
    EXPECT_EQ(GetCommandName(0x77), std::string("Обнулить операторские пароли"));
    EXPECT_EQ(GetCommandName(0x6B),
              std::string("Программирование артикулов и получение информации о них"));
}

TEST(CommandNames, NamesKeepTheirExactSpelling)
{
    EXPECT_EQ(GetCommandName(0x34), std::string("Регистрация продажи  и вывод на дисплей"));
    EXPECT_EQ(GetCommandName(0x62), std::string("Установить налоговый или иденификационный номер"));
    EXPECT_EQ(GetCommandName(0x35), std::string("Общая сумма чека (Total)"));
}

TEST(CommandNames, NamesAreWindows1251Bytes)
{
    // "Очистка" starts with the Windows-1251 byte of 'О'.
    EXPECT_EQ(static_cast<unsigned char>(GetCommandName(0x21)[0]), 0xCEu);
}

TEST(CommandNames, CodesWithoutNameAreInvalidCommands)
{
    for (int code :
         {0x22, 0x3B, 0x58, 0x5D, 0x74, 0x75, 0x20, 0x78, 0xEB, 0xEE, 0, -1, 0x1F, 1000}) {
        EXPECT_EQ(GetCommandName(code), kInvalid) << "code " << code;
    }
}

} // namespace
} // namespace quorvex::link
