#pragma once
// Test set-up of the process's link on the emulated registrars EMU1 and EMU2.
#include "emulator/EmulatedLine.h"
#include "link/Link.h"
#include "link/ResultState.h"
#include "serial/PortRegistry.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace quorvex::test_support {

// Registers EMU1 and EMU2 with the process's port registry (once per process) and puts both
// registrars back to their start state.
inline void resetEmulatedRegistrars()
{
    static const bool registered = [] {
        emulator::registerEmulatedPorts(serial::portRegistry());
        return true;
    }();
    (void)registered;
    emulator::resetProcessRegistrars();
}

// The process's link logging to logPath, EMU1 open as the first port, EMU2 as the second when a
// speed is given for it, the first port in use and no answer kept. Call it under
// ASSERT_NO_FATAL_FAILURE: a port that does not open fails the test.
inline void openEmulatedLink(const std::string& logPath, int firstSpeed,
                             std::optional<int> secondSpeed = std::nullopt)
{
    link::SetLogName(logPath);
    ASSERT_NE(link::OpenFirstPort("EMU1", firstSpeed), -1);
    if (secondSpeed) {
        ASSERT_NE(link::OpenSecondPort("EMU2", *secondSpeed), -1);
    }
    link::UseSecondPort(0);
    link::resultState() = {};
}

} // namespace quorvex::test_support
