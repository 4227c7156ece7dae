#include "app/Startup.h"

#include "app/AboutWindow.h"
#include "app/MainWindow.h"
#include "emulator/EmulatedLine.h"
#include "fiscal/ui/NonFiscalReceiptWindow.h"
#include "fiscal/ui/PeriodicReportsWindow.h"
#include "fiscal/ui/ReceiptCopiesWindow.h"
#include "fiscal/ui/SalesWindow.h"
#include "fiscal/ui/ServiceCashWindow.h"
#include "fiscal/ui/ZReportWindow.h"
#include "link/Link.h"
#include "link/ui/ExchangeMonitor.h"
#include "link/ui/LogFailureNotice.h"
#include "link/ui/StatusWindow.h"
#include "netcfg/ui/AcquirerLinkWindow.h"
#include "netcfg/ui/ModemStateWindow.h"
#include "netcfg/ui/RemoteAccessWindow.h"
#include "platform/Dialogs.h"
#include "platform/qt/EnterPressesButton.h"
#include "platform/qt/OneClickAtATime.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtMessagePump.h"
#include "platform/qt/QtTranslation.h"
#include "platform/qt/RussianLocale.h"
#include "platform/qt/TextCodec.h"
#include "platform/qt/WindowPlacement.h"
#include "script/ui/ComparisonWindow.h"
#include "script/ui/ScriptWindow.h"
#include "script/ui/SecondRegistrarWindow.h"
#include "script/ui/VariablesWindow.h"
#include "serial/PortRegistry.h"
#include "serial/qt/RealSerialLine.h"

#include <QMessageBox>

#include <exception>

namespace quorvex::ui {

namespace {

void centreOnScreen(QWidget* window)
{
    window->adjustSize();
    platform::centreOnScreen(*window);
}

} // namespace

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        showUnexpectedError(error.what());
    } catch (...) {
        showUnexpectedError("Unknown exception");
    }
    return false;
}

void showUnexpectedError(const char* what)
{
    QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Quorvex"),
                          platform::fromCp1251(what ? what : ""));
}

void installPlatformServices()
{
    platform::useRussianDefaultLocale();
    (void)platform::installQtTranslation(); // without it Qt's own texts stay English
    // The gate is installed last, so it sees every key before the button filter does.
    platform::installEnterPressesButton();
    platform::installInputGate();
    platform::installQtDialogs();
    platform::installQtMessagePump();
    serial::PortRegistry& ports = serial::portRegistry();
    emulator::registerEmulatedPorts(ports);
    serial::installRealSerialFallback(ports);
    tellLogFailures(link::processLink());
}

AppWindows createWindows()
{
    AppWindows w;
    w.main = new MainWindow;
    // The other windows belong to the main window, so they stay above it and go with it.
    QWidget* owner = w.main;
    w.serviceCash = new ServiceCashWindow(owner);
    w.zReport = new ZReportWindow(owner);
    w.periodicReports = new PeriodicReportsWindow(owner);
    w.sales = new SalesWindow(owner);
    w.nonFiscal = new NonFiscalReceiptWindow(owner);
    w.script = new ScriptWindow(owner);
    w.variables = new VariablesWindow(owner);
    w.about = new AboutWindow(owner);
    w.secondRegistrar = new SecondRegistrarWindow(owner);
    w.comparison = new ComparisonWindow(owner);
    w.status = new StatusWindow(owner);
    w.receiptCopies = new ReceiptCopiesWindow(owner);
    w.modem = new ModemStateWindow(owner);
    w.acquirerLink = new AcquirerLinkWindow(owner);
    w.remoteAccess = new RemoteAccessWindow(owner);

    // A window of its own, owned by no other: a modal window blocks the windows it belongs to
    // and their owners, and the monitor must stay usable beside every window.
    w.monitor = new ExchangeMonitor;
    QObject::connect(w.main, &QObject::destroyed, [monitor = w.monitor] { delete monitor; });
    w.main->setWindows(w);
    w.script->setVariablesWindow(w.variables);
    w.script->setSecondRegistrarWindow(w.secondRegistrar);
    w.script->setComparisonWindow(w.comparison);
    w.secondRegistrar->setComparisonWindow(w.comparison);
    w.modem->setStatusWindow(w.status);
    w.acquirerLink->setStatusWindow(w.status);
    w.receiptCopies->setStatusWindow(w.status);
    return w;
}

int runQuorvex(int argc, char** argv)
{
    platform::preferRussianSystemLocale();
    GuardedApplication application(argc, argv);
    try {
        installPlatformServices();
        const AppWindows windows = createWindows();
        std::unique_ptr<MainWindow> mainWindow(windows.main);
        QObject::connect(mainWindow.get(), &MainWindow::closed, &application, &QApplication::quit,
                         Qt::QueuedConnection);
        centreOnScreen(mainWindow.get());
        mainWindow->show();
        const int exitCode = QApplication::exec();
        // A registrar still connected ends its session, so the log ends with its
        // session-end line.
        link::CloseSecondPort();
        link::CloseFirstPort();
        return exitCode;
    } catch (const std::exception& error) {
        showUnexpectedError(error.what());
    } catch (...) {
        showUnexpectedError("Unknown exception");
    }
    return 1;
}

} // namespace quorvex::ui
