#include "netcfg/ModemState.h"

#include <string_view>

namespace quorvex::netcfg {

namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEF";

int halfAt(const std::string& field, std::size_t index)
{
    if (index >= field.size())
        return 0;
    const std::size_t found = kHexDigits.find(field[index]);
    return found == std::string_view::npos ? 0 : static_cast<int>(found);
}

} // namespace

std::uint8_t modemStateByte(const std::string& field)
{
    return static_cast<std::uint8_t>(halfAt(field, 0) * 16 + halfAt(field, 1));
}

} // namespace quorvex::netcfg
