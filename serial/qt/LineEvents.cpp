#include "serial/qt/LineEvents.h"

namespace quorvex::serial {

LineEvents& lineEvents()
{
    static LineEvents events;
    return events;
}

} // namespace quorvex::serial
