#pragma once
// Why a port could not be opened, told in one line the user can act on. The line goes to
// standard error and to the exchange log; windows keep their own message beside it.
#include <string>

namespace quorvex::serial {

enum class OpenFailure {
    NoSuchPort,       // the device does not exist
    PermissionDenied, // the user may not open the device
    InUse,            // another program holds the port
    NotASerialPort,   // opened, but it is no serial line or refuses the line settings
    Other,            // anything else the system reports
};

// The failure behind an errno value of opening a device.
[[nodiscard]] OpenFailure openFailureOfErrno(int error);

// The line for a failure on a device path, e.g.
// "permission denied on /dev/ttyUSB0: add your user to the dialout group".
[[nodiscard]] std::string openFailureText(OpenFailure failure, const std::string& path);

} // namespace quorvex::serial
