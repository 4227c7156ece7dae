#pragma once
// The process's link on the emulated registrar EMU1, no exchange log, no second registrar,
// dialogs recorded. The fiscal steps' tests use it as it is, the fiscal windows' tests through
// tests/fiscal/ui/FiscalWindowFixture.h.
#include "emulator/EmulatedLine.h"
#include "emulator/Registrar.h"
#include "link/Link.h"
#include "link/ResultState.h"
#include "link/Session.h"
#include "tests/support/EmulatedRegistrars.h"
#include "tests/support/platform/RecordingDialogs.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace quorvex::fiscal::testing {

class FiscalLinkFixture : public ::testing::Test {
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

    // Has the registrar's model handle a command directly, as if an earlier exchange had.
    static void given(int command, const std::string& data)
    {
        const auto answer = registrar().model().handle(command, data, 0);
        ASSERT_TRUE(answer && answer->bits == emulator::StatusBits{}) << command << " " << data;
    }

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
};

} // namespace quorvex::fiscal::testing
