#pragma once
// Window "Переменные".
#include <QDialog>

namespace quorvex::ui {

class TForm8 : public QDialog {
    Q_OBJECT
public:
    explicit TForm8(QWidget* parent = nullptr);
};

}  // namespace quorvex::ui
