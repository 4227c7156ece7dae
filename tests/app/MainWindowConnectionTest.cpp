// Connecting and disconnecting the first registrar from the main window.
#include "AppFixture.h"

#include "link/Link.h"
#include "netcfg/ui/ModemStateWindow.h"
#include "platform/qt/ShapeIndicator.h"
#include "platform/qt/TextCodec.h"

#include <iostream>
#include <sstream>

namespace quorvex::ui::test {
namespace {

class ConnectionTest : public AppFixture {
protected:
    QColor indicator() const
    {
        return child<platform::ShapeIndicator>("connectionIndicator")->color();
    }
    QString buttonText() const { return child<QPushButton>("connectButton")->text(); }
    bool statusButtonEnabled() const { return child<QPushButton>("statusButton")->isEnabled(); }
};

TEST_F(ConnectionTest, StartsDisconnected)
{
    EXPECT_FALSE(m_form->isConnected());
    EXPECT_EQ(indicator(), QColor(Qt::red));
    EXPECT_EQ(buttonText(), QStringLiteral("Подключить"));
    EXPECT_FALSE(statusButtonEnabled());
    EXPECT_FALSE(menuEnabled("salesMenu"));
    EXPECT_FALSE(scriptsEnabled());
    EXPECT_FALSE(menuEnabled("extraMenu"));
}

TEST_F(ConnectionTest, ConnectShowsConnectedStateAndStoresThePort)
{
    writeIni("; kept\r\n[Communication]\r\nPort=emu1\r\nSpeed=57600\r\n");
    m_form->refreshPortsAndSettings();

    m_form->toggleConnection();

    ASSERT_TRUE(m_form->isConnected());
    EXPECT_EQ(indicator(), QColor(Qt::green));
    EXPECT_EQ(buttonText(), QStringLiteral("Отключить"));
    EXPECT_FALSE(ports()->isEnabled());
    EXPECT_FALSE(speeds()->isEnabled());
    EXPECT_TRUE(statusButtonEnabled());
    EXPECT_TRUE(menuEnabled("salesMenu"));
    EXPECT_TRUE(scriptsEnabled());
    EXPECT_TRUE(menuEnabled("extraMenu"));
    EXPECT_EQ(iniValue("Communication", "Port"), "EMU1") << "the listed spelling is written";
    EXPECT_EQ(iniValue("Communication", "Speed"), "57600");
    EXPECT_EQ(readIni().rfind("; kept\r\n", 0), 0u);
    EXPECT_TRUE(link::session().freshConnection);
    EXPECT_EQ(link::session().firstPortText, "EMU1");
    EXPECT_EQ(link::session().firstSpeedText, "57600");
    EXPECT_TRUE(m_dialogs->messages().empty()) << m_dialogs->lastMessage();
}

TEST_F(ConnectionTest, ConnectProbesTheRegistrarWithAStatusRequest)
{
    connectWith("[Communication]\r\nPort=EMU1\r\n");

    const auto& handled = emulator::processRegistrar(1).handledCommands();
    ASSERT_EQ(handled.size(), 1u);
    EXPECT_EQ(handled[0], 0x4A);
    EXPECT_EQ(link::processLink().retData().RequestData, "W");
}

TEST_F(ConnectionTest, SilentRegistrarIsReportedButStaysConnected)
{
    emulator::processRegistrar(1).faults().silent = true;

    connectWith("[Communication]\r\nPort=EMU1\r\n");

    ASSERT_EQ(m_dialogs->messages().size(), 2u);
    EXPECT_EQ(message(0), QStringLiteral("Таймаут")) << "the callback's own text comes first";
    EXPECT_EQ(message(1), QStringLiteral("Устройство не отвечает!"));
    EXPECT_TRUE(m_form->isConnected());
}

TEST_F(ConnectionTest, RegistrarErrorOtherThanTimeoutIsNotCalledSilence)
{
    emulator::processRegistrar(1).faults().answerNak = true;

    connectWith("[Communication]\r\nPort=EMU1\r\n");

    for (const std::string& text : m_dialogs->messages())
        EXPECT_NE(platform::fromCp1251(text), QStringLiteral("Устройство не отвечает!"));
}

TEST_F(ConnectionTest, PortThatCannotBeOpenedChangesNothing)
{
    serial::portRegistry().addVirtualPort(
        "BROKEN", [](const std::string&, int) { return std::unique_ptr<serial::SerialLine>(); });
    writeIni("[Communication]\r\nPort=BROKEN\r\n");
    m_form->refreshPortsAndSettings();
    ASSERT_EQ(ports()->currentText(), "BROKEN");
    const std::string before = readIni();
    std::ostringstream terminal;
    std::streambuf* const stderrBuffer = std::cerr.rdbuf(terminal.rdbuf());

    m_form->toggleConnection();

    std::cerr.rdbuf(stderrBuffer);
    EXPECT_EQ(terminal.str(), "quorvex: cannot open BROKEN\n");
    EXPECT_EQ(m_dialogs->messages().size(), 1u);
    EXPECT_EQ(message(0), QStringLiteral("Невозможно подключить порт"));
    EXPECT_FALSE(m_form->isConnected());
    EXPECT_EQ(indicator(), QColor(Qt::red));
    EXPECT_TRUE(ports()->isEnabled());
    EXPECT_FALSE(menuEnabled("salesMenu"));
    EXPECT_FALSE(menuEnabled("extraMenu"));
    EXPECT_EQ(readIni(), before);
    EXPECT_FALSE(link::session().freshConnection);
}

TEST_F(ConnectionTest, DisconnectKeepsExtraFunctionsEnabled)
{
    connectWith("[Communication]\r\nPort=EMU1\r\n");
    m_form->statusBar()->showMessage("left over");

    m_form->toggleConnection();

    EXPECT_FALSE(m_form->isConnected());
    EXPECT_EQ(indicator(), QColor(Qt::red));
    EXPECT_EQ(buttonText(), QStringLiteral("Подключить"));
    EXPECT_TRUE(ports()->isEnabled());
    EXPECT_TRUE(speeds()->isEnabled());
    EXPECT_FALSE(statusButtonEnabled());
    EXPECT_FALSE(menuEnabled("salesMenu"));
    EXPECT_FALSE(scriptsEnabled());
    EXPECT_TRUE(menuEnabled("extraMenu"));
    EXPECT_TRUE(m_form->statusBar()->currentMessage().isEmpty());
}

TEST_F(ConnectionTest, ReconnectAfterDisconnectWorks)
{
    connectWith("[Communication]\r\nPort=EMU1\r\n");
    m_form->toggleConnection();
    ASSERT_FALSE(m_form->isConnected());

    m_form->toggleConnection();

    EXPECT_TRUE(m_form->isConnected());
}

TEST_F(ConnectionTest, WindowsLeftReachableAfterDisconnectingSayThePortIsClosed)
{
    connectWith("[Communication]\r\nPort=EMU1\r\n");
    m_form->toggleConnection();
    ASSERT_FALSE(m_form->isConnected());
    m_dialogs->clear();
    const QString closed = platform::fromCp1251(link::refusalMessage(link::Refusal::PortClosed));

    m_form->openReceiptCopies();
    ModemStateWindow modem(nullptr, &link::processLink());
    modem.requestReport();

    EXPECT_EQ(m_dialogs->messages().size(), 2u);
    EXPECT_EQ(message(0), closed);
    EXPECT_EQ(message(1), closed);
}

} // namespace
} // namespace quorvex::ui::test
