#include "tests/support/qt/CaptionFit.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QRegularExpression>
#include <QWidget>
#include <gtest/gtest.h>

namespace quorvex::test_support {

namespace {

bool isNamedControl(const QWidget* widget)
{
    const QString name = widget->objectName();
    return widget->isVisible() && !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

} // namespace

void expectCaptionsFit(QWidget& window, const QString& name)
{
    window.show();
    QCoreApplication::processEvents();
    const QList<QWidget*> widgets = window.findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        if (!widget->isVisible())
            continue;
        const std::string where = (name + ": " + widget->objectName()).toStdString();
        if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLabel*>(widget) ||
            qobject_cast<QComboBox*>(widget)) {
            EXPECT_GE(widget->width(), widget->minimumSizeHint().width()) << where;
        }
        if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            EXPECT_GE(group->width(), group->fontMetrics().horizontalAdvance(group->title()) + 16)
                << where;
        }
        if (!isNamedControl(widget))
            continue;
        for (QWidget* other : widgets) {
            if (other != widget && other->parentWidget() == widget->parentWidget() &&
                isNamedControl(other)) {
                EXPECT_FALSE(widget->geometry().intersects(other->geometry()))
                    << where << " overlaps " << other->objectName().toStdString();
            }
        }
    }
}

void expectCaptionFits(const QWidget& widget, const QString& caption)
{
    static const QRegularExpression trailingBlanks(QStringLiteral("\\s+$"));
    for (QString line : caption.split(QLatin1Char('\n'))) {
        line.remove(trailingBlanks);
        EXPECT_GE(widget.width(), widget.fontMetrics().horizontalAdvance(line))
            << widget.objectName().toStdString() << ": " << line.toStdString();
    }
}

void saveScreenshot(QWidget& window, const QString& name)
{
    const QString directory = qEnvironmentVariable("QUORVEX_SCREENSHOT_DIR");
    if (!directory.isEmpty())
        window.grab().save(directory + "/" + name + ".png");
}

} // namespace quorvex::test_support
