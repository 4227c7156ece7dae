#pragma once
// The fiscal model behind the emulated registrar: the shared device state and the command
// families that act on it. Every command the model knows, with its data, its effect, its answer
// fields and its status bits, is listed in emulator/COMMANDS.md.
#include "emulator/DayCommands.h"
#include "emulator/DeviceState.h"
#include "emulator/NetworkCommands.h"
#include "emulator/ReceiptCommands.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quorvex::emulator {

class FiscalModel {
public:
    // The answer to one command at the registrar's clock time nowMs; nullopt for a command no
    // family knows (the registrar then answers as it always did).
    [[nodiscard]] std::optional<ModelAnswer> handle(int command, const std::string& data,
                                                    std::int64_t nowMs);
    // The bits the registrar reports with every answer in its present state (fiscalised,
    // receipt open, ...), added to those of the answer itself.
    [[nodiscard]] StatusBits standingStatus() const;

    DeviceState& state() { return m_state; }
    [[nodiscard]] const DeviceState& state() const { return m_state; }
    DayCommands& day() { return m_day; }
    ReceiptCommands& receipts() { return m_receipts; }
    NetworkCommands& network() { return m_network; }

private:
    DeviceState m_state;
    DayCommands m_day;
    ReceiptCommands m_receipts;
    NetworkCommands m_network;
};

} // namespace quorvex::emulator
