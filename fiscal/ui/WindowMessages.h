#pragma once
// Messages the fiscal windows and the main window share.
#include <QString>

#include <optional>

namespace quorvex::ui {

// A command refused before anything was sent: the process link's reason. No callback ran, so
// this is all the operator learns.
[[nodiscard]] QString notSentMessage();

// Shows a message box through the process's dialogs.
void showMessage(const QString& text);

// The edit's text as an integer; when it is none, shows the number parser's message and gives
// nullopt.
[[nodiscard]] std::optional<int> integerOrMessage(const QString& text);

} // namespace quorvex::ui
