#pragma once
// Window "Параметры удаленного доступа".
#include <QDialog>

namespace quorvex::ui {

class TForm16 : public QDialog {
    Q_OBJECT
public:
    explicit TForm16(QWidget* parent = nullptr);
};

} // namespace quorvex::ui
