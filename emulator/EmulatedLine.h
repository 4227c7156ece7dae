#pragma once
// A SerialLine that talks to an in-process Registrar in virtual time: a read that would wait
// returns Nothing at once and advances the registrar's clock by 100 ms.
#include "emulator/Registrar.h"
#include "serial/PortRegistry.h"
#include "serial/SerialLine.h"

#include <memory>

namespace quorvex::emulator {

std::unique_ptr<serial::SerialLine> makeEmulatedLine(Registrar& registrar);

// The process's emulated registrars behind the port names EMU1 and EMU2 (n = 1 or 2).
Registrar& processRegistrar(int n);
// Registers EMU1 and EMU2 with a port registry.
void registerEmulatedPorts(serial::PortRegistry& registry);

}  // namespace quorvex::emulator
