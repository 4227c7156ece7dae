#include "emulator/EmulatedLine.h"

#include <stdexcept>

namespace quorvex::emulator {

namespace {

constexpr std::int64_t kReadLimitMs = 100;

class EmulatedLine final : public serial::SerialLine {
public:
    explicit EmulatedLine(Registrar& registrar) : m_registrar(registrar) {}

    bool flush() override { return !m_closed; }

    bool purge() override
    {
        if (!m_closed)
            m_registrar.discardOutput();
        return !m_closed;
    }

    bool write(const std::uint8_t* data, std::size_t size) override
    {
        if (m_closed)
            return false;
        for (std::size_t i = 0; i < size; ++i)
            m_registrar.receiveByte(data[i]);
        return true;
    }

    serial::ReadResult readByte() override
    {
        if (!m_closed) {
            if (auto byte = m_registrar.takeByte())
                return serial::ReadResult::of(*byte);
            const auto due = m_registrar.nextDueMs();
            if (due && *due - m_registrar.nowMs() <= kReadLimitMs) {
                m_registrar.advanceMs(*due - m_registrar.nowMs());
                if (auto byte = m_registrar.takeByte())
                    return serial::ReadResult::of(*byte);
            }
        }
        m_registrar.advanceMs(kReadLimitMs);
        return serial::ReadResult::nothing();
    }

    void clearError() override {}

    bool close() override
    {
        m_closed = true;
        return true;
    }

private:
    Registrar& m_registrar;
    bool m_closed = false;
};

Identity processIdentity(int n)
{
    if (n == 1)
        return {"5.00", "QV000001"};
    if (n == 2)
        return {"3.10", "QV000002"};
    throw std::out_of_range("emulated registrar number must be 1 or 2");
}

} // namespace

std::unique_ptr<serial::SerialLine> makeEmulatedLine(Registrar& registrar)
{
    return std::make_unique<EmulatedLine>(registrar);
}

namespace {

// A registrar in its start state whose clock starts at the machine's local time.
Registrar startedRegistrar(int n)
{
    Registrar registrar(processIdentity(n));
    registrar.model().state().setClock(machineLocalTime());
    return registrar;
}

} // namespace

Registrar& processRegistrar(int n)
{
    static Registrar first = startedRegistrar(1);
    static Registrar second = startedRegistrar(2);
    if (n == 1)
        return first;
    if (n == 2)
        return second;
    throw std::out_of_range("emulated registrar number must be 1 or 2");
}

void resetProcessRegistrars()
{
    processRegistrar(1) = startedRegistrar(1);
    processRegistrar(2) = startedRegistrar(2);
}

void registerEmulatedPorts(serial::PortRegistry& registry)
{
    registry.addVirtualPort(
        "EMU1", [](const std::string&, int) { return makeEmulatedLine(processRegistrar(1)); });
    registry.addVirtualPort(
        "EMU2", [](const std::string&, int) { return makeEmulatedLine(processRegistrar(2)); });
}

} // namespace quorvex::emulator
