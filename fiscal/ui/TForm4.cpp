#include "fiscal/ui/TForm4.h"

namespace quorvex::ui {

TForm4::TForm4(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("Периодические отчеты"));
}

} // namespace quorvex::ui
