#include "platform/qt/OneClickAtATime.h"

#include <QVariant>

namespace quorvex::platform {

namespace {
constexpr const char* kInFlight = "quorvexInFlight";
}

InFlight::InFlight(QObject* control)
    : m_control(control), m_entered(!control->property(kInFlight).toBool())
{
    if (m_entered)
        control->setProperty(kInFlight, true);
}

InFlight::~InFlight()
{
    if (m_entered && m_control)
        m_control->setProperty(kInFlight, false);
}

} // namespace quorvex::platform
