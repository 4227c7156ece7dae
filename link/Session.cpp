#include "link/Session.h"

#include "platform/NativePath.h"

namespace quorvex::link {

std::string Session::settingsPath() const
{
    return platform::pathText(platform::filePath(programDirectory) / "fpinit.ini");
}

Session& session()
{
    static Session s;
    return s;
}

} // namespace quorvex::link
