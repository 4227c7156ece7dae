#pragma once
// Test set-up of the process's link on the emulated registrars EMU1 and EMU2.
#include "emulator/EmulatedLine.h"
#include "link/Link.h"
#include "link/ResultState.h"
#include "serial/PortRegistry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

namespace quorvex::test_support {

// The error-word bits every answer of an emulated registrar carries while no receipt is open:
// fiscal memory formatted, device fiscalised, tax rates defined, numbers programmed. None of
// them has an error text.
constexpr std::uint32_t kFiscalisedFlags = 0x00200000 | 0x00400000 | 0x00800000 | 0x00004000;
// The same as status byte S5.
constexpr std::uint8_t kFiscalisedS5 = 0x3A;

// The moment the emulated registrars' clocks are pinned to in tests: 08.12.2026 09:00:00.
inline constexpr emulator::DateTime kEmulatedStart{2026, 12, 8, 9, 0, 0};

// The emulated registrars behind EMU1 and EMU2.
inline emulator::Registrar& first()
{
    return emulator::processRegistrar(1);
}
inline emulator::Registrar& second()
{
    return emulator::processRegistrar(2);
}

// Registers EMU1 and EMU2 with the process's port registry (once per process), puts both
// registrars back to their start state and pins their clocks to kEmulatedStart.
inline void resetEmulatedRegistrars()
{
    static const bool registered = [] {
        emulator::registerEmulatedPorts(serial::portRegistry());
        return true;
    }();
    (void)registered;
    emulator::resetProcessRegistrars();
    for (int n : {1, 2})
        emulator::processRegistrar(n).model().state().setClock(kEmulatedStart);
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
