// Both fiscal windows: every caption fits its control and no two controls overlap. Set
// QUORVEX_SCREENSHOT_DIR to also save them as PNG files for a look.
#include "fiscal/ui/TForm5.h"
#include "fiscal/ui/TForm6.h"
#include "platform/RecordingDialogs.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <gtest/gtest.h>

namespace quorvex::ui::testing {
namespace {

void expectCaptionsFitWithoutOverlap(QDialog& form)
{
    form.show();
    QCoreApplication::processEvents();
    const QString name = form.objectName();
    for (QWidget* widget : form.findChildren<QWidget*>()) {
        const std::string where = (name + ": " + widget->objectName()).toStdString();
        if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLabel*>(widget) ||
            qobject_cast<QComboBox*>(widget)) {
            EXPECT_GE(widget->width(), widget->minimumSizeHint().width()) << where;
        }
        if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            EXPECT_GE(group->width(), group->fontMetrics().horizontalAdvance(group->title()) + 16)
                << where;
        }
        for (QWidget* other : form.findChildren<QWidget*>()) {
            if (other != widget && other->parentWidget() == widget->parentWidget() &&
                !widget->objectName().isEmpty() && !other->objectName().isEmpty() &&
                !widget->objectName().startsWith("qt_") && !other->objectName().startsWith("qt_")) {
                EXPECT_FALSE(widget->geometry().intersects(other->geometry()))
                    << where << " overlaps " << other->objectName().toStdString();
            }
        }
    }
    const QString directory = qEnvironmentVariable("QUORVEX_SCREENSHOT_DIR");
    if (!directory.isEmpty())
        form.grab().save(directory + "/" + name + ".png");
    form.hide();
}

TEST(FiscalLayout, CaptionsFitAndControlsDoNotOverlap)
{
    platform::ScopedRecordingDialogs dialogs; // the file dialog of the sales window is cancelled
    TForm5 sales;
    TForm6 nonFiscal;

    expectCaptionsFitWithoutOverlap(sales);
    expectCaptionsFitWithoutOverlap(nonFiscal);
}

} // namespace
} // namespace quorvex::ui::testing
