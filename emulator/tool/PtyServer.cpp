#include "PtyServer.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace quorvex::emulator {

namespace {

constexpr int kIdlePollMs = 200;
constexpr int kHangupPauseMs = 20;

std::int64_t wallMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string systemError(const char* what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

bool makeRaw(int fd)
{
    termios tio{};
    if (tcgetattr(fd, &tio) != 0)
        return false;
    cfmakeraw(&tio);
    return tcsetattr(fd, TCSANOW, &tio) == 0;
}

} // namespace

PtyServer::~PtyServer()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

bool PtyServer::open(std::string& error)
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0) {
        error = systemError("posix_openpt");
        return false;
    }
    char name[256] = {};
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0 ||
        ptsname_r(m_master, name, sizeof name) != 0) {
        error = systemError("preparing the pseudo-terminal");
        return false;
    }
    m_path = name;
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0 || !makeRaw(m_slave) || !makeRaw(m_master)) {
        error = systemError("setting raw mode");
        return false;
    }
    return true;
}

void PtyServer::run(const volatile std::sig_atomic_t& stop)
{
    const std::int64_t start = wallMs() - m_registrar.nowMs();
    while (stop == 0) {
        m_registrar.advanceMs(wallMs() - start - m_registrar.nowMs());
        sendDue();

        int timeout = kIdlePollMs;
        if (const auto due = m_registrar.nextDueMs())
            timeout = static_cast<int>(
                std::clamp<std::int64_t>(*due - m_registrar.nowMs(), 0, kIdlePollMs));
        pollfd pfd{m_master, POLLIN, 0};
        const int ready = ::poll(&pfd, 1, timeout);
        if (ready <= 0)
            continue; // time-out, or a signal that may have set stop
        m_registrar.advanceMs(wallMs() - start - m_registrar.nowMs());
        if (pfd.revents & POLLIN)
            receiveAvailable();
        else if (pfd.revents & (POLLHUP | POLLERR))
            ::poll(nullptr, 0, kHangupPauseMs); // no host at the moment: do not spin
    }
}

void PtyServer::receiveAvailable()
{
    std::uint8_t buffer[512];
    const ssize_t n = ::read(m_master, buffer, sizeof buffer);
    for (ssize_t i = 0; i < n; ++i)
        m_registrar.receiveByte(buffer[i]);
}

void PtyServer::sendDue()
{
    std::string due;
    while (auto byte = m_registrar.takeByte())
        due += static_cast<char>(*byte);
    std::size_t sent = 0;
    while (sent < due.size()) {
        const ssize_t n = ::write(m_master, due.data() + sent, due.size() - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // The host is not reading and the terminal's queue is full: what does not fit is
        // dropped, as a line nobody listens to would lose it.
        break;
    }
}

} // namespace quorvex::emulator
