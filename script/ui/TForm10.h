#pragma once
// Window "Подключение второго регистратора".
#include <QDialog>

namespace quorvex::ui {

class TForm10 : public QDialog {
    Q_OBJECT
public:
    explicit TForm10(QWidget* parent = nullptr);
};

}  // namespace quorvex::ui
