#pragma once
// The real serial line on Windows, on the Win32 communications calls: "\\.\COMn" opened for
// reading and writing, not shared, without overlapped I/O; the caller's baud rate with 8 data
// bits, no parity and one stop bit; driver queues of 1024 bytes each way; a read of one byte
// waits at most 100 ms. Flow control and the DTR and RTS lines stay as the port had them;
// XON/XOFF and the dropping of NUL bytes are switched off, since frames are binary.
#include "serial/SerialLine.h"

#include <memory>
#include <string>
#include <vector>

namespace quorvex::serial {

class Win32SerialLine final : public SerialLine {
public:
    // nullptr when the port does not exist, is held by another program or refuses the
    // settings; then `failure`, when given, says which in one line for the user.
    [[nodiscard]] static std::unique_ptr<Win32SerialLine> open(const std::string& name, int baud,
                                                               std::string* failure = nullptr);
    ~Win32SerialLine() override;
    Win32SerialLine(const Win32SerialLine&) = delete;
    Win32SerialLine& operator=(const Win32SerialLine&) = delete;

    bool flush() override;
    bool purge() override;
    // False when the driver refused the bytes or sending them stalled (flow control held off)
    // for longer than the bytes' transmit time plus five seconds.
    bool write(const std::uint8_t* data, std::size_t size) override;
    ReadResult readByte() override;
    void clearError() override;
    // A device that went away while open (a USB adapter pulled) or a handle the system no
    // longer serves.
    bool gone() override;
    bool close() override;

private:
    Win32SerialLine(void* handle, int baud);

    [[nodiscard]] bool configure();
    // Reads what the driver holds into m_received, or waits up to 100 ms for one byte when it
    // holds nothing; Nothing or Error when no byte came.
    ReadResult fill();
    // Records whether a failed call's error means that the device has gone.
    void noteFailure(unsigned long error);

    void* m_handle; // the port's HANDLE; <windows.h> stays out of this header
    int m_baud;
    bool m_gone = false;
    // Bytes read from the driver and not yet taken: one call for a whole answer instead of one
    // per byte, each of which costs a round trip to the system.
    std::vector<std::uint8_t> m_received;
    std::size_t m_taken = 0;
};

// The device path of a port name: "COM12" -> "\\.\COM12" (the only form that reaches ports
// above COM9); a name that already is such a path is taken as it is.
[[nodiscard]] std::string win32DevicePath(const std::string& name);

// Why CreateFile refused a port, for the user: a Win32 error code and the port's name.
[[nodiscard]] std::string win32OpenFailureText(unsigned long error, const std::string& name);

} // namespace quorvex::serial
