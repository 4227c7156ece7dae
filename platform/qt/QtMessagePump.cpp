#include "platform/qt/QtMessagePump.h"

#include "platform/MessagePump.h"

#include <QCoreApplication>

namespace quorvex::platform {

void installQtMessagePump()
{
    setMessagePump([] { QCoreApplication::processEvents(); });
}

} // namespace quorvex::platform
