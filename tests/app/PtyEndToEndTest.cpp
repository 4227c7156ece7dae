// End to end: a running quorvex-emu appears in the main window's port list by its
// pseudo-terminal and the main window connects to it over the real serial line.
#include "AppFixture.h"

#include "serial/qt/QtSerialLine.h"
#include "tests/serial/qt/PtyEmulatorProcess.h"

#include <cstdlib>
#include <optional>

namespace quorvex::ui::test {
namespace {

class PtyEndToEndTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        m_announceDir = m_dir.path().toStdString() + "/runtime";
        std::filesystem::create_directory(m_announceDir);
        if (const char* previous = std::getenv("XDG_RUNTIME_DIR"))
            m_previousRuntimeDir = previous;
        ::setenv("XDG_RUNTIME_DIR", m_announceDir.c_str(), 1);
        serial::installRealSerialFallback(serial::portRegistry());
    }

    void TearDown() override
    {
        AppFixture::TearDown();
        m_emulator.reset();
        if (m_previousRuntimeDir)
            ::setenv("XDG_RUNTIME_DIR", m_previousRuntimeDir->c_str(), 1);
        else
            ::unsetenv("XDG_RUNTIME_DIR");
    }

    std::string m_announceDir;
    std::optional<std::string> m_previousRuntimeDir;
    std::unique_ptr<testing::PtyEmulatorProcess> m_emulator;
};

TEST_F(PtyEndToEndTest, ConnectsToAnnouncedEmulator)
{
    m_emulator = std::make_unique<testing::PtyEmulatorProcess>(
        QUORVEX_EMU_PATH, std::vector<std::string>{}, m_announceDir);
    const std::string device = m_emulator->devicePath();
    ASSERT_FALSE(device.empty());
    writeIni("[Communication]\r\nPort=" + device + "\r\nSpeed=115200\r\n");

    m_form->FormActivate();
    ASSERT_EQ(ports()->currentText().toStdString(), device) << "listed and selected";
    m_form->Button3Click();

    EXPECT_TRUE(m_form->isConnected());
    EXPECT_TRUE(m_dialogs->messages().empty()) << m_dialogs->lastMessage();
    EXPECT_EQ(link::processLink().retData().ErrorFlags, 0u);
    EXPECT_EQ(iniValue("Communication", "Port"), device);

    m_form->FormActivate();
    EXPECT_EQ(ports()->currentText().toStdString(), device) << "a device path is read back whole";
}

} // namespace
} // namespace quorvex::ui::test
