#include "emulator/DayCommands.h"

namespace quorvex::emulator {

std::optional<ModelAnswer> DayCommands::handle(int /*command*/, const std::string& /*data*/,
                                               DeviceState& /*state*/)
{
    return std::nullopt;
}

} // namespace quorvex::emulator
