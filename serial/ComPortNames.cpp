#include "serial/ComPortNames.h"

namespace quorvex::serial {

namespace {

bool isComPortName(const std::string& name)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return name.size() >= 3 && lower(name[0]) == 'c' && lower(name[1]) == 'o' &&
           lower(name[2]) == 'm';
}

} // namespace

std::vector<std::string> comPortNames(const std::vector<std::optional<std::string>>& deviceNames)
{
    std::vector<std::string> names;
    for (const std::optional<std::string>& name : deviceNames) {
        if (name && isComPortName(*name))
            names.push_back(*name);
    }
    return names;
}

} // namespace quorvex::serial
