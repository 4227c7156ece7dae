#pragma once
// Window "Команды и скрипты".
#include <QDialog>

namespace quorvex::ui {

class TForm7 : public QDialog {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);
};

}  // namespace quorvex::ui
