#pragma once
// A fiscal window on the process's link to EMU1, dialogs recorded, files in a fresh directory.
#include "emulator/EmulatedLine.h"
#include "link/ResultState.h"
#include "platform/RecordingDialogs.h"
#include "platform/qt/TextCodec.h"
#include "tests/support/EmulatedRegistrars.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace quorvex::ui::testing {

inline std::string cp1251(const char* utf8)
{
    return platform::toCp1251(QString::fromUtf8(utf8));
}

template <typename Form> class ReceiptWindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_support::resetEmulatedRegistrars();
        ASSERT_NO_FATAL_FAILURE(test_support::openEmulatedLink("", 19200));
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = std::filesystem::temp_directory_path() /
                (std::string("quorvex-fiscal-") + test->test_suite_name() + "-" + test->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
        m_form = std::make_unique<Form>();
    }

    void TearDown() override
    {
        m_form.reset();
        link::resultState() = {};
        std::filesystem::remove_all(m_dir);
    }

    template <typename Widget> Widget* child(const char* name) const
    {
        auto* widget = m_form->template findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
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

    static emulator::Registrar& registrar() { return emulator::processRegistrar(1); }

    // The requests the registrar handled, as "CC:data" with the code in hexadecimal.
    static std::vector<std::string> requests()
    {
        std::vector<std::string> texts;
        for (const auto& request : registrar().handledRequests()) {
            char code[8];
            std::snprintf(code, sizeof code, "%02X:", request.command);
            texts.push_back(code + request.data);
        }
        return texts;
    }

    platform::ScopedRecordingDialogs m_dialogs;
    std::filesystem::path m_dir;
    std::unique_ptr<Form> m_form;
};

} // namespace quorvex::ui::testing
