#include "platform/NativePath.h"

#include <algorithm>

namespace quorvex::platform {

std::string nativePath(const std::string& path)
{
#ifdef _WIN32
    return path;
#else
    std::string native = path;
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
#endif
}

} // namespace quorvex::platform
