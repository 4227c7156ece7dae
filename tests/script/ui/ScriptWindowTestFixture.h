#pragma once
// A script window with its variables window, the process's link on the emulated registrars
// EMU1 (and EMU2 when a test connects it), dialogs recorded, settings in a fresh directory.
#include "emulator/EmulatedLine.h"
#include "link/Link.h"
#include "link/ResultState.h"
#include "link/Session.h"
#include "platform/qt/LineMemo.h"
#include "platform/qt/TextCodec.h"
#include "script/ComparisonReport.h"
#include "script/ReportDocument.h"
#include "script/ui/ScriptWindow.h"
#include "script/ui/VariablesWindow.h"
#include "tests/support/EmulatedRegistrars.h"
#include "tests/support/TestDirectory.h"
#include "tests/support/platform/RecordingDialogs.h"
#include "tests/support/qt/WindowLookup.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace quorvex::ui::testing {

using test_support::cp1251;
using test_support::first;
using test_support::second;

class ScriptWindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_support::resetEmulatedRegistrars();

        m_dir = test_support::freshTestDirectory("quorvex-tform7");
        link::session() = {};
        link::session().programDirectory = m_dir.string();
        ASSERT_NO_FATAL_FAILURE(
            test_support::openEmulatedLink((m_dir / "exchange.log").string(), 19200));
        script::setComparisonReport(&m_report);

        m_form = std::make_unique<ScriptWindow>();
        m_variables = new VariablesWindow; // owned by m_form once handed over
        m_form->setVariablesWindow(m_variables);
    }

    void TearDown() override
    {
        m_form.reset();
        script::setComparisonReport(nullptr);
        link::session() = {};
        std::filesystem::remove_all(m_dir);
    }

    void connectSecond()
    {
        ASSERT_NE(link::OpenSecondPort("EMU2", 19200), -1);
        link::UseSecondPort(0);
        link::session().secondConnected = true;
    }

    template <typename Widget> Widget* child(const char* name) const
    {
        return test_support::child<Widget>(*m_form, name);
    }
    QPushButton* button(const char* name) const { return child<QPushButton>(name); }
    QLineEdit* edit(const char* name) const { return child<QLineEdit>(name); }
    QComboBox* combo() const { return child<QComboBox>("fileCombo"); }
    QCheckBox* checkBox(const char* name) const { return child<QCheckBox>(name); }

    QStringList memoLines() const
    {
        const QString text = child<platform::LineMemo>("messageMemo")->toPlainText();
        return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
    }
    QStringList comboEntries() const
    {
        QStringList entries;
        for (int i = 0; i < combo()->count(); ++i)
            entries << combo()->itemText(i);
        return entries;
    }

    std::string settingsPath() const { return link::session().settingsPath(); }
    std::string settingsText() const
    {
        std::ifstream in(settingsPath(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Writes a script file into the test directory; lines end in CR LF.
    std::string writeScript(const std::string& name, const std::vector<std::string>& lines) const
    {
        const std::string path = (m_dir / name).string();
        std::ofstream out(path, std::ios::binary);
        for (const std::string& line : lines)
            out << line << "\r\n";
        return path;
    }

    // "Открыть файл" answered with the path.
    void openScript(const std::string& path)
    {
        m_dialogs->queueOpenFile(path);
        button("openFileButton")->click();
    }

    void typeCode(const QString& code) { edit("codeEdit")->setText(code); }

    static std::string timeoutMessage() { return script::kTimeoutMessage; }

    platform::ScopedRecordingDialogs m_dialogs;
    script::ReportDocument m_report;
    std::filesystem::path m_dir;
    std::unique_ptr<ScriptWindow> m_form;
    VariablesWindow* m_variables = nullptr;
};

} // namespace quorvex::ui::testing
