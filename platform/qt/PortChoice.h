#pragma once
// Port and speed lists of the connection windows: filling the port list from a listing and
// selecting the stored choice. Shared by the main window and the second-registrar window.
#include <QString>

#include <functional>
#include <string>

class QComboBox;

namespace quorvex::platform {

// Takes every name `next` delivers (Windows-1251) until it gives the empty text or "0", neither of
// which is listed. The list is replaced only when the names differ from those it holds, so an
// open drop-down stays open; the chosen port stays chosen while it is listed, and nothing is
// chosen when it is not. True when the list changed.
bool fillPortList(QComboBox& list, const std::function<std::string()>& next);

// One whole listing of a serial-port component (BeginEnumeratePorts, EnumeratePorts until the
// end, EndEnumeratePorts) into the list. A listing that cannot start lists nothing.
template <typename PortComponent> bool fillPortList(QComboBox& list, PortComponent& ports)
{
    (void)ports.BeginEnumeratePorts();
    const bool changed = fillPortList(list, [&ports] { return ports.EnumeratePorts(); });
    ports.EndEnumeratePorts();
    return changed;
}

// Selects the first port equal to the stored name without regard to case (Linux device names
// are case-sensitive, so the name is not upper-cased: "com2" finds "COM2", "ttyUSB0" stays
// intact); the first item when the name is empty or not listed.
void selectStoredPort(QComboBox& list, const QString& stored);

// Selects the first speed equal to the stored text; the second item, "19200", otherwise.
void selectStoredSpeed(QComboBox& list, const QString& stored);

} // namespace quorvex::platform
