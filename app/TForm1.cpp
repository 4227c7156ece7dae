#include "app/TForm1.h"

#include "app/TForm9.h"
#include "fiscal/RegistrarVersion.h"
#include "fiscal/ui/TForm13.h"
#include "fiscal/ui/TForm2.h"
#include "fiscal/ui/TForm3.h"
#include "fiscal/ui/TForm4.h"
#include "fiscal/ui/TForm5.h"
#include "fiscal/ui/TForm6.h"
#include "fiscal/ui/WindowMessages.h"
#include "link/Connect.h"
#include "link/ConnectionSettings.h"
#include "link/Link.h"
#include "link/Operations.h"
#include "link/ResultState.h"
#include "link/Session.h"
#include "link/ui/ExchangeMonitor.h"
#include "link/ui/OutcomeMessage.h"
#include "link/ui/TForm12.h"
#include "netcfg/ui/TForm14.h"
#include "netcfg/ui/TForm15.h"
#include "netcfg/ui/TForm16.h"
#include "platform/Dialogs.h"
#include "platform/IniFile.h"
#include "platform/MessagePump.h"
#include "platform/NativePath.h"
#include "platform/qt/ModalWindow.h"
#include "platform/qt/OneClickAtATime.h"
#include "platform/qt/PortChoice.h"
#include "platform/qt/TextCodec.h"
#include "script/ui/TForm10.h"
#include "script/ui/TForm11.h"
#include "script/ui/TForm7.h"
#include "script/ui/TForm8.h"
#include "serial/qt/QtSerialLine.h"
#include "serial/qt/TPortControl.h"
#include "ui_TForm1.h"

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

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TForm1>()),
      PortControl1(std::make_unique<serial::TPortControl>()), m_terminate(quitAllEventLoops)
{
    ui->setupUi(this);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    // Wide enough for the whole menu bar: no menu may hide behind the overflow arrow.
    centralWidget()->setMinimumWidth(menuBar()->sizeHint().width());
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    showConnectedState(false);
    ui->ExtraMenu->menuAction()->setEnabled(false);
    connectSignals();
}

TForm1::~TForm1() = default;

void TForm1::setWindows(const AppWindows& windows)
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
            window->addAction(ui->MonitorItem);
    }
}

void TForm1::setTerminateHandler(std::function<void()> terminate)
{
    m_terminate = std::move(terminate);
}

void TForm1::connectSignals()
{
    platform::connectOneAtATime(ui->Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(ui->Button1, &QPushButton::clicked, this, &TForm1::Button1Click);

    connectMenuItem(ui->ServiceCashItem, [this] { return m_windows.serviceCash; });
    connectMenuItem(ui->FiscalReceiptItem, [this] { return m_windows.sales; });
    connectMenuItem(ui->NonFiscalReceiptItem, [this] { return m_windows.nonFiscal; });
    connectMenuItem(ui->ZReportItem, [this] { return m_windows.zReport; });
    connectMenuItem(ui->PeriodicReportItem, [this] { return m_windows.periodicReports; });
    connectMenuItem(ui->ScriptsItem, [this] { return m_windows.script; });
    connectMenuItem(ui->ModemStateItem, [this] { return m_windows.modem; });
    connectMenuItem(ui->AcquirerLinkItem, [this] { return m_windows.acquirerLink; });
    connectMenuItem(ui->AboutItem, [this] { return m_windows.about; });
    platform::connectOneAtATime(ui->XReportItem, &QAction::triggered, this,
                                &TForm1::XReportItemClick);
    platform::connectOneAtATime(ui->GoodsReportItem, &QAction::triggered, this,
                                &TForm1::GoodsReportItemClick);
    platform::connectOneAtATime(ui->ReceiptCopiesItem, &QAction::triggered, this,
                                &TForm1::ReceiptCopiesItemClick);
    // The monitor opens at any time, also before connecting while its menu is disabled: the
    // windows themselves carry the action, so Ctrl+M works (setWindows adds it to the others).
    addAction(ui->MonitorItem);
    // A line that hangs up while nothing is exchanged is told once, here and on the terminal.
    connect(&serial::lineEvents(), &serial::LineEvents::hungUp, this, [this](const QString& path) {
        const QString note =
            QStringLiteral("Порт %1: устройство отключено или линия разорвана").arg(path);
        std::cerr << "quorvex: " << note.toStdString() << std::endl;
        ui->StatusBar1->showMessage(note);
    });
    connect(ui->MonitorItem, &QAction::triggered, this, [this] {
        if (m_windows.monitor != nullptr)
            m_windows.monitor->open();
    });
}

void TForm1::connectMenuItem(QAction* item, std::function<QDialog*()> window)
{
    connect(item, &QAction::triggered, this, [this, window] { openModal(window()); });
}

void TForm1::openModal(QDialog* window)
{
    if (!window)
        return;
    ++m_modalDepth;
    platform::execModal(*window);
    --m_modalDepth;
    // Whether the window system hands the activation back after a modal window is up to it;
    // the return activates here in any case, and handedBackByModal() drops the hand-back.
    FormActivate();
    m_modalReturn.start();
}

// True for an activation the window system hands back while a modal window closes or just
// after: the return from that window has activated already.
bool TForm1::handedBackByModal()
{
    if (m_modalDepth > 0)
        return true;
    if (m_modalReturn.isValid() && m_modalReturn.elapsed() < kHandBackMs) {
        m_modalReturn.invalidate();
        return true;
    }
    return false;
}

bool TForm1::event(QEvent* event)
{
    const bool handled = QMainWindow::event(event);
    // The first showing counts as an activation even where no window manager activates the
    // window (bare X servers, the offscreen platform).
    const bool firstShow = event->type() == QEvent::Show && !m_shownBefore;
    if (firstShow)
        m_shownBefore = true;
    if (firstShow || (event->type() == QEvent::WindowActivate && !handedBackByModal()))
        FormActivate();
    return handled;
}

void TForm1::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}

void TForm1::FormActivate()
{
    // A message box shown here hands the activation back when it closes; do not start over.
    if (m_activating || m_terminated)
        return;
    m_activating = true;

    std::setlocale(LC_NUMERIC, "C");
    platform::fillPortList(*ui->ComboBox1, *PortControl1);
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
void TForm1::selectStoredChoice(const std::string& settingsPath)
{
    const link::RegistrarChoice stored =
        link::readRegistrarChoice(settingsPath, link::Registrar::First);
    const bool storedChanged = !m_storedChoice || m_storedChoice->port != stored.port ||
                               m_storedChoice->speed != stored.speed;
    m_storedChoice = stored;
    if (storedChanged || ui->ComboBox1->currentIndex() < 0)
        platform::selectStoredPort(*ui->ComboBox1, platform::fromCp1251(stored.port));
    if (storedChanged)
        platform::selectStoredSpeed(*ui->ComboBox2, platform::fromCp1251(stored.speed));
}

void TForm1::terminate()
{
    m_terminated = true;
    if (m_terminate)
        m_terminate();
}

void TForm1::Button3Click()
{
    if (m_connected)
        disconnectFirstPort();
    else
        connectFirstPort();
}

void TForm1::connectFirstPort()
{
    const std::string portText = platform::toCp1251(ui->ComboBox1->currentText());
    const std::string speedText = platform::toCp1251(ui->ComboBox2->currentText());
    if (!link::openRegistrar({link::Registrar::First, portText,
                              ui->ComboBox2->currentText().toInt(),
                              link::RegistrarChoice{portText, speedText}})) {
        // The window's message stays as it is; the reason goes to the terminal and the log.
        std::cerr << "quorvex: " << platform::fromCp1251(link::lastOpenFailure()).toStdString()
                  << std::endl;
        showMessage(QStringLiteral("Невозможно подключить порт"));
        return;
    }

    showConnectedState(true);
    ui->ExtraMenu->menuAction()->setEnabled(true);
    link::Session& session = link::session();
    session.firstPortText = portText;
    session.firstSpeedText = speedText;
    m_storedChoice = link::RegistrarChoice{portText, speedText}; // what the connect wrote
    session.freshConnection = true;
    probeRegistrar();
}

void TForm1::probeRegistrar()
{
    // One status request tells whether a registrar answers on the freshly opened port.
    if (!link::registrarAnswers())
        showMessage(QStringLiteral("Устройство не отвечает!"));
}

void TForm1::disconnectFirstPort()
{
    if (link::CloseFirstPort() == 0)
        return;
    showConnectedState(false);
    ui->StatusBar1->clearMessage();
}

void TForm1::showConnectedState(bool connected)
{
    m_connected = connected;
    ui->SalesMenu->menuAction()->setEnabled(connected);
    ui->ScriptsItem->setEnabled(connected);
    ui->Shape1->setConnected(connected);
    ui->Button3->setText(connected ? QStringLiteral("Отключить") : QStringLiteral("Подключить"));
    ui->ComboBox1->setEnabled(!connected);
    ui->ComboBox2->setEnabled(!connected);
    ui->Button2->setEnabled(connected);
}

void TForm1::Button2Click()
{
    openModal(m_windows.status);
}

void TForm1::Button1Click()
{
    close();
}

void TForm1::XReportItemClick()
{
    sendReport([](auto&&... fixed) {
        return link::DailyReport(fixed..., kOperatorPassword, kXReportType);
    });
}

void TForm1::GoodsReportItemClick()
{
    sendReport([](auto&&... fixed) {
        return link::GoodsReport(fixed..., kOperatorPassword, kSoldGoodsLetter);
    });
}

void TForm1::sendReport(const link::Operation& report)
{
    showOutcome(link::runOperation(report, link::Pump::Yes), QStringLiteral("Отчет - успешно"),
                QStringLiteral("Ошибка отчета"));
}

void TForm1::ReceiptCopiesItemClick()
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
