#include "app/TForm9.h"

namespace quorvex::ui {

TForm9::TForm9(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm9"));
    setWindowTitle(QStringLiteral("О программе"));
}

}  // namespace quorvex::ui
