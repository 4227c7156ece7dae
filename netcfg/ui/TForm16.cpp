#include "netcfg/ui/TForm16.h"

namespace quorvex::ui {

TForm16::TForm16(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm16"));
    setWindowTitle(QStringLiteral("Параметры удаленного доступа"));
}

} // namespace quorvex::ui
