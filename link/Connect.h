#pragma once
// Connecting a registrar, the same for the main window, the second-registrar window and the
// command-line runner: open its port, keep the choice in the settings file, probe it.
#include "link/ConnectionSettings.h"

#include <optional>
#include <string>

namespace quorvex::link {

struct PortOpening {
    Registrar registrar = Registrar::First;
    std::string portName; // the name opened (a replay port for a recorded exchange)
    int baudRate = 0;
    // Written to the settings file (session().settingsPath()) once the port is open; the runner
    // keeps the file as it is.
    std::optional<RegistrarChoice> remembered;
};

// Opens the registrar's port on the process link. False when it could not be opened:
// lastOpenFailure() says why, and nothing was written.
[[nodiscard]] bool openRegistrar(const PortOpening& opening);

// The status request right after connecting: false when the registrar did not answer in time
// (time-out or a lost line). The callback has shown its text; pending messages have run.
[[nodiscard]] bool registrarAnswers();

} // namespace quorvex::link
