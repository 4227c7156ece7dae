#include "fiscal/ui/TForm5.h"

namespace quorvex::ui {

TForm5::TForm5(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm5"));
    setWindowTitle(QStringLiteral("Продажи"));
}

}  // namespace quorvex::ui
