#include "script/ui/TForm7.h"

namespace quorvex::ui {

TForm7::TForm7(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm7"));
    setWindowTitle(QStringLiteral("Команды и скрипты"));
}

}  // namespace quorvex::ui
