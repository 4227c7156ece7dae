// End to end: a running quorvex-emu appears in the main window's port list by its
// pseudo-terminal and the main window connects to it over the real serial line.
#include "AppFixture.h"

#include "serial/qt/QtSerialLine.h"
#include "tests/serial/qt/PtyEmulatorProcess.h"
#include "tests/support/EmulatedRegistrars.h"
#include "tests/support/ScopedRuntimeDirectory.h"

#include <optional>

namespace quorvex::ui::test {
namespace {

class PtyEndToEndTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        m_runtime.emplace("quorvex-pty-runtime-");
        m_announceDir = m_runtime->path().string();
        serial::installRealSerialFallback(serial::portRegistry());
    }

    void TearDown() override
    {
        AppFixture::TearDown();
        m_emulator.reset();
        m_runtime.reset();
    }

    std::string m_announceDir;
    std::optional<test_support::ScopedRuntimeDirectory> m_runtime;
    std::unique_ptr<testing::PtyEmulatorProcess> m_emulator;
};

TEST_F(PtyEndToEndTest, ConnectsToAnnouncedEmulator)
{
    m_emulator = std::make_unique<testing::PtyEmulatorProcess>(
        QUORVEX_EMU_PATH, std::vector<std::string>{}, m_announceDir);
    const std::string device = m_emulator->devicePath();
    ASSERT_FALSE(device.empty());
    writeIni("[Communication]\r\nPort=" + device + "\r\nSpeed=115200\r\n");

    m_form->refreshPortsAndSettings();
    ASSERT_EQ(ports()->currentText().toStdString(), device) << "listed and selected";
    m_form->toggleConnection();

    EXPECT_TRUE(m_form->isConnected());
    EXPECT_TRUE(m_dialogs->messages().empty()) << m_dialogs->lastMessage();
    EXPECT_EQ(link::processLink().retData().ErrorFlags, test_support::kFiscalisedFlags);
    EXPECT_EQ(iniValue("Communication", "Port"), device);

    m_form->refreshPortsAndSettings();
    EXPECT_EQ(ports()->currentText().toStdString(), device) << "a device path is read back whole";
}

} // namespace
} // namespace quorvex::ui::test
