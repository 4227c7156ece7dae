#include "serial/qt/QtSerialLine.h"

#include "serial/OpenFailure.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <utility>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace quorvex::serial {

namespace {

constexpr int kReadTimeoutMs = 100;
constexpr qint64 kReadBufferSize = 1024;
// Writes have no time-out of their own; this limit only keeps a stalled line (flow control
// held off forever) from hanging the program.
constexpr int kWriteStallLimitMs = 5000;

#ifdef Q_OS_UNIX
// Qt applies its flow-control setting when it opens a port. To leave the port's RTS/CTS
// handshake as it was, the setting is read first through a descriptor that stays open until
// Qt's open is done (so closing it cannot hang up the line). XON/XOFF is not carried over:
// terminals have it on by default, and it would swallow the bytes 0x11 and 0x13 of frames.
// The same open tells why a device cannot be used, which Qt reports less precisely.
class CurrentFlowControl {
public:
    explicit CurrentFlowControl(const std::string& path)
        : m_fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)),
          m_openError(m_fd < 0 ? errno : 0)
    {
        termios settings{};
        if (m_fd >= 0 && ::tcgetattr(m_fd, &settings) == 0 && (settings.c_cflag & CRTSCTS))
            m_flow = QSerialPort::HardwareControl;
    }
    ~CurrentFlowControl()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CurrentFlowControl(const CurrentFlowControl&) = delete;
    CurrentFlowControl& operator=(const CurrentFlowControl&) = delete;

    [[nodiscard]] QSerialPort::FlowControl flow() const { return m_flow; }
    // errno of the open, 0 when it succeeded.
    [[nodiscard]] int openError() const { return m_openError; }

private:
    int m_fd;
    int m_openError;
    QSerialPort::FlowControl m_flow = QSerialPort::NoFlowControl;
};
#endif

// Qt's open error when the device itself could be opened: a refusal then means that another
// program holds the port (its lock file, or an exclusive open that root passes).
OpenFailure failureOfQtOpen(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return OpenFailure::NoSuchPort;
    case QSerialPort::PermissionError:
        return OpenFailure::InUse;
    case QSerialPort::OpenError:
    case QSerialPort::UnsupportedOperationError:
        return OpenFailure::NotASerialPort;
    default:
        return OpenFailure::Other;
    }
}

} // namespace

QtSerialLine::QtSerialLine(std::string path, int baud) : m_path(std::move(path)), m_baud(baud) {}

std::unique_ptr<QtSerialLine> QtSerialLine::open(const std::string& name, int baud,
                                                 std::string* failure)
{
    const std::string path = serialDevicePath(name);
    auto fail = [&](OpenFailure why) -> std::unique_ptr<QtSerialLine> {
        if (failure)
            *failure = openFailureText(why, path.empty() ? name : path);
        return nullptr;
    };
    if (path.empty() || !QFileInfo::exists(QString::fromStdString(path)))
        return fail(OpenFailure::NoSuchPort);
    if (baud <= 0)
        return fail(OpenFailure::NotASerialPort);

    std::unique_ptr<QtSerialLine> line(new QtSerialLine(path, baud));
    QSerialPort& port = line->m_port;
    port.setPortName(QString::fromStdString(path));
    port.setReadBufferSize(kReadBufferSize);
    if (!port.setBaudRate(baud) || !port.setDataBits(QSerialPort::Data8) ||
        !port.setParity(QSerialPort::NoParity) || !port.setStopBits(QSerialPort::OneStop))
        return fail(OpenFailure::NotASerialPort);
#ifdef Q_OS_UNIX
    const CurrentFlowControl current(path);
    if (current.openError() != 0)
        return fail(openFailureOfErrno(current.openError()));
    port.setFlowControl(current.flow());
#endif
    if (!port.open(QIODevice::ReadWrite))
        return fail(failureOfQtOpen(port.error()));
    // A hung-up line reads as ready and gives nothing: Qt reports a read error each time the
    // event loop looks at it, which is where the line notices that it is gone.
    QObject::connect(&port, &QSerialPort::errorOccurred,
                     [raw = line.get()](QSerialPort::SerialPortError error) {
                         if (error == QSerialPort::ReadError || error == QSerialPort::ResourceError)
                             (void)raw->gone();
                     });
    if (!line->purge()) {
        port.close();
        return fail(OpenFailure::NotASerialPort);
    }
    return line;
}

bool QtSerialLine::flush()
{
    if (m_hungUp)
        return false;
    const QDeadlineTimer deadline(
        writeTimeLimitMs(static_cast<std::size_t>(m_port.bytesToWrite())));
    while (m_port.bytesToWrite() > 0) {
        if (deadline.hasExpired() || !m_port.waitForBytesWritten(deadline.remainingTime()))
            return false;
    }
#ifdef Q_OS_UNIX
    // Until the driver has sent everything, not only taken it.
    if (::tcdrain(m_port.handle()) != 0)
        return false;
#endif
    return true;
}

bool QtSerialLine::purge()
{
    return !m_hungUp && m_port.clear(QSerialPort::AllDirections);
}

bool QtSerialLine::write(const std::uint8_t* data, std::size_t size)
{
    if (m_hungUp)
        return false;
    if (size == 0)
        return true;
    const qint64 accepted =
        m_port.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    if (accepted != static_cast<qint64>(size))
        return false;
    // There is no event loop during an exchange: push the bytes out here.
    const QDeadlineTimer deadline(writeTimeLimitMs(size));
    while (m_port.bytesToWrite() > 0) {
        if (deadline.hasExpired() || !m_port.waitForBytesWritten(deadline.remainingTime()))
            return false;
    }
    return true;
}

ReadResult QtSerialLine::readByte()
{
    if (m_hungUp)
        return ReadResult::error();
    if (m_port.bytesAvailable() == 0 && !waitForData(kReadTimeoutMs))
        return hasLineError() ? ReadResult::error() : ReadResult::nothing();
    char byte = 0;
    if (!m_port.getChar(&byte))
        return ReadResult::error();
    return ReadResult::of(static_cast<std::uint8_t>(byte));
}

void QtSerialLine::clearError()
{
    m_port.clearError();
}

bool QtSerialLine::gone()
{
    if (!m_hungUp && deviceGone())
        stopWatching();
    return m_hungUp;
}

// The descriptor is closed, so that nothing watches the dead line any more.
void QtSerialLine::stopWatching()
{
    m_hungUp = true;
    m_port.close();
    emit lineEvents().hungUp(QString::fromStdString(m_path));
}

bool QtSerialLine::deviceGone()
{
    if (!m_port.isOpen())
        return false;
    if (m_port.error() == QSerialPort::ResourceError)
        return true; // Qt's word for a device removed while open
#ifdef Q_OS_UNIX
    // The driver hangs the descriptor up when the device goes away or the other side of a
    // pseudo-terminal closes; with CLOCAL set a lost carrier does not do that.
    pollfd descriptor{static_cast<int>(m_port.handle()), 0, 0};
    if (::poll(&descriptor, 1, 0) == 1 && (descriptor.revents & (POLLHUP | POLLNVAL)) != 0)
        return true;
    return !QFileInfo::exists(QString::fromStdString(m_path)); // the device node went away
#else
    return false;
#endif
}

bool QtSerialLine::close()
{
    if (m_hungUp)
        return true; // closed when the hang-up was noticed
    m_port.close();
    return !m_port.isOpen();
}

std::string QtSerialLine::devicePath() const
{
    return m_path;
}

qintptr QtSerialLine::nativeHandle() const
{
    return m_port.handle();
}

bool QtSerialLine::hasLineError() const
{
    const QSerialPort::SerialPortError error = m_port.error();
    return error != QSerialPort::NoError && error != QSerialPort::TimeoutError;
}

bool QtSerialLine::waitForData(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (m_port.bytesAvailable() == 0) {
        if (hasLineError() || deadline.hasExpired())
            return false;
        if (m_port.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            continue;
        if (m_port.error() != QSerialPort::TimeoutError)
            return false;
        m_port.clearError(); // a quiet line is not an error of the line
    }
    return true;
}

int QtSerialLine::writeTimeLimitMs(std::size_t size) const
{
    // Ten bit times per byte, plus the stall limit.
    const long long transmitMs = static_cast<long long>(size) * 10 * 1000 / m_baud;
    return static_cast<int>(std::min<long long>(transmitMs + kWriteStallLimitMs, 600000));
}

std::string serialDevicePath(const std::string& name)
{
    if (name.empty())
        return {};
    if (name.find('/') != std::string::npos)
        return name;
    return "/dev/" + name;
}

} // namespace quorvex::serial
