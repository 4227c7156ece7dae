#pragma once
// Window "Служебный внос/вынос".
#include <QDialog>

namespace quorvex::ui {

class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
};

} // namespace quorvex::ui
