#pragma once
// Money in answer fields, as the fiscal windows show it. Numbers typed by the operator are read
// with platform/NumberText.h.
#include <optional>
#include <string>

namespace quorvex::fiscal {

// An answer field holding an integer number of hundredths, as money: "1250" gives "12.50",
// "-5" gives "-0.05". nullopt when the field is not an integer.
[[nodiscard]] std::optional<std::string> hundredthsAsMoney(const std::string& field);

} // namespace quorvex::fiscal
