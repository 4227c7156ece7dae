#pragma once
// The machine's real serial ports behind the port registry: on Qt Serial Port (QtSerialLine),
// on Windows on the Win32 calls (Win32SerialLine).
#include "serial/PortRegistry.h"
#include "serial/SerialLine.h"

#include <memory>
#include <string>

namespace quorvex::serial {

// Opens a real serial line; nullptr when it cannot be opened or configured, with the reason
// in `failure` when given.
[[nodiscard]] std::unique_ptr<SerialLine> openRealSerialLine(const std::string& name, int baud,
                                                             std::string* failure = nullptr);

// Routes every name that is not a virtual port to openRealSerialLine.
void installRealSerialFallback(PortRegistry& registry);

} // namespace quorvex::serial
