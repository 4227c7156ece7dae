// The main window's layout: every caption fits, in both states. Set QUORVEX_SCREENSHOT_DIR to
// also save the two states as PNG files for a look.
#include "AppFixture.h"

#include "tests/support/qt/CaptionFit.h"

#include <QMenuBar>

namespace quorvex::ui::test {
namespace {

class LayoutTest : public AppFixture {
protected:
    void expectCaptionsFit(const char* state)
    {
        const QString name = QStringLiteral("MainWindow-") + QLatin1String(state);
        m_form->adjustSize();
        test_support::expectCaptionsFit(*m_form, name);
        EXPECT_GE(m_form->menuBar()->width(), m_form->menuBar()->sizeHint().width())
            << state << ": menus hidden behind the overflow arrow";
        test_support::saveScreenshot(*m_form, name);
        m_form->hide();
    }
};

TEST_F(LayoutTest, CaptionsFitConnectedAndNot)
{
    writeIni("[Communication]\r\nPort=EMU1\r\n");
    m_form->refreshPortsAndSettings();
    expectCaptionsFit("disconnected");

    m_form->toggleConnection();
    ASSERT_TRUE(m_form->isConnected());
    expectCaptionsFit("connected");
}

} // namespace
} // namespace quorvex::ui::test
