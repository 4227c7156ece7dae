// Qt's system locale takes Russian dates and texts whatever the environment says; the number
// formats keep the environment's locale.
#include "platform/qt/RussianLocale.h"

#include <QByteArray>
#include <QtGlobal>
#include <gtest/gtest.h>

#include <map>

namespace quorvex::platform {
namespace {

TEST(RussianLocale, DatesAndTextsRussianAnLcAllMovedToLang)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "Qt on Windows takes its system locale from the system's settings";
#endif
    const char* names[] = {"LC_ALL", "LANG", "LC_TIME", "LC_MESSAGES"};
    std::map<std::string, QByteArray> saved;
    for (const char* name : names)
        saved[name] = qgetenv(name);
    const struct {
        const char* all;
        const char* lang;
        const char* langAfter;
    } cases[] = {
        {"en_US.UTF-8", "de_DE.UTF-8", "en_US.UTF-8"},
        {"", "en_GB.UTF-8", "en_GB.UTF-8"},
    };
    for (const auto& c : cases) {
        qputenv("LC_ALL", c.all);
        qputenv("LANG", c.lang);

        preferRussianSystemLocale();

        EXPECT_TRUE(qgetenv("LC_ALL").isEmpty()) << c.all;
        EXPECT_EQ(qgetenv("LANG"), c.langAfter);
        EXPECT_EQ(qgetenv("LC_TIME"), "ru_RU.UTF-8");
        EXPECT_EQ(qgetenv("LC_MESSAGES"), "ru_RU.UTF-8");
    }
    for (const auto& [name, value] : saved) {
        if (value.isEmpty())
            qunsetenv(name.c_str());
        else
            qputenv(name.c_str(), value);
    }
}

} // namespace
} // namespace quorvex::platform
