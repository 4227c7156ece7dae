#include "netcfg/ui/TForm14.h"

namespace quorvex::ui {

TForm14::TForm14(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm14"));
    setWindowTitle(QStringLiteral("Состояние модема"));
}

}  // namespace quorvex::ui
