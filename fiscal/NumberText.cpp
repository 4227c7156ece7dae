#include "fiscal/NumberText.h"

#include "platform/NumberText.h"

#include <cstdint>

namespace quorvex::fiscal {

std::optional<std::string> hundredthsAsMoney(const std::string& field)
{
    const auto value = platform::longIntegerValue(field);
    if (!value)
        return std::nullopt;
    const std::uint64_t magnitude =
        *value < 0 ? 0 - static_cast<std::uint64_t>(*value) : static_cast<std::uint64_t>(*value);
    const std::uint64_t cents = magnitude % 100;
    return std::string(*value < 0 ? "-" : "") + std::to_string(magnitude / 100) +
           (cents < 10 ? ".0" : ".") + std::to_string(cents);
}

} // namespace quorvex::fiscal
