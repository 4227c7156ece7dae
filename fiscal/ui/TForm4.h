#pragma once
// Window "Периодические отчеты".
#include <QDialog>

namespace quorvex::ui {

class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);
};

} // namespace quorvex::ui
