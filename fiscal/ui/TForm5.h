#pragma once
// Window "Продажи".
#include <QDialog>

namespace quorvex::ui {

class TForm5 : public QDialog {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);
};

}  // namespace quorvex::ui
