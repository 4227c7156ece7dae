#include "emulator/NetworkCommands.h"

namespace quorvex::emulator {

std::optional<ModelAnswer> NetworkCommands::handle(int /*command*/, const std::string& /*data*/,
                                                   DeviceState& /*state*/)
{
    return std::nullopt;
}

} // namespace quorvex::emulator
