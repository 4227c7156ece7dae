#pragma once
// The port names a listing of the system's port devices offers.
#include <optional>
#include <string>
#include <vector>

namespace quorvex::serial {

// From the names read for each device of the system's port class, in the system's order: the
// COM ports, each name as stored. A device whose name could not be read (nullopt) is skipped
// and the devices after it are still offered; a name that does not begin with "COM" in any
// case (a printer port such as LPT1) is left out.
[[nodiscard]] std::vector<std::string>
comPortNames(const std::vector<std::optional<std::string>>& deviceNames);

} // namespace quorvex::serial
