#pragma once
// State that several windows share across layers: the settings file's location, the first
// registrar's chosen port and speed, the fresh-connection flag and the second registrar's
// connected flag. One instance per process; a test may reset it.
#include <string>

namespace quorvex::link {

struct Session {
    std::string programDirectory; // fixed at the main window's first activation
    std::string firstPortText;    // the main window's port list text
    std::string firstSpeedText;   // the main window's speed list text
    bool freshConnection = false; // set by every successful connect, cleared by the status window
    bool secondConnected = false; // the second registrar is connected (comparison runs)
    std::string secondPortText;   // the second-registrar window's port list text
    std::string secondSpeedText;  // and its speed list text

    // programDirectory, the platform's separator ('\\' on Windows), "fpinit.ini"
    [[nodiscard]] std::string settingsPath() const;
};

Session& session();

} // namespace quorvex::link
