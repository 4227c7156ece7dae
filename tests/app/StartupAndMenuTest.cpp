// The sixteen windows, the menu items that open them and the two reports sent from the menu.
#include "AppFixture.h"

#include "app/AboutWindow.h"
#include "app/Startup.h"
#include "fiscal/ui/NonFiscalReceiptWindow.h"
#include "fiscal/ui/PeriodicReportsWindow.h"
#include "fiscal/ui/ReceiptCopiesWindow.h"
#include "fiscal/ui/SalesWindow.h"
#include "fiscal/ui/ServiceCashWindow.h"
#include "fiscal/ui/WindowMessages.h"
#include "fiscal/ui/ZReportWindow.h"
#include "link/Link.h"
#include "link/ui/ExchangeMonitor.h"
#include "link/ui/StatusWindow.h"
#include "netcfg/ui/AcquirerLinkWindow.h"
#include "netcfg/ui/ModemStateWindow.h"
#include "netcfg/ui/RemoteAccessWindow.h"
#include "platform/qt/TextCodec.h"
#include "script/ui/ComparisonWindow.h"
#include "script/ui/ScriptWindow.h"
#include "script/ui/SecondRegistrarWindow.h"
#include "script/ui/VariablesWindow.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <utility>

namespace quorvex::ui::test {
namespace {

class StartupTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        m_form.reset();
        m_windows = createWindows();
        m_form.reset(m_windows.main);
        m_form->setTerminateHandler([this] { ++m_terminations; });
    }

    // Triggers the item and returns the window that it ran modally (closed again at once).
    QWidget* windowOpenedBy(const char* itemName)
    {
        QWidget* opened = nullptr;
        QTimer::singleShot(0, [&opened] {
            opened = QApplication::activeModalWidget();
            if (auto* dialog = qobject_cast<QDialog*>(opened))
                dialog->reject();
        });
        child<QAction>(itemName)->trigger();
        QCoreApplication::processEvents();
        return opened;
    }

    AppWindows m_windows;
};

TEST_F(StartupTest, CreatesFifteenHiddenWindowsOwnedByTheMainWindow)
{
    const QStringList expected = {
        QStringLiteral("Служебный внос/вынос"),
        QStringLiteral("Z-Отчет"),
        QStringLiteral("Периодические отчеты"),
        QStringLiteral("Продажи"),
        QStringLiteral("Нефискальный чек"),
        QStringLiteral("Команды и скрипты"),
        QStringLiteral("Переменные"),
        QStringLiteral("О программе"),
        QStringLiteral("Подключение второго регистратора"),
        QStringLiteral("Сравнительная информация регистраторов"),
        QStringLiteral("Байты состояния регистратора"),
        QStringLiteral("Копия чека (\"КСЕФ\")"),
        QStringLiteral("Состояние модема"),
        QStringLiteral("Параметры связи с эквайером"),
        QStringLiteral("Параметры удаленного доступа"),
    };

    const QList<QWidget*> windows = {
        m_windows.serviceCash, m_windows.zReport,      m_windows.periodicReports,
        m_windows.sales,       m_windows.nonFiscal,    m_windows.script,
        m_windows.variables,   m_windows.about,        m_windows.secondRegistrar,
        m_windows.comparison,  m_windows.status,       m_windows.receiptCopies,
        m_windows.modem,       m_windows.acquirerLink, m_windows.remoteAccess,
    };

    QStringList captions;
    for (QWidget* window : windows) {
        ASSERT_NE(window, nullptr);
        captions << window->windowTitle();
        EXPECT_FALSE(window->isVisible()) << window->windowTitle().toStdString();
        QObject* owner = window->parent();
        while (owner && owner != m_form.get())
            owner = owner->parent();
        EXPECT_EQ(owner, m_form.get()) << "owned by the main window";
    }

    EXPECT_EQ(m_form->windowTitle(), "Quorvex");
    EXPECT_FALSE(m_form->isVisible());
    EXPECT_EQ(captions.join(" | ").toStdString(), expected.join(" | ").toStdString());
}

TEST_F(StartupTest, EveryMenuItemOpensItsWindowModally)
{
    connectWith("[Communication]\r\nPort=EMU1\r\n");
    const std::vector<std::pair<const char*, QWidget*>> items = {
        {"serviceCashItem", static_cast<QWidget*>(m_windows.serviceCash)},
        {"fiscalReceiptItem", static_cast<QWidget*>(m_windows.sales)},
        {"nonFiscalReceiptItem", static_cast<QWidget*>(m_windows.nonFiscal)},
        {"zReportItem", static_cast<QWidget*>(m_windows.zReport)},
        {"periodicReportItem", static_cast<QWidget*>(m_windows.periodicReports)},
        {"scriptsItem", static_cast<QWidget*>(m_windows.script)},
        {"modemStateItem", static_cast<QWidget*>(m_windows.modem)},
        {"acquirerLinkItem", static_cast<QWidget*>(m_windows.acquirerLink)},
        {"aboutItem", static_cast<QWidget*>(m_windows.about)},
    };

    for (const auto& [item, window] : items) {
        QWidget* opened = windowOpenedBy(item);
        ASSERT_NE(opened, nullptr) << item;
        EXPECT_EQ(opened->window()->windowTitle(), window->windowTitle()) << item;
        EXPECT_FALSE(window->isVisible()) << item;
    }
}

TEST_F(StartupTest, ReturningFromAWindowReadsTheSettingsAgainOnce)
{
    writeIni("[Communication]\r\nSpeed=57600\r\n");
    m_form->refreshPortsAndSettings();
    ASSERT_EQ(speeds()->currentText(), "57600");
    QTimer::singleShot(0, [this] {
        writeIni("[Communication]\r\nSpeed=115200\r\n");
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });

    child<QAction>("aboutItem")->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(speeds()->currentText(), "115200");

    // The window system hands the activation back: the return has activated already.
    writeIni("[Communication]\r\nSpeed=9600\r\n");
    QEvent handBack(QEvent::WindowActivate);
    QCoreApplication::sendEvent(m_form.get(), &handBack);

    EXPECT_EQ(speeds()->currentText(), "115200");
}

// Whether the window system's input reaches a window: Qt tells a window when a modal window
// starts or stops blocking it.
class BlockedState final : public QObject {
public:
    explicit BlockedState(QWidget& window)
    {
        window.winId(); // its window-system window exists before anything is shown
        window.windowHandle()->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::WindowBlocked || event->type() == QEvent::WindowUnblocked)
            blocked = event->type() == QEvent::WindowBlocked;
        return false;
    }
    bool blocked = false;
};

TEST_F(StartupTest, MonitorTakesInputBesideAModalWindowAndCtrlMOpensItFromThere)
{
    connectWith("[Communication]\r\nPort=EMU1\r\n");
    auto* monitor = static_cast<QWidget*>(m_windows.monitor);
    const BlockedState mainWindow(*m_form);
    const BlockedState monitorWindow(*monitor);
    m_form->show();
    bool mainBlocked = false;
    bool monitorShown = false;
    bool monitorBlocked = true;
    QTimer::singleShot(0, [&] {
        QWidget* script = QApplication::activeModalWidget();
        ASSERT_EQ(script, static_cast<QWidget*>(m_windows.script));
        script->activateWindow(); // the window system activates it in its own time
        QCoreApplication::processEvents();
        QKeyEvent ctrlM(QEvent::KeyPress, Qt::Key_M, Qt::ControlModifier);
        QCoreApplication::sendEvent(script, &ctrlM);
        monitorShown = monitor->isVisible();
        monitorBlocked = monitorWindow.blocked;
        mainBlocked = mainWindow.blocked;
        static_cast<QDialog*>(script)->reject();
    });

    child<QAction>("scriptsItem")->trigger();

    EXPECT_TRUE(mainBlocked);
    EXPECT_TRUE(monitorShown);
    EXPECT_FALSE(monitorBlocked);
    monitor->hide();
}

TEST_F(StartupTest, StatusButtonOpensTheStatusWindow)
{
    connectWith("[Communication]\r\nPort=EMU1\r\n");
    QWidget* opened = nullptr;
    QTimer::singleShot(0, [&opened] {
        opened = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QDialog*>(opened))
            dialog->reject();
    });

    child<QPushButton>("statusButton")->click();

    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->windowTitle(), QStringLiteral("Байты состояния регистратора"));
}

TEST_F(StartupTest, AboutWindowNamesProgramVersionAndAuthors)
{
    const QString text = AboutWindow::aboutText();

    EXPECT_TRUE(text.contains("Quorvex"));
    EXPECT_TRUE(text.contains(QStringLiteral("Версия " QUORVEX_PROJECT_VERSION)))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("© Разработчики Quorvex")));
    auto* label = static_cast<QWidget*>(m_windows.about)->findChild<QLabel*>("aboutLabel");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), text);
    const QString directory = qEnvironmentVariable("QUORVEX_SCREENSHOT_DIR");
    if (!directory.isEmpty())
        static_cast<QWidget*>(m_windows.about)->grab().save(directory + "/AboutWindow.png");
}

// A line that never answers and runs an action, once, while a request is being written.
class ReentrantLine final : public serial::SerialLine {
public:
    explicit ReentrantLine(std::function<void()>& action) : m_action(action) {}
    bool flush() override { return true; }
    bool purge() override { return true; }
    bool write(const std::uint8_t*, std::size_t) override
    {
        if (auto action = std::exchange(m_action, nullptr))
            action();
        return true;
    }
    serial::ReadResult readByte() override { return serial::ReadResult::nothing(); }
    void clearError() override {}
    bool close() override { return true; }

private:
    std::function<void()>& m_action;
};

class ReportMenuTest : public AppFixture {
protected:
    std::function<void()> m_duringExchange;
};

TEST_F(ReportMenuTest, XAndGoodsReportsSendTheOperatorPassword)
{
    connectWith("[Communication]\r\nPort=EMU1\r\n");

    m_form->printXReport();
    EXPECT_EQ(link::processLink().retData().Command, 0x45);
    EXPECT_EQ(link::processLink().retData().RequestData, "9011,2");
    m_form->printGoodsReport();
    EXPECT_EQ(link::processLink().retData().Command, 0x6F);
    EXPECT_EQ(link::processLink().retData().RequestData, "9011,S");

    ASSERT_EQ(m_dialogs->messages().size(), 2u);
    EXPECT_EQ(message(0), QStringLiteral("Отчет - успешно"));
    EXPECT_EQ(message(1), QStringLiteral("Отчет - успешно"));
}

TEST_F(ReportMenuTest, RegistrarErrorIsReportedAfterTheCallbackText)
{
    connectWith("[Communication]\r\nPort=EMU1\r\n");
    m_dialogs->clear();
    emulator::processRegistrar(1).faults().silent = true;

    m_form->printXReport();

    ASSERT_EQ(m_dialogs->messages().size(), 2u);
    EXPECT_EQ(message(0), QStringLiteral("Таймаут"));
    EXPECT_EQ(message(1), QStringLiteral("Ошибка отчета"));
}

TEST_F(ReportMenuTest, ReportRefusedByABusyLinkIsToldApart)
{
    serial::portRegistry().addVirtualPort("REENTRANT", [this](const std::string&, int) {
        return std::make_unique<ReentrantLine>(m_duringExchange);
    });
    connectWith("[Communication]\r\nPort=REENTRANT\r\n");
    m_dialogs->clear();
    // The goods report is asked for while the X report is still on the line.
    m_duringExchange = [this] { m_form->printGoodsReport(); };

    m_form->printXReport();

    EXPECT_EQ(m_dialogs->messages().size(), 3u);
    EXPECT_EQ(message(0),
              platform::fromCp1251(link::refusalMessage(link::processLink().lastRefusal())));
    EXPECT_EQ(message(1), QStringLiteral("Таймаут"));
    EXPECT_EQ(message(2), QStringLiteral("Ошибка отчета"));
    serial::portRegistry().removeVirtualPort("REENTRANT");
}

} // namespace
} // namespace quorvex::ui::test
