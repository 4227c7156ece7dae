#include "fiscal/ui/TForm6.h"

namespace quorvex::ui {

TForm6::TForm6(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(QStringLiteral("Нефискальный чек"));
}

}  // namespace quorvex::ui
