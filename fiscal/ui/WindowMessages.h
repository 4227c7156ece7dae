#pragma once
// Messages the fiscal windows and the main window share.
#include <QString>

#include <optional>

namespace quorvex::ui {

// A command refused before anything was sent (no port open, the link busy, or data the
// operation refuses): no callback ran, so this is all the operator learns.
inline QString notSentMessage()
{
    return QStringLiteral(
        "Команда не отправлена: порт не открыт или занят, либо данные недопустимы");
}

// Shows a message box through the process's dialogs.
void showMessage(const QString& text);

// The edit's text as an integer; when it is none, shows the number parser's message and gives
// nullopt.
[[nodiscard]] std::optional<int> integerOrMessage(const QString& text);

} // namespace quorvex::ui
