#pragma once
// Window "Состояние модема".
#include <QDialog>

namespace quorvex::ui {

class TForm14 : public QDialog {
    Q_OBJECT
public:
    explicit TForm14(QWidget* parent = nullptr);
};

}  // namespace quorvex::ui
