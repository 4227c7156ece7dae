#include "fiscal/ui/TForm13.h"

namespace quorvex::ui {

TForm13::TForm13(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm13"));
    setWindowTitle(QStringLiteral("Копия чека (\"КСЕФ\")"));
}

} // namespace quorvex::ui
