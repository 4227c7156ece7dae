#pragma once
// A pseudo-terminal whose master side the test drives; the slave path is what the line opens.
#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace quorvex::serial::testing {

class PtyPair {
public:
    PtyPair()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0)
            m_slavePath = ::ptsname(m_master);
    }
    ~PtyPair() { closeMaster(); }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    [[nodiscard]] bool ok() const { return m_master >= 0 && !m_slavePath.empty(); }
    [[nodiscard]] const std::string& slavePath() const { return m_slavePath; }

    void send(const std::vector<std::uint8_t>& bytes) const
    {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(m_master, bytes.data() + done, bytes.size() - done);
            if (n <= 0)
                return;
            done += static_cast<std::size_t>(n);
        }
    }

    // Writes as much as the terminal takes at once, waiting at most timeoutMs for room; never
    // blocks beyond that. False when nothing was written.
    bool sendWithin(const std::vector<std::uint8_t>& bytes, int timeoutMs) const
    {
        pollfd p{m_master, POLLOUT, 0};
        if (::poll(&p, 1, timeoutMs) <= 0)
            return false;
        const int flags = ::fcntl(m_master, F_GETFL);
        ::fcntl(m_master, F_SETFL, flags | O_NONBLOCK);
        const ssize_t n = ::write(m_master, bytes.data(), bytes.size());
        ::fcntl(m_master, F_SETFL, flags);
        return n > 0;
    }

    // Bytes the line wrote, until count have come or a second passes without any.
    [[nodiscard]] std::vector<std::uint8_t> receive(std::size_t count) const
    {
        std::vector<std::uint8_t> bytes;
        while (bytes.size() < count) {
            pollfd p{m_master, POLLIN, 0};
            if (::poll(&p, 1, 1000) <= 0)
                break;
            std::uint8_t buffer[512];
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n <= 0)
                break;
            bytes.insert(bytes.end(), buffer, buffer + n);
        }
        return bytes;
    }

    void closeMaster()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    std::string m_slavePath;
};

} // namespace quorvex::serial::testing
