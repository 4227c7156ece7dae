#include "link/ui/StatusWindow.h"
#include "tests/support/qt/CaptionFit.h"

#include "emulator/EmulatedLine.h"
#include "emulator/Registrar.h"
#include "link/Link.h"
#include "link/Refusal.h"
#include "link/ResultState.h"
#include "link/Session.h"
#include "platform/qt/TextCodec.h"
#include "tests/support/platform/RecordingDialogs.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGroupBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quorvex::ui {
namespace {

constexpr int kGetStatus = 0x4A;

// A line that calls back before every request it writes.
class WatchedLine final : public serial::SerialLine {
public:
    WatchedLine(std::unique_ptr<serial::SerialLine> inner, std::function<void()> onWrite)
        : m_inner(std::move(inner)), m_onWrite(std::move(onWrite))
    {
    }
    bool flush() override { return m_inner->flush(); }
    bool purge() override { return m_inner->purge(); }
    bool write(const std::uint8_t* data, std::size_t size) override
    {
        m_onWrite();
        return m_inner->write(data, size);
    }
    serial::ReadResult readByte() override { return m_inner->readByte(); }
    void clearError() override { m_inner->clearError(); }
    bool close() override { return m_inner->close(); }

private:
    std::unique_ptr<serial::SerialLine> m_inner;
    std::function<void()> m_onWrite;
};

std::string cp1251(const char* utf8)
{
    return platform::toCp1251(QString::fromUtf8(utf8));
}

// The window on its own link to an emulated registrar, with recorded dialogs.
class StatusWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        link::resultState() = link::ResultState{};
        link::session().freshConnection = false;
        m_ports.addVirtualPort("EMU", [this](const std::string&, int) {
            return emulator::makeEmulatedLine(m_registrar);
        });
        m_link.SetLogName("");
        ASSERT_GT(m_link.OpenFirstPort("EMU", 9600), 0);
    }

    void TearDown() override
    {
        link::resultState() = link::ResultState{};
        link::session().freshConnection = false;
    }

    QCheckBox* box(int byte, int bit)
    {
        return m_form.findChild<QCheckBox*>(QStringLiteral("byte%1Bit%2").arg(byte).arg(bit));
    }

    // Bits 0..7 of the boxes of one status byte.
    int shownByte(int byte)
    {
        int value = 0;
        for (int bit = 0; bit < 8; ++bit)
            value |= box(byte, bit)->isChecked() ? (1 << bit) : 0;
        return value;
    }

    long statusQueries() const
    {
        const auto& handled = m_registrar.handledCommands();
        return std::count(handled.begin(), handled.end(), kGetStatus);
    }

    // Shows the window and lets it come on screen and run its activation.
    static void show(StatusWindow& form)
    {
        form.show();
        for (int i = 0; i < 100 && form.activationPending(); ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    void open() { show(m_form); }

    void reopen()
    {
        m_form.hide();
        open();
    }

    void clickRefresh() { m_form.findChild<QPushButton*>("refreshButton")->click(); }

    platform::ScopedRecordingDialogs m_dialogs;
    emulator::Registrar m_registrar;
    serial::PortRegistry m_ports;
    link::Link m_link{m_ports};
    StatusWindow m_form{nullptr, &m_link};
};

TEST_F(StatusWindowTest, FirstOpeningAfterConnectQueriesAndShowsEveryByte)
{
    m_registrar.faults().statusBits = {0x01, 0x20, 0x08, 0x15, 0x04, 0x7F};
    link::session().freshConnection = true;

    open();

    EXPECT_EQ(statusQueries(), 1);
    EXPECT_EQ(m_registrar.handledCommands().size(), 1u);
    EXPECT_FALSE(link::session().freshConnection);
    EXPECT_EQ(shownByte(0), 0x81);
    EXPECT_EQ(shownByte(1), 0xA0);
    EXPECT_EQ(shownByte(2), 0x88);
    EXPECT_EQ(shownByte(3), 0x95); // the switches have no error text but are shown
    EXPECT_EQ(shownByte(4), 0x84);
    EXPECT_EQ(shownByte(5), 0xFF);
    EXPECT_EQ(link::resultState().copy.Command, kGetStatus);
}

TEST_F(StatusWindowTest, QueryWaitsUntilTheWindowIsOnScreen)
{
    std::vector<bool> onScreen;
    m_ports.addVirtualPort("WATCHED", [&](const std::string&, int) {
        return std::make_unique<WatchedLine>(emulator::makeEmulatedLine(m_registrar), [&] {
            const QWindow* window = m_form.windowHandle();
            onScreen.push_back(m_form.isVisible() && window != nullptr && window->isExposed());
        });
    });
    ASSERT_GT(m_link.OpenFirstPort("WATCHED", 9600), 0);
    link::session().freshConnection = true;

    m_form.show();
    EXPECT_TRUE(onScreen.empty()) << "no query while the window is being shown";
    open();

    EXPECT_EQ(onScreen, std::vector<bool>{true});
}

TEST_F(StatusWindowTest, LaterOpeningsShowTheLastAnswerAndRefreshQueries)
{
    m_registrar.faults().statusBits = {0x04, 0, 0, 0, 0, 0};
    link::session().freshConnection = true;
    open();
    m_registrar.faults().statusBits = {0x10, 0, 0, 0, 0, 0};

    reopen();

    EXPECT_EQ(statusQueries(), 1);
    EXPECT_EQ(shownByte(0), 0x84);

    clickRefresh();

    EXPECT_EQ(statusQueries(), 2);
    EXPECT_EQ(shownByte(0), 0x90);
}

TEST_F(StatusWindowTest, OpeningWithoutConnectShowsTheResultCopy)
{
    link::resultState().copy.Status = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20};

    open();

    EXPECT_EQ(statusQueries(), 0);
    for (int byte = 0; byte < 6; ++byte)
        EXPECT_EQ(shownByte(byte), 0x80 | (1 << byte)) << "byte " << byte;
}

TEST_F(StatusWindowTest, TimeoutOfTheQueryKeepsTheDisplay)
{
    m_registrar.faults().statusBits = {0, 0x20, 0, 0, 0, 0};
    link::session().freshConnection = true;
    open();
    m_registrar.faults().silent = true;
    m_dialogs->clear();

    clickRefresh();

    EXPECT_EQ(m_dialogs->messages(),
              (std::vector<std::string>{cp1251("Таймаут"),
                                        cp1251("Таймаут - фискальный регистратор не отвечает!")}));
    EXPECT_EQ(shownByte(1), 0xA0);
    EXPECT_EQ(link::resultState().errorCount, 1);

    clickRefresh(); // a failed query is repeated by the next refresh

    EXPECT_EQ(statusQueries(), 3);
}

TEST_F(StatusWindowTest, EarlierTimeoutInTheCopyIsReportedWithoutQuerying)
{
    link::resultState().copy.ErrorFlags = link::ERR_TIMEOUT;
    link::resultState().copy.Status = {0x01, 0, 0, 0, 0, 0};

    open();
    clickRefresh();

    EXPECT_EQ(statusQueries(), 0);
    EXPECT_EQ(
        m_dialogs->messages(),
        (std::vector<std::string>(2, cp1251("Таймаут - фискальный регистратор не отвечает!"))));
    EXPECT_EQ(shownByte(0), 0);
}

// After "Отключить" the query is refused: the old bytes are not shown as the registrar's, and
// the operator is told why nothing came.
TEST_F(StatusWindowTest, RefusedQueryClearsTheOldBytesAndSaysWhy)
{
    open();
    link::resultState().copy.Status = {0, 0, 0x01, 0, 0, 0};
    clickRefresh();
    ASSERT_EQ(shownByte(2), 0x80);
    ASSERT_NE(m_link.CloseFirstPort(), 0);

    clickRefresh();

    for (int byte = 0; byte < StatusWindow::kStatusBytes; ++byte)
        EXPECT_EQ(shownByte(byte), 0) << byte;
    EXPECT_EQ(m_dialogs->messages(),
              std::vector<std::string>{link::refusalMessage(link::Refusal::PortClosed)});
    test_support::saveScreenshot(m_form, QStringLiteral("StatusWindow-refused"));
}

TEST_F(StatusWindowTest, CaptionsAreExactAndFitTheWindow)
{
    open();

    EXPECT_EQ(m_form.windowTitle(), QStringLiteral("Байты состояния регистратора"));
    EXPECT_EQ(box(1, 1)->text(),
              QStringLiteral("(2) Команда не разрешена для текущего фискального режима "));
    EXPECT_EQ(box(3, 3)->text(),
              QStringLiteral("(8) Перекл. Sw4 ON -режим \"прозрачный дисплей\""));
    EXPECT_EQ(box(4, 1)->text(), QStringLiteral("(2) Ошибка данных  в фискальной памяти"));
    EXPECT_EQ(box(5, 7)->text(), QStringLiteral("(80) Всегда установлен"));
    const auto groups = m_form.findChildren<QGroupBox*>();
    ASSERT_EQ(groups.size(), 6);
    for (const QCheckBox* checkBox : m_form.findChildren<QCheckBox*>()) {
        const int needed = checkBox->fontMetrics().horizontalAdvance(checkBox->text());
        EXPECT_GE(checkBox->width(), needed) << checkBox->objectName().toStdString();
        EXPECT_LE(checkBox->mapTo(&m_form, QPoint(checkBox->width(), 0)).x(), m_form.width());
    }
    // Bytes 0-2 on the left, 3-5 on the right, each column top to bottom.
    const auto groupOf = [this](int byte) { return box(byte, 0)->parentWidget(); };
    EXPECT_LT(groupOf(0)->x(), groupOf(3)->x());
    EXPECT_LT(groupOf(0)->y(), groupOf(1)->y());
    EXPECT_LT(groupOf(4)->y(), groupOf(5)->y());
    EXPECT_EQ(groupOf(2)->y(), groupOf(5)->y());
    test_support::saveScreenshot(m_form, QStringLiteral("StatusWindow"));
    // A 1366x768 screen with a task bar holds it.
    EXPECT_LE(m_form.frameGeometry().height(), 700);
    EXPECT_LE(m_form.frameGeometry().width(), 1366);
}

TEST_F(StatusWindowTest, CloseHidesTheWindow)
{
    open();

    m_form.findChild<QPushButton*>("closeButton")->click();

    EXPECT_FALSE(m_form.isVisible());
}

} // namespace
} // namespace quorvex::ui
