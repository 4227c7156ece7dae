#pragma once
// Window "Состояние модема": asks the registrar for its modem state report and shows the eight
// state flags and the four dates and times. What it shows stays until the next report.
#include <QDialog>

#include <memory>

QT_BEGIN_NAMESPACE
namespace Ui {
class ModemStateWindow;
}
QT_END_NAMESPACE

class QCheckBox;

namespace quorvex::link {
class Link;
}

namespace quorvex::ui {

class ModemStateWindow : public QDialog {
    Q_OBJECT
public:
    // link: where the commands go; nullptr means the process's link.
    explicit ModemStateWindow(QWidget* parent = nullptr, link::Link* link = nullptr);
    ~ModemStateWindow() override;

    // The window "Состояние регистратора" opens ("Байты состояния регистратора").
    void setStatusWindow(QDialog* status) { m_statusWindow = status; }

    void requestReport();    // "Получить отчет"
    void openStatusWindow(); // "Состояние регистратора"
    void closeWindow();      // "Закрыть"

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showStateByte(int state);

    std::unique_ptr<Ui::ModemStateWindow> m_ui;
    link::Link& m_link;
    QDialog* m_statusWindow = nullptr;
};

} // namespace quorvex::ui
