#pragma once
// Window "О программе".
#include <QDialog>

namespace quorvex::ui {

class TForm9 : public QDialog {
    Q_OBJECT
public:
    explicit TForm9(QWidget* parent = nullptr);
};

}  // namespace quorvex::ui
