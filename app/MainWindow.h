#pragma once
// The main window "Quorvex": chooses, connects and disconnects the first registrar's port,
// reads fpinit.ini on every activation and opens every other window from its menu.
#include "app/AppWindows.h"
#include "link/ConnectionSettings.h"
#include "link/Exchange.h"

#include <QElapsedTimer>
#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>

class QDialog;

namespace Ui {
class MainWindow;
}

namespace quorvex::serial {
class PortEnumerator;
}

namespace quorvex::ui {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The windows this one opens; main is ignored.
    void setWindows(const AppWindows& windows);
    // Called instead of ending the program when fpinit.ini is missing (tests observe it).
    // By default the application's event loops are left with exit code 1.
    void setTerminateHandler(std::function<void()> terminate);

    // Every time the window becomes active: port list, settings file, log, port and speed.
    void refreshPortsAndSettings();
    void toggleConnection();
    void openStatusWindow();
    void closeWindow();

    void printXReport();
    void printGoodsReport();
    void openReceiptCopies();

    [[nodiscard]] bool isConnected() const { return m_connected; }

signals:
    // The main window was closed: the program ends.
    void closed();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void connectSignals();
    void connectMenuItem(QAction* item, std::function<QDialog*()> window);
    void openModal(QDialog* window);
    [[nodiscard]] bool handedBackByModal();
    void selectStoredChoice(const std::string& settingsPath);
    void connectFirstPort();
    void disconnectFirstPort();
    void probeRegistrar();
    void showConnectedState(bool connected);
    void sendReport(const link::Operation& report);
    void terminate();

    std::unique_ptr<Ui::MainWindow> m_ui;
    std::unique_ptr<serial::PortEnumerator> m_portEnumerator;
    AppWindows m_windows;
    std::function<void()> m_terminate;
    bool m_connected = false;
    bool m_activating = false;
    bool m_shownBefore = false;
    bool m_terminated = false;
    int m_modalDepth = 0;        // inside openModal's exec()
    QElapsedTimer m_modalReturn; // since the last return from a modal window
    // Port and speed as fpinit.ini held them at the last activation or connect.
    std::optional<link::RegistrarChoice> m_storedChoice;
};

} // namespace quorvex::ui
