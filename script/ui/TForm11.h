#pragma once
// Window "Сравнительная информация регистраторов".
#include <QDialog>

namespace quorvex::ui {

class TForm11 : public QDialog {
    Q_OBJECT
public:
    explicit TForm11(QWidget* parent = nullptr);
};

}  // namespace quorvex::ui
