// The six fiscal windows: every caption fits and no two controls overlap. Set
// QUORVEX_SCREENSHOT_DIR to also save them as PNG files for a look.
#include "fiscal/ui/NonFiscalReceiptWindow.h"
#include "fiscal/ui/PeriodicReportsWindow.h"
#include "fiscal/ui/ReceiptCopiesWindow.h"
#include "fiscal/ui/SalesWindow.h"
#include "fiscal/ui/ServiceCashWindow.h"
#include "fiscal/ui/ZReportWindow.h"
#include "tests/support/platform/RecordingDialogs.h"
#include "tests/support/qt/CaptionFit.h"

#include <QGroupBox>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace quorvex::ui::test {
namespace {

using test_support::expectCaptionsFit;
using test_support::saveScreenshot;

void expectFitsAndSave(QWidget& window, const QString& name)
{
    expectCaptionsFit(window, name);
    saveScreenshot(window, name);
}

TEST(FiscalWindowLayout, CaptionsFitAndControlsDoNotOverlap)
{
    platform::ScopedRecordingDialogs dialogs; // the file dialog of the sales window is cancelled
    ServiceCashWindow cash;
    ZReportWindow zReport;
    PeriodicReportsWindow periodic;
    ReceiptCopiesWindow copies;
    SalesWindow sales;
    NonFiscalReceiptWindow nonFiscal;

    expectFitsAndSave(cash, "ServiceCashWindow");
    expectFitsAndSave(zReport, "ZReportWindow");
    expectFitsAndSave(periodic, "PeriodicReportsWindow");
    periodic.findChild<QRadioButton*>("rangeByNumber")->click();
    expectFitsAndSave(periodic, "PeriodicReportsWindow-numbers");
    const QSize numbersSize = periodic.size();
    periodic.findChild<QRadioButton*>("rangeByDate")->click();
    expectFitsAndSave(periodic, "PeriodicReportsWindow-dates");
    expectFitsAndSave(copies, "ReceiptCopiesWindow");
    expectFitsAndSave(sales, "SalesWindow");
    expectFitsAndSave(nonFiscal, "NonFiscalReceiptWindow");

    EXPECT_EQ(periodic.size(), numbersSize) << "the window keeps its size for either range";
    EXPECT_EQ(copies.windowTitle(), QStringLiteral("Копия чека (\"КСЕФ\")"));
    EXPECT_EQ(copies.findChild<QGroupBox*>("dateGroup")->title(),
              QStringLiteral("Поиск и печать документов  по датам"));
}

} // namespace
} // namespace quorvex::ui::test
