#pragma once
// Window "Параметры удаленного доступа".
#include <QDialog>

namespace quorvex::ui {

class RemoteAccessWindow : public QDialog {
    Q_OBJECT
public:
    explicit RemoteAccessWindow(QWidget* parent = nullptr);
};

} // namespace quorvex::ui
