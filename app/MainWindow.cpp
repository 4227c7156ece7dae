#include "app/MainWindow.h"

#include "app/AboutWindow.h"
#include "fiscal/RegistrarVersion.h"
#include "fiscal/ui/NonFiscalReceiptWindow.h"
#include "fiscal/ui/PeriodicReportsWindow.h"
#include "fiscal/ui/ReceiptCopiesWindow.h"
#include "fiscal/ui/SalesWindow.h"
#include "fiscal/ui/ServiceCashWindow.h"
#include "fiscal/ui/WindowMessages.h"
#include "fiscal/ui/ZReportWindow.h"
#include "link/Connect.h"
#include "link/ConnectionSettings.h"
#include "link/Link.h"
#include "link/Operations.h"
#include "link/ResultState.h"
#include "link/Session.h"
#include "link/ui/ExchangeMonitor.h"
#include "link/ui/OutcomeMessage.h"
#include "link/ui/StatusWindow.h"
#include "netcfg/ui/AcquirerLinkWindow.h"
#include "netcfg/ui/ModemStateWindow.h"
#include "netcfg/ui/RemoteAccessWindow.h"
#include "platform/Dialogs.h"
#include "platform/IniFile.h"
#include "platform/MessagePump.h"
#include "platform/NativePath.h"
#include "platform/qt/ModalWindow.h"
#include "platform/qt/OneClickAtATime.h"
#include "platform/qt/PortChoice.h"
#include "platform/qt/TextCodec.h"
#include "script/ui/ComparisonWindow.h"
#include "script/ui/ScriptWindow.h"
#include "script/ui/SecondRegistrarWindow.h"
#include "script/ui/VariablesWindow.h"
#include "serial/qt/LineEvents.h"
#include "serial/qt/PortEnumerator.h"
#include "ui_MainWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenuBar>
#include <QMetaObject>

#include <clocale>
#include <filesystem>
#include <iostream>

namespace quorvex::ui {

namespace {

// The default operator password the report menu items send.
const std::string kOperatorPassword = "9011";
constexpr std::int8_t kXReportType = 2;
constexpr char kSoldGoodsLetter = 'S';

// How long after a modal window's return the window system's hand-back may arrive.
constexpr qint64 kHandBackMs = 1000;

void quitAllEventLoops()
{
    // Queued, so that it also works when the loop has not started yet.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
}

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), m_ui(std::make_unique<Ui::MainWindow>()),
      m_portEnumerator(std::make_unique<serial::PortEnumerator>()), m_terminate(quitAllEventLoops)
{
    m_ui->setupUi(this);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    // Wide enough for the whole menu bar: no menu may hide behind the overflow arrow.
    centralWidget()->setMinimumWidth(menuBar()->sizeHint().width());
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    showConnectedState(false);
    m_ui->extraMenu->menuAction()->setEnabled(false);
    connectSignals();
}

MainWindow::~MainWindow() = default;

void MainWindow::setWindows(const AppWindows& windows)
{
    m_windows = windows;
    // Ctrl+M opens the exchange monitor from every window, the modal ones included.
    QWidget* const others[] = {
        m_windows.serviceCash, m_windows.zReport,      m_windows.periodicReports,
        m_windows.sales,       m_windows.nonFiscal,    m_windows.script,
        m_windows.variables,   m_windows.about,        m_windows.secondRegistrar,
        m_windows.comparison,  m_windows.status,       m_windows.receiptCopies,
        m_windows.modem,       m_windows.acquirerLink, m_windows.remoteAccess,
        m_windows.monitor,
    };
    for (QWidget* window : others) {
        if (window != nullptr)
            window->addAction(m_ui->monitorItem);
    }
}

void MainWindow::setTerminateHandler(std::function<void()> terminate)
{
    m_terminate = std::move(terminate);
}

void MainWindow::connectSignals()
{
    platform::connectOneAtATime(m_ui->connectButton, &QPushButton::clicked, this,
                                &MainWindow::toggleConnection);
    connect(m_ui->statusButton, &QPushButton::clicked, this, &MainWindow::openStatusWindow);
    connect(m_ui->closeButton, &QPushButton::clicked, this, &MainWindow::closeWindow);

    connectMenuItem(m_ui->serviceCashItem, [this] { return m_windows.serviceCash; });
    connectMenuItem(m_ui->fiscalReceiptItem, [this] { return m_windows.sales; });
    connectMenuItem(m_ui->nonFiscalReceiptItem, [this] { return m_windows.nonFiscal; });
    connectMenuItem(m_ui->zReportItem, [this] { return m_windows.zReport; });
    connectMenuItem(m_ui->periodicReportItem, [this] { return m_windows.periodicReports; });
    connectMenuItem(m_ui->scriptsItem, [this] { return m_windows.script; });
    connectMenuItem(m_ui->modemStateItem, [this] { return m_windows.modem; });
    connectMenuItem(m_ui->acquirerLinkItem, [this] { return m_windows.acquirerLink; });
    connectMenuItem(m_ui->aboutItem, [this] { return m_windows.about; });
    platform::connectOneAtATime(m_ui->xReportItem, &QAction::triggered, this,
                                &MainWindow::printXReport);
    platform::connectOneAtATime(m_ui->goodsReportItem, &QAction::triggered, this,
                                &MainWindow::printGoodsReport);
    platform::connectOneAtATime(m_ui->receiptCopiesItem, &QAction::triggered, this,
                                &MainWindow::openReceiptCopies);
    // The monitor opens at any time, also before connecting while its menu is disabled: the
    // windows themselves carry the action, so Ctrl+M works (setWindows adds it to the others).
    addAction(m_ui->monitorItem);
    // A line that hangs up while nothing is exchanged is told once, here and on the terminal.
    connect(&serial::lineEvents(), &serial::LineEvents::hungUp, this, [this](const QString& path) {
        const QString note =
            QStringLiteral("Порт %1: устройство отключено или линия разорвана").arg(path);
        std::cerr << "quorvex: " << note.toStdString() << std::endl;
        m_ui->mainStatusBar->showMessage(note);
    });
    connect(m_ui->monitorItem, &QAction::triggered, this, [this] {
        if (m_windows.monitor != nullptr)
            m_windows.monitor->open();
    });
}

void MainWindow::connectMenuItem(QAction* item, std::function<QDialog*()> window)
{
    connect(item, &QAction::triggered, this, [this, window] { openModal(window()); });
}

void MainWindow::openModal(QDialog* window)
{
    if (!window)
        return;
    ++m_modalDepth;
    platform::execModal(*window);
    --m_modalDepth;
    // Whether the window system hands the activation back after a modal window is up to it;
    // the return activates here in any case, and handedBackByModal() drops the hand-back.
    refreshPortsAndSettings();
    m_modalReturn.start();
}

// True for an activation the window system hands back while a modal window closes or just
// after: the return from that window has activated already.
bool MainWindow::handedBackByModal()
{
    if (m_modalDepth > 0)
        return true;
    if (m_modalReturn.isValid() && m_modalReturn.elapsed() < kHandBackMs) {
        m_modalReturn.invalidate();
        return true;
    }
    return false;
}

bool MainWindow::event(QEvent* event)
{
    const bool handled = QMainWindow::event(event);
    // The first showing counts as an activation even where no window manager activates the
    // window (bare X servers, the offscreen platform).
    const bool firstShow = event->type() == QEvent::Show && !m_shownBefore;
    if (firstShow)
        m_shownBefore = true;
    if (firstShow || (event->type() == QEvent::WindowActivate && !handedBackByModal()))
        refreshPortsAndSettings();
    return handled;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}

void MainWindow::refreshPortsAndSettings()
{
    // A message box shown here hands the activation back when it closes; do not start over.
    if (m_activating || m_terminated)
        return;
    m_activating = true;

    std::setlocale(LC_NUMERIC, "C");
    platform::fillPortList(*m_ui->portCombo, *m_portEnumerator);
    link::Session& session = link::session();
    if (session.programDirectory.empty())
        session.programDirectory = platform::currentDirectory();
    const std::string settingsPath = session.settingsPath();

    if (!platform::FileExists(settingsPath)) {
        showMessage(QStringLiteral("Файл fpinit.ini отсутствует.\n Ошибка!"));
        terminate();
    } else {
        if (const auto logName = link::readLogName(settingsPath))
            link::SetLogName(*logName);
        link::processLink().setAnswerEnd(link::readAnswerEnd(settingsPath));
        link::processLink().setBusyLimit(link::readBusyLimit(settingsPath));
        selectStoredChoice(settingsPath);
    }
    m_activating = false;
}

// The stored port and speed are chosen when they changed in the file (or at the first
// activation), and a port when none is chosen; otherwise the operator's own choice stays.
void MainWindow::selectStoredChoice(const std::string& settingsPath)
{
    const link::RegistrarChoice stored =
        link::readRegistrarChoice(settingsPath, link::Registrar::First);
    const bool storedChanged = !m_storedChoice || m_storedChoice->port != stored.port ||
                               m_storedChoice->speed != stored.speed;
    m_storedChoice = stored;
    if (storedChanged || m_ui->portCombo->currentIndex() < 0)
        platform::selectStoredPort(*m_ui->portCombo, platform::fromCp1251(stored.port));
    if (storedChanged)
        platform::selectStoredSpeed(*m_ui->speedCombo, platform::fromCp1251(stored.speed));
}

void MainWindow::terminate()
{
    m_terminated = true;
    if (m_terminate)
        m_terminate();
}

void MainWindow::toggleConnection()
{
    if (m_connected)
        disconnectFirstPort();
    else
        connectFirstPort();
}

void MainWindow::connectFirstPort()
{
    const std::string portText = platform::toCp1251(m_ui->portCombo->currentText());
    const std::string speedText = platform::toCp1251(m_ui->speedCombo->currentText());
    if (!link::openRegistrar({link::Registrar::First, portText,
                              m_ui->speedCombo->currentText().toInt(),
                              link::RegistrarChoice{portText, speedText}})) {
        // The window's message stays as it is; the reason goes to the terminal and the log.
        std::cerr << "quorvex: " << platform::fromCp1251(link::lastOpenFailure()).toStdString()
                  << std::endl;
        showMessage(QStringLiteral("Невозможно подключить порт"));
        return;
    }

    showConnectedState(true);
    m_ui->extraMenu->menuAction()->setEnabled(true);
    link::Session& session = link::session();
    session.firstPortText = portText;
    session.firstSpeedText = speedText;
    m_storedChoice = link::RegistrarChoice{portText, speedText}; // what the connect wrote
    session.freshConnection = true;
    probeRegistrar();
}

void MainWindow::probeRegistrar()
{
    // One status request tells whether a registrar answers on the freshly opened port.
    if (!link::registrarAnswers())
        showMessage(QStringLiteral("Устройство не отвечает!"));
}

void MainWindow::disconnectFirstPort()
{
    if (link::CloseFirstPort() == 0)
        return;
    showConnectedState(false);
    m_ui->mainStatusBar->clearMessage();
}

void MainWindow::showConnectedState(bool connected)
{
    m_connected = connected;
    m_ui->salesMenu->menuAction()->setEnabled(connected);
    m_ui->scriptsItem->setEnabled(connected);
    m_ui->connectionIndicator->setConnected(connected);
    m_ui->connectButton->setText(connected ? QStringLiteral("Отключить")
                                           : QStringLiteral("Подключить"));
    m_ui->portCombo->setEnabled(!connected);
    m_ui->speedCombo->setEnabled(!connected);
    m_ui->statusButton->setEnabled(connected);
}

void MainWindow::openStatusWindow()
{
    openModal(m_windows.status);
}

void MainWindow::closeWindow()
{
    close();
}

void MainWindow::printXReport()
{
    sendReport([](auto&&... fixed) {
        return link::DailyReport(fixed..., kOperatorPassword, kXReportType);
    });
}

void MainWindow::printGoodsReport()
{
    sendReport([](auto&&... fixed) {
        return link::GoodsReport(fixed..., kOperatorPassword, kSoldGoodsLetter);
    });
}

void MainWindow::sendReport(const link::Operation& report)
{
    showOutcome(link::runOperation(report, link::Pump::Yes), QStringLiteral("Отчет - успешно"),
                QStringLiteral("Ошибка отчета"));
}

void MainWindow::openReceiptCopies()
{
    // Only registrars that keep receipt copies get the window; the diagnostic answer's version
    // tells which.
    // The status request's outcome is not examined.
    (void)link::runOperation([](auto&&... fixed) { return link::GetStatus(fixed..., 0); });
    const link::ExchangeOutcome diagnostic = link::runOperation(
        [](auto&&... fixed) { return link::GetDiagnosticInfo(fixed..., 0); }, link::Pump::Yes);
    if (!showOutcome(diagnostic, {}, QStringLiteral("Ошибка обращения к регистратору!")))
        return;
    if (fiscal::keepsReceiptCopies(link::resultState().copy.Fields[0]))
        openModal(m_windows.receiptCopies);
    else
        showMessage(QStringLiteral("Функционал поддерживается только КСЕФ регистратором!"));
}

} // namespace quorvex::ui
