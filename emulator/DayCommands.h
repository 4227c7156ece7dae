#pragma once
// Emulated registrar commands: cash in and out, X and Z reports, goods and periodic reports,
// copies from the journal, and the clock. Each is listed with its data, effect, answer and
// status bits in emulator/COMMANDS.md.
#include "emulator/DeviceState.h"

#include <optional>
#include <string>

namespace quorvex::emulator {

class DayCommands {
public:
    // The answer to a command of this family; nullopt for a command it does not know.
    [[nodiscard]] std::optional<ModelAnswer> handle(int command, const std::string& data,
                                                    DeviceState& state);
};

} // namespace quorvex::emulator
