#include "netcfg/ui/RemoteAccessWindow.h"

namespace quorvex::ui {

RemoteAccessWindow::RemoteAccessWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("RemoteAccessWindow"));
    setWindowTitle(QStringLiteral("Параметры удаленного доступа"));
}

} // namespace quorvex::ui
