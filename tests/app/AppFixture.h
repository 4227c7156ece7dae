#pragma once
// A main window in a temporary working directory with its own fpinit.ini, the process's link
// with the emulated registrars, and recorded dialogs.
#include "app/MainWindow.h"
#include "emulator/EmulatedLine.h"
#include "emulator/Registrar.h"
#include "link/Link.h"
#include "link/ResultState.h"
#include "link/Session.h"
#include "platform/IniFile.h"
#include "platform/qt/TextCodec.h"
#include "serial/PortRegistry.h"
#include "tests/support/platform/RecordingDialogs.h"
#include "tests/support/qt/WindowLookup.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace quorvex::ui::test {

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_previousDirectory = std::filesystem::current_path();
        std::filesystem::current_path(m_dir.path().toStdString());
        link::session() = link::Session{};
        link::resultState() = link::ResultState{};
        emulator::registerEmulatedPorts(serial::portRegistry());
        emulator::resetProcessRegistrars();
        m_form = std::make_unique<MainWindow>();
        m_form->setTerminateHandler([this] { ++m_terminations; });
    }

    void TearDown() override
    {
        if (m_form && m_form->isConnected())
            (void)link::CloseFirstPort();
        link::SetLogName("");
        m_form.reset();
        serial::portRegistry().removeVirtualPort("BROKEN");
        std::filesystem::current_path(m_previousDirectory);
    }

    std::string iniPath() const { return (m_dir.path() + "/fpinit.ini").toStdString(); }

    void writeIni(const std::string& content) const
    {
        std::ofstream(iniPath(), std::ios::binary) << content;
    }

    std::string readIni() const
    {
        std::ifstream in(iniPath(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    std::string iniValue(const char* section, const char* key) const
    {
        return platform::GetPrivateProfileString(section, key, "<missing>", 300, iniPath());
    }

    template <typename T> T* child(const char* name) const
    {
        return test_support::child<T>(*m_form, name);
    }

    QComboBox* ports() const { return child<QComboBox>("portCombo"); }
    QComboBox* speeds() const { return child<QComboBox>("speedCombo"); }
    bool menuEnabled(const char* name) const
    {
        return child<QMenu>(name)->menuAction()->isEnabled();
    }
    bool scriptsEnabled() const { return child<QAction>("scriptsItem")->isEnabled(); }

    // Activates with the given settings and connects to the port they name.
    void connectWith(const std::string& ini)
    {
        writeIni(ini);
        m_form->refreshPortsAndSettings();
        m_form->toggleConnection();
        ASSERT_TRUE(m_form->isConnected()) << m_dialogs->lastMessage();
    }

    QString message(std::size_t index)
    {
        const auto texts = m_dialogs->messages();
        return index < texts.size() ? platform::fromCp1251(texts[index]) : QString();
    }

    QTemporaryDir m_dir;
    std::filesystem::path m_previousDirectory;
    platform::ScopedRecordingDialogs m_dialogs;
    std::unique_ptr<MainWindow> m_form;
    int m_terminations = 0;
};

} // namespace quorvex::ui::test
