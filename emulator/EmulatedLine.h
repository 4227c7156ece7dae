#pragma once
// A SerialLine that talks to an in-process Registrar in virtual time: a read returns a due byte
// at once; otherwise it moves the registrar's clock on to the next byte if that comes within
// 100 ms, or by the full 100 ms and returns Nothing. No call ever waits for real.
#include "emulator/Registrar.h"
#include "serial/PortRegistry.h"
#include "serial/SerialLine.h"

#include <memory>

namespace quorvex::emulator {

// The line does not own the registrar, which must outlive it.
std::unique_ptr<serial::SerialLine> makeEmulatedLine(Registrar& registrar);

// The process's emulated registrars behind the port names EMU1 and EMU2 (n = 1 or 2; any other
// n throws std::out_of_range). EMU1 reports version "5.00" and factory number "QV000001",
// EMU2 version "3.10" and factory number "QV000002". Their clocks start at the machine's local
// time, as a registrar's clock shows the day it is switched on.
Registrar& processRegistrar(int n);
// Puts both process registrars back to their start state (identities included, the clock at the
// machine's local time), for tests.
void resetProcessRegistrars();
// Registers EMU1 and EMU2 with a port registry; each open makes a new line on the process
// registrar of that name.
void registerEmulatedPorts(serial::PortRegistry& registry);

} // namespace quorvex::emulator
