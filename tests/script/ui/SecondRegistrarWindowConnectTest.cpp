// Second-registrar window: choice restored from the settings file, connect and disconnect,
// failure without a settings write, lists frozen after the first connection.
#include "script/ui/ComparisonWindow.h"
#include "script/ui/SecondRegistrarWindow.h"

#include "emulator/EmulatedLine.h"
#include "link/ExchangeLog.h"
#include "link/Frame.h"
#include "link/Link.h"
#include "link/Session.h"
#include "platform/IniFile.h"
#include "platform/qt/TextCodec.h"
#include "script/CompareIgnore.h"
#include "tests/support/platform/RecordingDialogs.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace quorvex;

namespace {

class SecondRegistrarWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        emulator::registerEmulatedPorts(serial::portRegistry());
        emulator::resetProcessRegistrars();
        link::SetLogName(QDir::temp().filePath("quorvex-form10.log").toStdString());
        link::session().programDirectory = m_dir.path().toStdString();
        link::session().secondConnected = false;
        m_form.setComparisonWindow(&m_comparison);
    }

    void TearDown() override
    {
        link::CloseSecondPort();
        link::session().secondConnected = false;
        link::session().programDirectory.clear();
        emulator::registerEmulatedPorts(serial::portRegistry());
    }

    void store(const char* key, const std::string& value)
    {
        ASSERT_TRUE(platform::WritePrivateProfileString("SecondRegistrator", key, value, ini()));
    }
    std::string stored(const char* key)
    {
        return platform::GetPrivateProfileString("SecondRegistrator", key, "", 20, ini());
    }
    std::string ini() const { return link::session().settingsPath(); }

    QComboBox& ports() { return *m_form.findChild<QComboBox*>(QStringLiteral("portCombo")); }
    QComboBox& speeds() { return *m_form.findChild<QComboBox*>(QStringLiteral("speedCombo")); }
    QString caption(const char* button)
    {
        return m_form.findChild<QPushButton*>(QString::fromLatin1(button))->text();
    }

    void connectClosingComparison()
    {
        QTimer::singleShot(0, &m_comparison, &QDialog::accept);
        m_form.toggleConnection();
    }

    QTemporaryDir m_dir;
    platform::ScopedRecordingDialogs m_dialogs;
    QDialog m_comparison;
    ui::SecondRegistrarWindow m_form;
};

TEST_F(SecondRegistrarWindowTest, StoredChoiceIsSelectedIgnoringCase)
{
    store("Port", "emu2");
    store("Speed", "57600");

    m_form.refreshPortChoice();

    EXPECT_GE(ports().findText(QStringLiteral("EMU1")), 0);
    EXPECT_EQ(ports().currentText(), QStringLiteral("EMU2"));
    EXPECT_EQ(speeds().currentText(), QStringLiteral("57600"));
    EXPECT_EQ(link::session().secondPortText, "EMU2");
}

TEST_F(SecondRegistrarWindowTest, ConnectRemembersChoiceOpensComparisonAndDisconnects)
{
    store("Port", "EMU2");
    m_form.refreshPortChoice();
    speeds().setCurrentText(QStringLiteral("115200"));

    connectClosingComparison();

    EXPECT_TRUE(m_form.indicatorGreen());
    EXPECT_TRUE(link::session().secondConnected);
    EXPECT_EQ(caption("connectButton"), QStringLiteral("Отключить"));
    EXPECT_EQ(caption("closeButton"), QStringLiteral("Продолжить"));
    EXPECT_FALSE(ports().isEnabled());
    EXPECT_EQ(stored("Port"), "EMU2");
    EXPECT_EQ(stored("Speed"), "115200");
    EXPECT_EQ(link::session().secondSpeedText, "115200");
    EXPECT_TRUE(m_dialogs->messages().empty());

    m_form.toggleConnection();

    EXPECT_FALSE(m_form.indicatorGreen());
    EXPECT_FALSE(link::session().secondConnected);
    EXPECT_EQ(caption("connectButton"), QStringLiteral("Подключить"));
    EXPECT_TRUE(ports().isEnabled());

    m_form.closeWindow();
    EXPECT_EQ(caption("closeButton"), QStringLiteral("Закрыть"));
}

TEST_F(SecondRegistrarWindowTest, FailedConnectShowsMessageAndWritesNothing)
{
    store("Port", "EMU2");
    m_form.refreshPortChoice();
    serial::portRegistry().removeVirtualPort("EMU2");

    m_form.toggleConnection();

    EXPECT_EQ(m_dialogs->messages(), std::vector<std::string>{platform::toCp1251(
                                         QStringLiteral("Невозможно подключить порт"))});
    EXPECT_FALSE(m_form.indicatorGreen());
    EXPECT_FALSE(link::session().secondConnected);
    EXPECT_FALSE(m_form.listsFrozen());
    EXPECT_EQ(stored("Speed"), "");
    EXPECT_EQ(caption("closeButton"), QStringLiteral("Закрыть"));
}

TEST_F(SecondRegistrarWindowTest, ListsStayAsTheyWereAfterTheFirstConnection)
{
    store("Port", "EMU2");
    m_form.refreshPortChoice();
    connectClosingComparison();
    m_form.toggleConnection(); // disconnect
    store("Port", "EMU1");
    serial::portRegistry().addVirtualPort(
        "EMU9", [](const std::string&, int) { return std::unique_ptr<serial::SerialLine>(); });
    const int count = ports().count();

    m_form.refreshPortChoice();

    EXPECT_TRUE(m_form.listsFrozen());
    EXPECT_EQ(ports().currentText(), QStringLiteral("EMU2"));
    EXPECT_EQ(ports().count(), count);
    EXPECT_LT(ports().findText(QStringLiteral("EMU9")), 0);
    serial::portRegistry().removeVirtualPort("EMU9");
}

TEST_F(SecondRegistrarWindowTest, ConnectShowsTheComparisonWindowWithBothRegistrars)
{
    ASSERT_NE(link::OpenFirstPort("EMU1", 19200), -1);
    ui::ComparisonWindow comparison;
    m_form.setComparisonWindow(&comparison);
    store("Port", "EMU2");
    m_form.refreshPortChoice();

    QTimer::singleShot(0, &comparison, &QDialog::accept);
    m_form.toggleConnection();

    EXPECT_TRUE(comparison.reportBuilt());
    EXPECT_TRUE(comparison.reportText().contains(QStringLiteral("Порт: EMU2, Скорость:19200")));
    EXPECT_TRUE(comparison.reportText().contains(QStringLiteral("Версия: 3.10")));
}

// A recorded diagnostic exchange whose answer reports version 9.99.
std::string writeDiagnosticLog(const QString& path)
{
    const link::Bytes frame = link::buildAnswerFrame(0x21, 0x5A, "9.99 05Dec26 1 2 3 QV9,1",
                                                     {0x80, 0x80, 0x80, 0x80, 0x80, 0x80});
    const platform::LocalTime time{};
    const std::string log =
        link::ExchangeLog::formatEntry(time, "21", "5A0") +
        link::ExchangeLog::formatEntry(time, " ", ";" + std::string(frame.begin(), frame.end()));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(log.data(), static_cast<qint64>(log.size()));
    return path.toStdString();
}

TEST_F(SecondRegistrarWindowTest,
       TheLastPortEntryConnectsTheReplayOfAChosenLogAndTheIgnoreListApplies)
{
    ASSERT_NE(link::OpenFirstPort("EMU1", 19200), -1);
    ui::ComparisonWindow comparison;
    m_form.setComparisonWindow(&comparison);
    store("Port", platform::toCp1251(QStringLiteral("Запись обмена…")));
    store("Ignore", "3E, EB:0");
    m_form.refreshPortChoice();
    ASSERT_EQ(ports().currentIndex(), ports().count() - 1);
    const int count = ports().count();

    m_dialogs->queueOpenFile(std::nullopt); // cancelled: nothing happens
    m_form.toggleConnection();
    EXPECT_FALSE(m_form.indicatorGreen());
    EXPECT_TRUE(m_dialogs->messages().empty());

    const QString missing = m_dir.filePath(QStringLiteral("missing.log"));
    m_dialogs->queueOpenFile(missing.toStdString());
    m_form.toggleConnection();
    EXPECT_EQ(m_dialogs->messages(),
              std::vector<std::string>{platform::toCp1251(
                  QStringLiteral("Журнал обмена ") + missing +
                  QStringLiteral(" нельзя воспроизвести: файл не найден или не читается"))});

    m_dialogs->queueOpenFile(writeDiagnosticLog(m_dir.filePath(QStringLiteral("x.log"))));
    QTimer::singleShot(0, &comparison, &QDialog::accept);
    m_form.toggleConnection();

    EXPECT_TRUE(m_form.indicatorGreen());
    EXPECT_TRUE(comparison.reportText().contains(QStringLiteral("Версия: 9.99")))
        << comparison.reportText().toStdString();
    EXPECT_TRUE(script::comparisonIgnore().ignoresAnswer(0x3E));
    EXPECT_TRUE(script::comparisonIgnore().ignoresField(0xEB, 0));
    script::setComparisonIgnore({});
    m_form.toggleConnection();
    m_form.refreshPortChoice();
    EXPECT_EQ(ports().count(), count); // the replay's own port is not listed
}

} // namespace
