// The one not-sent message and which call lastRefusal() describes.
#include "link/Link.h"
#include "link/Operations.h"
#include "tests/link/ScriptedLine.h"

#include <gtest/gtest.h>

namespace quorvex::link {
namespace {

struct RefusalText {
    Refusal why;
    const char* message;
};

const RefusalText kRefusalTexts[] = {
    {Refusal::NotIdle, "Команда не отправлена: порт регистратора не открыт или занят."},
    {Refusal::CodeOutOfRange, "Команда не отправлена: код команды не в пределах 0-255."},
    {Refusal::DataTooLong, "Команда не отправлена: данные длиннее 189 байт, которые вмещает кадр."},
    {Refusal::NothingToRepeat, "Команда не отправлена: нет команды для повтора."},
    {Refusal::InvalidArguments, "Команда не отправлена: недопустимые данные команды."},
};

TEST(RefusalMessage, NamesEachReason)
{
    for (const RefusalText& row : kRefusalTexts)
        EXPECT_EQ(refusalMessage(row.why), row.message) << static_cast<int>(row.why);
}

TEST(LastRefusal, DescribesTheLatestCallOnly)
{
    serial::PortRegistry registry;
    testing::addScriptedPort(registry, "A", std::make_shared<testing::LineScript>());
    Link link{registry};
    const ResultCallback none;

    EXPECT_EQ(GetStatus(link, nullptr, none, 0, 0), -1);
    EXPECT_EQ(link.lastRefusal(), Refusal::NotIdle);
    ASSERT_GT(link.OpenFirstPort("A", 19200), 0);

    EXPECT_EQ(GoodsReport(link, nullptr, none, 0, "0000", 'X'), -1);
    EXPECT_EQ(link.lastRefusal(), Refusal::InvalidArguments);
    EXPECT_EQ(GetStatus(link, nullptr, none, 0, 0), 0);
    EXPECT_EQ(link.lastRefusal(), Refusal::None);
    EXPECT_EQ(PrintFiscalText(link, nullptr, none, 0, std::string(kMaxRequestData + 1, 't')), -1);
    EXPECT_EQ(link.lastRefusal(), Refusal::DataTooLong);
}

} // namespace
} // namespace quorvex::link
