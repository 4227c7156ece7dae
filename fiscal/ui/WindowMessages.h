#pragma once
// Messages the fiscal windows and the main window share.
#include <QString>

#include <optional>

namespace quorvex::ui {

// Shows a message box through the process's dialogs.
void showMessage(const QString& text);

// The edit's text as an integer; when it is none, shows the number parser's message and gives
// nullopt.
[[nodiscard]] std::optional<int> integerOrMessage(const QString& text);

} // namespace quorvex::ui
