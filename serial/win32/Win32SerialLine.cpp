#include "serial/win32/Win32SerialLine.h"

#include "serial/OpenFailure.h"

#include <windows.h>

#include <algorithm>

namespace quorvex::serial {

namespace {

constexpr DWORD kQueueSize = 1024;
constexpr DWORD kReadTimeoutMs = 100;
// Writes have no time-out of their own; this limit only keeps a stalled line (flow control
// held off forever) from hanging the program.
constexpr DWORD kWriteStallLimitMs = 5000;

HANDLE handleOf(void* handle)
{
    return static_cast<HANDLE>(handle);
}

// The errors with which the system answers calls on a port whose device has gone: a USB
// adapter pulled while open, a driver that no longer serves the handle, a line hung up.
bool meansDeviceGone(DWORD error)
{
    switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_BAD_COMMAND:
    case ERROR_BROKEN_PIPE:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEVICE_REMOVED:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_GEN_FAILURE:
    case ERROR_INVALID_HANDLE:
    case ERROR_IO_DEVICE:
    case ERROR_NOT_READY:
        return true;
    default:
        return false;
    }
}

} // namespace

Win32SerialLine::Win32SerialLine(void* handle, int baud) : m_handle(handle), m_baud(baud) {}

Win32SerialLine::~Win32SerialLine()
{
    if (m_handle != INVALID_HANDLE_VALUE)
        CloseHandle(handleOf(m_handle));
}

std::unique_ptr<Win32SerialLine> Win32SerialLine::open(const std::string& name, int baud,
                                                       std::string* failure)
{
    auto fail = [&](const std::string& why) -> std::unique_ptr<Win32SerialLine> {
        if (failure)
            *failure = why;
        return nullptr;
    };
    if (name.empty())
        return fail(openFailureText(OpenFailure::NoSuchPort, name));
    if (baud <= 0)
        return fail(openFailureText(OpenFailure::NotASerialPort, name));

    const std::string path = win32DevicePath(name);
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return fail(win32OpenFailureText(GetLastError(), name));
    std::unique_ptr<Win32SerialLine> line(new Win32SerialLine(handle, baud));
    if (!line->configure() || !line->purge())
        return fail(openFailureText(OpenFailure::NotASerialPort, name));
    return line;
}

bool Win32SerialLine::configure()
{
    HANDLE handle = handleOf(m_handle);
    // The queue sizes are a request the driver may round or ignore; only the line settings and
    // the time-outs must take.
    SetupComm(handle, kQueueSize, kQueueSize);

    DCB settings{};
    settings.DCBlength = sizeof settings;
    if (!GetCommState(handle, &settings))
        return false;
    settings.BaudRate = static_cast<DWORD>(m_baud);
    settings.ByteSize = 8;
    settings.Parity = NOPARITY;
    settings.StopBits = ONESTOPBIT;
    settings.fBinary = TRUE;
    settings.fParity = FALSE;
    settings.fOutX = FALSE;
    settings.fInX = FALSE;
    settings.fNull = FALSE;
    settings.fErrorChar = FALSE;
    if (!SetCommState(handle, &settings))
        return false;

    // A read waits up to 100 ms for its byte. A write may take its bytes' transmit time (ten
    // bits each, rounded up to whole milliseconds) plus the stall limit.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = 0;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = kReadTimeoutMs;
    timeouts.WriteTotalTimeoutMultiplier = static_cast<DWORD>((10 * 1000 + m_baud - 1) / m_baud);
    timeouts.WriteTotalTimeoutConstant = kWriteStallLimitMs;
    return SetCommTimeouts(handle, &timeouts) != 0;
}

bool Win32SerialLine::flush()
{
    if (FlushFileBuffers(handleOf(m_handle)))
        return true;
    noteFailure(GetLastError());
    return false;
}

bool Win32SerialLine::purge()
{
    m_received.clear();
    m_taken = 0;
    if (PurgeComm(handleOf(m_handle),
                  PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR))
        return true;
    noteFailure(GetLastError());
    return false;
}

bool Win32SerialLine::write(const std::uint8_t* data, std::size_t size)
{
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 0x10000));
        DWORD written = 0;
        if (!WriteFile(handleOf(m_handle), data, chunk, &written, nullptr)) {
            noteFailure(GetLastError());
            return false;
        }
        if (written == 0)
            return false; // the write time-out: the line stalled
        data += written;
        size -= written;
    }
    return true;
}

ReadResult Win32SerialLine::readByte()
{
    if (m_taken == m_received.size()) {
        const ReadResult filled = fill();
        if (filled.kind != ReadResult::Kind::Byte)
            return filled;
    }
    return ReadResult::of(m_received[m_taken++]);
}

ReadResult Win32SerialLine::fill()
{
    m_received.clear();
    m_taken = 0;
    // The query clears the line errors it reports (break, framing, overrun, parity).
    DWORD errors = 0;
    COMSTAT queue{};
    if (!ClearCommError(handleOf(m_handle), &errors, &queue)) {
        noteFailure(GetLastError());
        return ReadResult::error();
    }
    if (errors != 0)
        return ReadResult::error();
    // What has arrived is there at once; with nothing there the time-out record makes a read of
    // one byte wait up to 100 ms.
    m_received.resize(std::clamp<DWORD>(queue.cbInQue, 1, kQueueSize));
    DWORD received = 0;
    if (!ReadFile(handleOf(m_handle), m_received.data(), static_cast<DWORD>(m_received.size()),
                  &received, nullptr)) {
        m_received.clear();
        noteFailure(GetLastError());
        return ReadResult::error();
    }
    m_received.resize(received);
    return received > 0 ? ReadResult::of(m_received.front()) : ReadResult::nothing();
}

void Win32SerialLine::clearError()
{
    DWORD errors = 0;
    if (!ClearCommError(handleOf(m_handle), &errors, nullptr))
        noteFailure(GetLastError());
}

bool Win32SerialLine::gone()
{
    if (m_handle == INVALID_HANDLE_VALUE || m_gone)
        return m_gone;
    // Asked after a read gave Error: a device that is still there answers this query.
    DWORD modemStatus = 0;
    if (!GetCommModemStatus(handleOf(m_handle), &modemStatus))
        noteFailure(GetLastError());
    return m_gone;
}

bool Win32SerialLine::close()
{
    if (m_handle == INVALID_HANDLE_VALUE)
        return true;
    if (!CloseHandle(handleOf(m_handle)))
        return false;
    m_handle = INVALID_HANDLE_VALUE;
    return true;
}

void Win32SerialLine::noteFailure(unsigned long error)
{
    if (meansDeviceGone(error))
        m_gone = true;
}

std::string win32DevicePath(const std::string& name)
{
    const std::string prefix = "\\\\.\\";
    if (name.compare(0, prefix.size(), prefix) == 0)
        return name;
    return prefix + name;
}

std::string win32OpenFailureText(unsigned long error, const std::string& name)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return openFailureText(OpenFailure::NoSuchPort, name);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        // Windows opens a serial port for one program at a time.
        return name + " is in use by another program: close it there, then connect again";
    default:
        return "cannot open " + name + ": Windows error " + std::to_string(error);
    }
}

} // namespace quorvex::serial
