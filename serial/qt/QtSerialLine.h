#pragma once
// The real serial line on Qt Serial Port: opened exclusively for reading and writing with the
// caller's baud rate, 8 data bits, no parity and one stop bit. The RTS/CTS handshake and the
// DTR/RTS lines stay as the port had them; XON/XOFF is switched off (frames are binary).
#include "serial/SerialLine.h"
#include "serial/qt/LineEvents.h"
#include "serial/qt/RealSerialLine.h"

#include <QSerialPort>
#include <memory>
#include <string>

namespace quorvex::serial {

class QtSerialLine final : public SerialLine {
public:
    // nullptr when the device does not exist, may not be opened, is in use, or refuses the
    // settings; then `failure`, when given, says which (see OpenFailure.h).
    [[nodiscard]] static std::unique_ptr<QtSerialLine> open(const std::string& name, int baud,
                                                            std::string* failure = nullptr);

    bool flush() override;
    bool purge() override;
    bool write(const std::uint8_t* data, std::size_t size) override;
    ReadResult readByte() override;
    void clearError() override;
    // An unplugged device or a hung-up line (the other end of a pseudo-terminal closed). Once
    // noticed, the line stops watching the device (it would tell of the hang-up over and over
    // and keep the event loop busy) and is told of through lineEvents(); it can then only be
    // closed.
    bool gone() override;
    bool close() override;

    [[nodiscard]] std::string devicePath() const;
    // The operating system's descriptor of the open port.
    [[nodiscard]] qintptr nativeHandle() const;

private:
    QtSerialLine(std::string path, int baud);

    [[nodiscard]] bool deviceGone();
    void stopWatching();
    [[nodiscard]] bool hasLineError() const;
    // Waits up to timeoutMs for data to arrive; false on time-out or line error.
    bool waitForData(int timeoutMs);
    [[nodiscard]] int writeTimeLimitMs(std::size_t size) const;

    QSerialPort m_port;
    std::string m_path;
    int m_baud;
    bool m_hungUp = false;
};

// The device path of a port name: a listed name such as "ttyUSB0" lives under /dev, a name
// that already is a path ("/dev/pts/3") is taken as it is.
[[nodiscard]] std::string serialDevicePath(const std::string& name);

} // namespace quorvex::serial
