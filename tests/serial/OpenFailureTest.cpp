#include "serial/OpenFailure.h"
#include "serial/PortRegistry.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace quorvex::serial;

TEST(OpenFailure, EachSystemErrorGivesItsOwnAdvice)
{
    const struct {
        int error;
        std::string text;
    } cases[] = {
        {EACCES, "permission denied on /dev/ttyUSB0: add your user to the dialout group"},
        {EPERM, "permission denied on /dev/ttyUSB0: add your user to the dialout group"},
        {EBUSY, "/dev/ttyUSB0 is in use by another program: close it, or stop ModemManager if "
                "it has taken the port"},
        {ENOENT, "no such port /dev/ttyUSB0"},
        {ENODEV, "no such port /dev/ttyUSB0"},
        {ENXIO, "no such port /dev/ttyUSB0"},
        {ENOTTY, "/dev/ttyUSB0 is not a serial port or refuses the line settings"},
        {EIO, "cannot open /dev/ttyUSB0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(openFailureText(openFailureOfErrno(c.error), "/dev/ttyUSB0"), c.text)
            << "errno " << c.error;
}

TEST(OpenFailure, RegistryExplainsEveryFailedOpen)
{
    PortRegistry registry;
    registry.addVirtualPort("EMU1", [](const std::string&, int) { return nullptr; });
    std::string failure;

    EXPECT_EQ(registry.open("ttyS0", 19200, &failure), nullptr);
    EXPECT_EQ(failure, "no such port ttyS0") << "without a fallback";

    EXPECT_EQ(registry.open("EMU1", 19200, &failure), nullptr);
    EXPECT_EQ(failure, "cannot open EMU1");

    registry.setFallback([](const std::string& name, int, std::string& why) {
        why = "refused " + name;
        return nullptr;
    });
    EXPECT_EQ(registry.open("ttyS0", 19200, &failure), nullptr);
    EXPECT_EQ(failure, "refused ttyS0");
}
