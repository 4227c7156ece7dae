#pragma once
// The second registrar as a recorded exchange: the port list's last entry stands for an
// exchange log, whose replay is connected like a port. Also the comparison's ignore list from
// the settings file, applied at every connection.
#include <QString>

#include <optional>
#include <string>

namespace quorvex::ui {

// "Запись обмена…", the entry that ends the second registrar's port list.
QString replayEntryText();

// Asks for an exchange log through the platform dialogs and registers its replay as a virtual
// port; the port name to open. Nothing when cancelled, or when nothing of the log can be
// replayed (a message box says why; the details, like lines skipped, go to standard error).
std::optional<std::string> chooseReplayPort();
// Unregisters it again once opened, so that no port list shows it.
void forgetReplayPort(const std::string& portName);
// Called just before the second registrar's port is opened: a replay chosen above becomes the
// recording the comparison knows of, and its exchanges stay out of the exchange log; any other
// port is a live registrar, compared by its fields and logged.
void prepareSecondRegistrar(const std::string& portName);

// SecondRegistrator/Ignore of the settings file becomes the comparison's ignore list; a
// malformed rule is named on standard error and left out.
void applyStoredIgnoreList(const std::string& settingsPath);

} // namespace quorvex::ui
