#include "serial/qt/RealSerialLine.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include "serial/win32/Win32SerialLine.h"
#else
#include "serial/qt/QtSerialLine.h"
#endif

namespace quorvex::serial {

std::unique_ptr<SerialLine> openRealSerialLine(const std::string& name, int baud,
                                               std::string* failure)
{
#ifdef Q_OS_WIN
    return Win32SerialLine::open(name, baud, failure);
#else
    return QtSerialLine::open(name, baud, failure);
#endif
}

void installRealSerialFallback(PortRegistry& registry)
{
    registry.setFallback([](const std::string& name, int baud, std::string& failure) {
        return openRealSerialLine(name, baud, &failure);
    });
}

} // namespace quorvex::serial
