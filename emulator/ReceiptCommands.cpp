#include "emulator/ReceiptCommands.h"

namespace quorvex::emulator {

std::optional<ModelAnswer> ReceiptCommands::handle(int /*command*/, const std::string& /*data*/,
                                                   DeviceState& /*state*/)
{
    return std::nullopt;
}

} // namespace quorvex::emulator
