#include "serial/OpenFailure.h"

#include <cerrno>

namespace quorvex::serial {

OpenFailure openFailureOfErrno(int error)
{
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return OpenFailure::NoSuchPort;
    case EACCES:
    case EPERM:
        return OpenFailure::PermissionDenied;
    case EBUSY:
        return OpenFailure::InUse;
    case ENOTTY:
        return OpenFailure::NotASerialPort;
    default:
        return OpenFailure::Other;
    }
}

std::string openFailureText(OpenFailure failure, const std::string& path)
{
    switch (failure) {
    case OpenFailure::NoSuchPort:
        return "no such port " + path;
    case OpenFailure::PermissionDenied:
        return "permission denied on " + path + ": add your user to the dialout group";
    case OpenFailure::InUse:
        return path + " is in use by another program: close it, or stop ModemManager if it "
                      "has taken the port";
    case OpenFailure::NotASerialPort:
        return path + " is not a serial port or refuses the line settings";
    case OpenFailure::Other:
        break;
    }
    return "cannot open " + path;
}

} // namespace quorvex::serial
