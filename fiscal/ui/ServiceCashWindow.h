#pragma once
// Window "Служебный внос/вынос": registers a service cash-in or cash-out of an amount.
#include <QDialog>

#include <memory>

namespace Ui {
class ServiceCashWindow;
}

namespace quorvex::ui {

class ServiceCashWindow : public QDialog {
    Q_OBJECT
public:
    explicit ServiceCashWindow(QWidget* parent = nullptr);
    ~ServiceCashWindow() override;

    // Every opening: the kind goes back to "Служебный внос".
    void selectCashIn();
    // "Выполнить": checks the amount, sends it (negated for a cash-out) and reports the outcome.
    void sendAmount();
    // "Закрыть".
    void closeWindow();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::ServiceCashWindow> m_ui;
};

} // namespace quorvex::ui
