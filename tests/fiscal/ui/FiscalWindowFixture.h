#pragma once
// The fiscal windows against the emulated registrar EMU1 on the process's link, dialogs recorded.
#include "emulator/EmulatedLine.h"
#include "emulator/Registrar.h"
#include "link/Link.h"
#include "link/ResultState.h"
#include "link/Session.h"
#include "platform/RecordingDialogs.h"
#include "platform/qt/TextCodec.h"
#include "tests/support/EmulatedRegistrars.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace quorvex::ui::test {

class FiscalWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_support::resetEmulatedRegistrars();
        link::session() = {};
        ASSERT_NO_FATAL_FAILURE(test_support::openEmulatedLink("", 19200));
    }

    void TearDown() override { link::resultState() = {}; }

    static emulator::Registrar& registrar() { return emulator::processRegistrar(1); }
    static emulator::DeviceState& device() { return registrar().model().state(); }

    // The requests the registrar received: command code and data.
    static std::vector<std::pair<int, std::string>> requests()
    {
        std::vector<std::pair<int, std::string>> sent;
        for (const emulator::HandledRequest& request : registrar().handledRequests())
            sent.emplace_back(request.command, request.data);
        return sent;
    }

    QStringList messages()
    {
        QStringList texts;
        for (const std::string& text : m_dialogs->messages())
            texts << platform::fromCp1251(text);
        return texts;
    }

    template <typename T> static T* child(QWidget& window, const char* name)
    {
        T* widget = window.findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    platform::ScopedRecordingDialogs m_dialogs;
};

// Every visible caption of the window fits its control; with QUORVEX_SCREENSHOT_DIR set the
// window is also saved there as <name>.png.
inline void expectCaptionsFitAndSave(QWidget& window, const QString& name)
{
    window.show();
    QCoreApplication::processEvents();
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisible())
            continue;
        if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLabel*>(widget))
            EXPECT_GE(widget->width(), widget->minimumSizeHint().width())
                << name.toStdString() << ": " << widget->objectName().toStdString();
        if (auto* group = qobject_cast<QGroupBox*>(widget))
            EXPECT_GE(group->width(), group->fontMetrics().horizontalAdvance(group->title()))
                << name.toStdString() << ": " << group->objectName().toStdString();
    }
    const QString directory = qEnvironmentVariable("QUORVEX_SCREENSHOT_DIR");
    if (!directory.isEmpty())
        window.grab().save(directory + "/" + name + ".png");
}

} // namespace quorvex::ui::test
