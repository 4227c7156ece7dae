// The exchange monitor: its table's rows, bound and filter, the CSV it saves, and the window
// watching the process link while it is shown.
#include "link/ui/ExchangeMonitor.h"
#include "tests/support/EmulatedRegistrars.h"
#include "tests/support/qt/CaptionFit.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

namespace quorvex::ui {
namespace {

MonitorRow row(int registrar, int command, bool failed)
{
    link::ExchangeRecord record;
    record.registrar = registrar;
    record.command = command;
    record.result.ErrorFlags = failed ? link::ERR_TIMEOUT : 0;
    return ExchangeTableModel::rowFor(record);
}

TEST(ExchangeTableModel, KeepsTheNewestRowsAndFilters)
{
    ExchangeTableModel model(nullptr, 3);

    model.append({row(1, 0x4A, false), row(2, 0x4A, true)});
    model.append({row(1, 0x30, false), row(1, 0x35, true), row(2, 0x38, false)});

    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.dropped(), 2);
    EXPECT_EQ(model.shownRow(0).summary.command, 0x30);
    EXPECT_EQ(model.shownRow(2).summary.command, 0x38);
    EXPECT_EQ(model.data(model.index(0, 2), Qt::DisplayRole).toString(), QStringLiteral("30"));

    const struct {
        MonitorFilter filter;
        std::vector<int> commands;
    } filters[] = {
        {{1, std::nullopt, false}, {0x30, 0x35}},
        {{std::nullopt, 0x38, false}, {0x38}},
        {{std::nullopt, std::nullopt, true}, {0x35}},
        {{}, {0x30, 0x35, 0x38}},
    };
    for (const auto& f : filters) {
        model.setFilter(f.filter);
        std::vector<int> shown;
        for (int i = 0; i < model.rowCount(); ++i)
            shown.push_back(model.shownRow(i).summary.command);
        EXPECT_EQ(shown, f.commands);
    }

    model.setFilter({std::nullopt, std::nullopt, true}); // the filter holds for new rows too
    model.append({row(1, 0x21, false), row(1, 0x22, true)});
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.shownRow(0).summary.command, 0x22);
    EXPECT_EQ(model.dropped(), 4);
}

// A Russian spreadsheet reads ';' as the field separator; the file's time carries its date.
TEST(ExchangeTableModel, CsvPartsFieldsByTheListSeparatorAndDatesTheTime)
{
    EXPECT_EQ(ExchangeTableModel::listSeparator(QLocale(QLocale::Russian, QLocale::Russia)), ';');
    EXPECT_EQ(ExchangeTableModel::listSeparator(QLocale(QLocale::English, QLocale::UnitedStates)),
              ',');
    ExchangeTableModel model;
    MonitorRow exchange = row(1, 0x4A, false);
    exchange.wallMs = QDateTime(QDate(2026, 12, 8), QTime(9, 5, 7, 123)).toMSecsSinceEpoch();
    model.append({exchange});

    for (const QChar separator : {QLatin1Char(';'), QLatin1Char(',')}) {
        const QByteArray bytes = model.csv(separator);
        const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));

        EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF")); // the byte-order mark
        ASSERT_EQ(lines.size(), 3);                    // header, row, nothing after the end
        EXPECT_TRUE(lines[0].startsWith(QStringLiteral("\"Время\"") + separator + "\"Рег.\""));
        EXPECT_TRUE(lines[1].startsWith(QStringLiteral("\"2026-12-08 09:05:07.123\"") + separator +
                                        "\"1\"" + separator + "\"4A\""))
            << lines[1].toStdString();
    }
}

class MonitorWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_support::resetEmulatedRegistrars();
        ASSERT_NO_FATAL_FAILURE(test_support::openEmulatedLink("", 19200));
    }
};

// Shown, it watches the process link; every exchange appears with the next frame, and the
// saved CSV holds it in UTF-8 after a byte-order mark. Hidden, it watches nothing.
TEST_F(MonitorWindow, ShowsEachExchangeWhileOpenAndSavesThemAsCsv)
{
    ExchangeMonitor monitor;
    monitor.open();

    ASSERT_EQ(link::SendCommand(nullptr, link::PrinterResultsx, 0, 0x4A, "W"), 0);
    monitor.showPending();

    ASSERT_EQ(monitor.model().rowCount(), 1);
    const QString text = monitor.model().rowText(0);
    EXPECT_TRUE(text.contains(QStringLiteral("\t1\t4A\t"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Получить состояние регистратора")));
    auto* table = monitor.findChild<QTableView*>();
    table->setCurrentIndex(table->model()->index(0, 0));
    test_support::saveScreenshot(monitor, QStringLiteral("ExchangeMonitor"));

    QTemporaryDir dir;
    const std::string path = (dir.path() + QStringLiteral("/обмен.csv")).toStdString();
    ASSERT_TRUE(monitor.saveCsv(path));
    QFile saved(QString::fromStdString(path));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), monitor.model().csv(ExchangeTableModel::listSeparator(QLocale())));

    monitor.hide();
    ASSERT_EQ(link::SendCommand(nullptr, link::PrinterResultsx, 0, 0x4A, "W"), 0);
    monitor.showPending();
    EXPECT_EQ(monitor.model().rowCount(), 1);
}

// The errors column shows a refusal's message whole, "мс" is no wider than its numbers need, and
// Esc or "Закрыть" close the window.
TEST_F(MonitorWindow, ColumnsFitTheirTextsAndEscOrCloseButtonClose)
{
    ExchangeMonitor monitor;
    auto* table = monitor.findChild<QTableView*>();
    const QFontMetrics metrics = table->fontMetrics();
    EXPECT_GT(table->columnWidth(7), metrics.horizontalAdvance(QStringLiteral(
                                         "Команда не отправлена: порт регистратора закрыт.")));
    EXPECT_LT(table->columnWidth(8), 2 * metrics.horizontalAdvance(QStringLiteral("00000.000")));
    test_support::expectCaptionsFit(monitor, QStringLiteral("ExchangeMonitor"));

    const std::function<void()> closers[] = {
        [&] {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(table, &escape);
        },
        [&] { monitor.findChild<QPushButton*>(QStringLiteral("closeButton"))->click(); },
    };
    for (const auto& close : closers) {
        monitor.open();
        monitor.activateWindow();
        QCoreApplication::processEvents();
        close();
        EXPECT_FALSE(monitor.isVisible());
    }
}

} // namespace
} // namespace quorvex::ui
