#pragma once
// Emulated registrar commands: the modem state and the acquirer-link network parameters.
#include "emulator/DeviceState.h"

#include <optional>
#include <string>

namespace quorvex::emulator {

class NetworkCommands {
public:
    // The answer to a command of this family; nullopt for a command it does not know.
    [[nodiscard]] std::optional<ModelAnswer> handle(int command, const std::string& data,
                                                    DeviceState& state);
};

} // namespace quorvex::emulator
