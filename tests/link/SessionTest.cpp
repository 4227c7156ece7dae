#include "link/Session.h"

#include <gtest/gtest.h>

namespace quorvex::link {
namespace {

TEST(Session, SettingsFileIsFpinitInTheProgramDirectory)
{
    const struct {
        std::string directory;
        std::string expected;
    } cases[] = {
        {"", "fpinit.ini"},
#ifdef _WIN32
        {"C:\\Program Files\\Quorvex", "C:\\Program Files\\Quorvex\\fpinit.ini"},
        {"C:\\", "C:\\fpinit.ini"},
#else
        {"/opt/quorvex", "/opt/quorvex/fpinit.ini"},
        {"/", "/fpinit.ini"},
#endif
    };
    for (const auto& c : cases) {
        Session session;
        session.programDirectory = c.directory;

        EXPECT_EQ(session.settingsPath(), c.expected) << c.directory;
    }
}

} // namespace
} // namespace quorvex::link
