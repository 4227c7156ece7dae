#include "link/ui/TForm12.h"

namespace quorvex::ui {

TForm12::TForm12(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm12"));
    setWindowTitle(QStringLiteral("Байты состояния регистратора"));
}

}  // namespace quorvex::ui
