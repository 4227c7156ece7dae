#pragma once
// The serial-port component of the main and second-registrar windows. Only its port listing is
// used; its line settings are kept as plain properties and never touch a line (the registrar
// link opens and drives the lines itself).
#include <cstdint>
#include <string>
#include <vector>

namespace quorvex::serial {

enum dtrcontrol { DTR_DISABLE, DTR_ENABLE, DTR_HANDSHAKE };
enum rtscontrol { RTS_DISABLE, RTS_ENABLE, RTS_HANDSHAKE };
enum databit { Bits5, Bits6, Bits7, Bits8 };
enum speed {
    S256000,
    S128000,
    S115200,
    S057600,
    S056000,
    S038400,
    S019200,
    S011400,
    S009600,
    S004800,
    S002400,
    S001200,
    S000600,
    S000300,
    S000110
};
enum parity { NO, EVEN, MARK, ODD };
enum stopbits { ONE, ONE5, TWO };

// The line speed in baud that a speed value stands for (S011400 is 11400).
[[nodiscard]] int baudOf(speed value);

// Serial time-outs in milliseconds, as in the system's time-out record.
struct T1CommTimeouts {
    std::int32_t ReadIntervalTimeout = 0;
    std::int32_t ReadTotalTimeoutMultiplier = 0;
    std::int32_t ReadTotalTimeoutConstant = 1000;
    std::int32_t WriteTotalTimeoutMultiplier = 0;
    std::int32_t WriteTotalTimeoutConstant = 0;
};

// Result of BeginEnumeratePorts when a listing is already running.
constexpr int kListingBusy = -27;
// EnumeratePorts' text for a device whose name cannot be read.
constexpr const char* kUnreadablePort = "0";

class PortEnumerator {
public:
    // Every construction ends a running listing of the process (the state is shared).
    PortEnumerator();

    // 0 when a listing has started; kListingBusy when one is already running (it is then left
    // untouched). The names are taken from listedPortNames() at this moment.
    [[nodiscard]] int BeginEnumeratePorts();
    // The next port name; "" when none is left (and until the next listing), "0" for an
    // unreadable device (the position then stays where it is).
    [[nodiscard]] std::string EnumeratePorts();
    // Ends the listing from any state; always 0.
    int EndEnumeratePorts();

    T1CommTimeouts Timeout;
    bool Buffering = false;
    std::string Port;
    dtrcontrol DTR = DTR_HANDSHAKE;
    rtscontrol RTS = RTS_HANDSHAKE;
    databit DataBits = Bits8;
    speed BaudRate = S009600;
    parity Parity = NO;
    stopbits StopBits = ONE;
    char EndChar = 0;
    bool WaitEndChar = false;
    bool EnableDescr = false;
};

// Port-name order with numbers compared by value: ttyS2 before ttyS10.
[[nodiscard]] bool portNameLess(const std::string& a, const std::string& b);

// The machine's serial ports by their names, in portNameLess order, without duplicates: on
// Linux "ttyS0", "ttyUSB0" (every port, whatever its prefix), on Windows "COM3" (see
// win32SerialPortNames). Devices whose name cannot be read are left out and the listing goes on,
// so "0" never comes from this function.
[[nodiscard]] std::vector<std::string> presentSerialPortNames();

// Everything the port lists offer, in this order: presentSerialPortNames(), the virtual ports
// of portRegistry() (the in-process emulated registrars), then the device paths of the
// announced emulator programs.
[[nodiscard]] std::vector<std::string> listedPortNames();

} // namespace quorvex::serial
