#pragma once
// Set-up shared by the modem and acquirer-link window tests: the process's link on EMU1 (and
// EMU2), dialogs recorded, and lookups of the window's controls by component name.
#include "emulator/EmulatedLine.h"
#include "link/Link.h"
#include "link/ResultState.h"
#include "platform/qt/TextCodec.h"
#include "tests/support/EmulatedRegistrars.h"
#include "tests/support/platform/RecordingDialogs.h"
#include "tests/support/qt/CaptionFit.h"
#include "tests/support/qt/WindowLookup.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>

#include <string>

namespace quorvex::ui::testing {

using test_support::child;
using test_support::cp1251;
using test_support::first;
using test_support::second;

using test_support::expectCaptionFits;

class NetcfgWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_support::resetEmulatedRegistrars();
        ASSERT_NO_FATAL_FAILURE(test_support::openEmulatedLink("", 19200, 19200));
    }

    void TearDown() override { link::resultState() = {}; }

    static void open(QDialog& form)
    {
        form.show();
        QCoreApplication::processEvents();
    }

    platform::ScopedRecordingDialogs m_dialogs;
};

} // namespace quorvex::ui::testing
