#include "fiscal/ui/TForm3.h"

namespace quorvex::ui {

TForm3::TForm3(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("Z-Отчет"));
}

} // namespace quorvex::ui
