#pragma once
// Window "Z-Отчет".
#include <QDialog>

namespace quorvex::ui {

class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
};

} // namespace quorvex::ui
