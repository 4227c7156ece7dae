#pragma once
// Emulated registrar commands: fiscal, return and non-fiscal receipts, articles, sales, payment,
// printing and the customer display.
#include "emulator/DeviceState.h"

#include <optional>
#include <string>

namespace quorvex::emulator {

class ReceiptCommands {
public:
    // The answer to a command of this family; nullopt for a command it does not know.
    [[nodiscard]] std::optional<ModelAnswer> handle(int command, const std::string& data,
                                                    DeviceState& state);
};

} // namespace quorvex::emulator
