#include "fiscal/ui/TForm2.h"

namespace quorvex::ui {

TForm2::TForm2(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("Служебный внос/вынос"));
}

} // namespace quorvex::ui
