#pragma once
// Why the link sent nothing for a call that returned -1, and the one message that says so.
#include <string>

namespace quorvex::link {

enum class Refusal {
    None,             // the last call sent its request
    NotIdle,          // no port was ever opened, or an exchange is running
    PortClosed,       // the selected registrar's port is not open (closed, or its opening failed)
    CodeOutOfRange,   // the command code is not 0..255
    DataTooLong,      // more data than the 189 bytes a request frame carries
    NothingToRepeat,  // RepeatCommand before any request was sent
    InvalidArguments, // a typed operation refused its arguments
};

// The message for a command that was never sent, naming the reason (Windows-1251). It never
// reads like a time-out or a registrar error: the fault lies in the command or the port, not
// on the line.
[[nodiscard]] std::string refusalMessage(Refusal why);

} // namespace quorvex::link
