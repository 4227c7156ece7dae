#include "netcfg/ui/TForm15.h"

namespace quorvex::ui {

TForm15::TForm15(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm15"));
    setWindowTitle(QStringLiteral("Параметры связи с эквайером"));
}

}  // namespace quorvex::ui
