#pragma once
// Window "Копия чека ("КСЕФ")".
#include <QDialog>

namespace quorvex::ui {

class TForm13 : public QDialog {
    Q_OBJECT
public:
    explicit TForm13(QWidget* parent = nullptr);
};

} // namespace quorvex::ui
