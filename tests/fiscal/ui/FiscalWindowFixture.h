#pragma once
// The fiscal windows against the emulated registrar EMU1 on the process's link, dialogs
// recorded: lookups by component name, the messages shown, and files in a fresh directory.
#include "platform/qt/TextCodec.h"
#include "tests/fiscal/FiscalLinkFixture.h"
#include "tests/support/TestDirectory.h"
#include "tests/support/qt/WindowLookup.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace quorvex::ui::test {

using test_support::cp1251;

class FiscalWindowTest : public fiscal::testing::FiscalLinkFixture {
protected:
    QStringList messages()
    {
        QStringList texts;
        for (const std::string& text : m_dialogs->messages())
            texts << platform::fromCp1251(text);
        return texts;
    }

    template <typename T> static T* child(const QWidget& window, const char* name)
    {
        return test_support::child<T>(window, name);
    }
};

// A window made anew for each test after the link is open, with a fresh directory for its files.
template <typename Form> class FormFixture : public FiscalWindowTest {
protected:
    void SetUp() override
    {
        FiscalWindowTest::SetUp();
        m_dir = test_support::freshTestDirectory("quorvex-fiscal");
        m_form = std::make_unique<Form>();
    }

    void TearDown() override
    {
        m_form.reset();
        FiscalWindowTest::TearDown();
        std::filesystem::remove_all(m_dir);
    }

    using FiscalWindowTest::child;
    template <typename Widget> Widget* child(const char* name) const
    {
        return FiscalWindowTest::child<Widget>(*m_form, name);
    }
    void click(const char* button) const { child<QPushButton>(button)->click(); }
    void type(const char* edit, const char* utf8) const
    {
        child<QLineEdit>(edit)->setText(QString::fromUtf8(utf8));
    }
    std::string text(const char* widget) const
    {
        if (auto* label = m_form->template findChild<QLabel*>(QString::fromLatin1(widget)))
            return label->text().toStdString();
        return child<QLineEdit>(widget)->text().toStdString();
    }

    // Writes a file of Windows-1251 bytes into the test's directory; returns its path.
    std::string writeFile(const std::string& name, const std::string& bytes) const
    {
        const std::string path = (m_dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    std::filesystem::path m_dir;
    std::unique_ptr<Form> m_form;
};

} // namespace quorvex::ui::test
