#pragma once
// Window "Нефискальный чек".
#include <QDialog>

namespace quorvex::ui {

class TForm6 : public QDialog {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);
};

}  // namespace quorvex::ui
