// The exchange monitor: its table's rows, bound and filter, the CSV it saves, and the window
// watching the process link while it is shown.
#include "link/ui/ExchangeMonitor.h"
#include "tests/support/EmulatedRegistrars.h"
#include "tests/support/qt/CaptionFit.h"

#include <QTableView>

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
    const QByteArray bytes = saved.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF\"Время\""));
    EXPECT_EQ(bytes.count("\r\n"), 2);

    monitor.hide();
    ASSERT_EQ(link::SendCommand(nullptr, link::PrinterResultsx, 0, 0x4A, "W"), 0);
    monitor.showPending();
    EXPECT_EQ(monitor.model().rowCount(), 1);
}

} // namespace
} // namespace quorvex::ui
