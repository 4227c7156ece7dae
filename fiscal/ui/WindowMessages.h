#pragma once
// Messages the fiscal windows and the main window share.
#include <QString>

#include <optional>

namespace quorvex::ui {

// A command refused before anything was sent: the process link's reason. No callback ran, so
// this is all the operator learns.
[[nodiscard]] QString notSentMessage();

// The outcome of one registrar operation that returned `sent` (-1: refused, nothing sent) after
// the caller reset the error counter: lets pending messages through, then shows the not-sent
// message, `failed` when the callback counted an error, or `done`. True when it was done.
bool tellOutcome(int sent, const QString& done, const QString& failed);

// Shows a message box through the process's dialogs.
void showMessage(const QString& text);

// The edit's text as an integer; when it is none, shows the number parser's message and gives
// nullopt.
[[nodiscard]] std::optional<int> integerOrMessage(const QString& text);

} // namespace quorvex::ui
