#pragma once
// Window "Подключение второго регистратора": picks the second registrar's port and speed,
// connects and disconnects it, remembers the choice in the settings file and opens the
// comparison window after each successful connection.
#include <QDialog>

#include <memory>
#include <optional>
#include <string>

namespace Ui {
class SecondRegistrarWindow;
}
namespace quorvex::serial {
class PortEnumerator;
}

namespace quorvex::ui {

class SecondRegistrarWindow : public QDialog {
    Q_OBJECT
public:
    explicit SecondRegistrarWindow(QWidget* parent = nullptr);
    ~SecondRegistrarWindow() override;

    // The comparison window, opened modally after every successful connection (not owned).
    void setComparisonWindow(QDialog* comparison);

    // Every activation: decimal point, then (until the first connection) the port list and
    // both selections from the settings file.
    void refreshPortChoice();
    // Connect while the indicator is red, disconnect while it is green.
    void toggleConnection();
    // "Продолжить" goes back to "Закрыть"; closes the window.
    void closeWindow();

    [[nodiscard]] bool indicatorGreen() const;
    [[nodiscard]] bool listsFrozen() const { return m_listsFrozen; }

protected:
    bool event(QEvent* event) override;

private:
    void selectStoredChoice();
    void connectSecond();
    // The port name the selection stands for; for the exchange-log entry, the replay of the log
    // the operator chooses (nothing when none is chosen).
    [[nodiscard]] std::optional<std::string> portToOpen() const;
    void disconnectSecond();
    void showConnected(bool connected);
    void rememberChoiceInSession();

    std::unique_ptr<Ui::SecondRegistrarWindow> m_ui;
    std::unique_ptr<serial::PortEnumerator> m_portEnumerator; // port listing only
    QDialog* m_comparison = nullptr;
    bool m_listsFrozen = false;
};

} // namespace quorvex::ui
