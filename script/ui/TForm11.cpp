#include "script/ui/TForm11.h"

namespace quorvex::ui {

TForm11::TForm11(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm11"));
    setWindowTitle(QStringLiteral("Сравнительная информация регистраторов"));
}

}  // namespace quorvex::ui
