#include "script/ui/TForm8.h"

namespace quorvex::ui {

TForm8::TForm8(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm8"));
    setWindowTitle(QStringLiteral("Переменные"));
}

}  // namespace quorvex::ui
