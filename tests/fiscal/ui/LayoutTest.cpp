// The report, cash and copy windows: every caption fits. Set QUORVEX_SCREENSHOT_DIR to also save
// them as PNG files for a look.
#include "FiscalWindowFixture.h"

#include "fiscal/ui/TForm13.h"
#include "fiscal/ui/TForm2.h"
#include "fiscal/ui/TForm3.h"
#include "fiscal/ui/TForm4.h"

#include <QRadioButton>

namespace quorvex::ui::test {
namespace {

TEST(FiscalWindowLayout, CaptionsFit)
{
    TForm2 cash;
    TForm3 zReport;
    TForm4 periodic;
    TForm13 copies;

    expectCaptionsFitAndSave(cash, "TForm2");
    expectCaptionsFitAndSave(zReport, "TForm3");
    expectCaptionsFitAndSave(periodic, "TForm4");
    periodic.findChild<QRadioButton*>("RadioGroup3Item0")->click();
    expectCaptionsFitAndSave(periodic, "TForm4-numbers");
    const QSize numbersSize = periodic.size();
    periodic.findChild<QRadioButton*>("RadioGroup3Item1")->click();
    expectCaptionsFitAndSave(periodic, "TForm4-dates");
    expectCaptionsFitAndSave(copies, "TForm13");

    EXPECT_EQ(periodic.size(), numbersSize) << "the window keeps its size for either range";
    EXPECT_EQ(copies.windowTitle(), QStringLiteral("Копия чека (\"КСЕФ\")"));
    EXPECT_EQ(copies.findChild<QGroupBox*>("GroupBox1")->title(),
              QStringLiteral("Поиск и печать документов  по датам"));
}

} // namespace
} // namespace quorvex::ui::test
