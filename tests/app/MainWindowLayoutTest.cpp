// The main window's layout: every caption fits, in both states. Set QUORVEX_SCREENSHOT_DIR to
// also save the two states as PNG files for a look.
#include "AppFixture.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPixmap>

namespace quorvex::ui::test {
namespace {

class LayoutTest : public AppFixture {
protected:
    void expectCaptionsFit(const char* state)
    {
        m_form->adjustSize();
        m_form->show();
        QCoreApplication::processEvents();
        for (QWidget* widget : m_form->findChildren<QWidget*>()) {
            if (!qobject_cast<QAbstractButton*>(widget) && !qobject_cast<QLabel*>(widget) &&
                !qobject_cast<QComboBox*>(widget))
                continue;
            if (!widget->isVisible())
                continue;
            EXPECT_GE(widget->width(), widget->minimumSizeHint().width())
                << state << ": " << widget->objectName().toStdString();
        }
        EXPECT_GE(m_form->menuBar()->width(), m_form->menuBar()->sizeHint().width())
            << state << ": menus hidden behind the overflow arrow";
        auto* group = child<QGroupBox>("GroupBox1");
        EXPECT_GE(group->width(), group->fontMetrics().horizontalAdvance(group->title()));
        saveScreenshot(state);
        m_form->hide();
    }

    void saveScreenshot(const char* state) const
    {
        const QString directory = qEnvironmentVariable("QUORVEX_SCREENSHOT_DIR");
        if (!directory.isEmpty())
            m_form->grab().save(directory + "/TForm1-" + state + ".png");
    }
};

TEST_F(LayoutTest, CaptionsFitConnectedAndNot)
{
    writeIni("[Communication]\r\nPort=EMU1\r\n");
    m_form->FormActivate();
    expectCaptionsFit("disconnected");

    m_form->Button3Click();
    ASSERT_TRUE(m_form->isConnected());
    expectCaptionsFit("connected");
}

} // namespace
} // namespace quorvex::ui::test
