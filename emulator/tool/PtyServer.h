#pragma once
// Serves one Registrar on a pseudo-terminal in real time: request bytes read from the master
// side go to the registrar, whose clock follows the wall clock, and every byte that falls due
// (SYN while working, the answer) is written back at once.
#include "emulator/Registrar.h"

#include <csignal>
#include <string>

namespace quorvex::emulator {

class PtyServer {
public:
    explicit PtyServer(Registrar& registrar) : m_registrar(registrar) {}
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Creates the pseudo-terminal in raw mode; false with a message when that fails.
    [[nodiscard]] bool open(std::string& error);
    // The device path a host opens (the slave side).
    [[nodiscard]] const std::string& devicePath() const { return m_path; }
    // Serves until stop becomes non-zero.
    void run(const volatile std::sig_atomic_t& stop);

private:
    void receiveAvailable();
    void sendDue();

    Registrar& m_registrar;
    int m_master = -1;
    int m_slave = -1; // kept open so the master never sees a hang-up between hosts
    std::string m_path;
};

} // namespace quorvex::emulator
