#pragma once
// Window "Параметры связи с эквайером".
#include <QDialog>

namespace quorvex::ui {

class TForm15 : public QDialog {
    Q_OBJECT
public:
    explicit TForm15(QWidget* parent = nullptr);
};

}  // namespace quorvex::ui
