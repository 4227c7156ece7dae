#include "script/ui/TForm10.h"

namespace quorvex::ui {

TForm10::TForm10(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm10"));
    setWindowTitle(QStringLiteral("Подключение второго регистратора"));
}

}  // namespace quorvex::ui
