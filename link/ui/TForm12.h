#pragma once
// Window "Байты состояния регистратора".
#include <QDialog>

namespace quorvex::ui {

class TForm12 : public QDialog {
    Q_OBJECT
public:
    explicit TForm12(QWidget* parent = nullptr);
};

}  // namespace quorvex::ui
