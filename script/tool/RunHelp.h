#pragma once
// The text of quorvex-run --help.
#include <string>

namespace quorvex::script {

[[nodiscard]] std::string runHelp();

} // namespace quorvex::script
