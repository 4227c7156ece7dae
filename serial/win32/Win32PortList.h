#pragma once
// The serial ports of a Windows machine, for the port lists.
#include <string>
#include <vector>

namespace quorvex::serial {

// The COM port names ("COM3") the system knows, unsorted, possibly twice: first each present
// device of the setup class "Ports" by the value "PortName" of its hardware key (comPortNames:
// unreadable devices are skipped, printer ports left out), then the ports that drivers
// outside that class enter in the registry's serial-port map (HARDWARE\DEVICEMAP\SERIALCOMM):
// virtual port pairs, and the ports Wine maps to Unix devices.
[[nodiscard]] std::vector<std::string> win32SerialPortNames();

} // namespace quorvex::serial
