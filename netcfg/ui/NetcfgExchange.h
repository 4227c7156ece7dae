#pragma once
// What the modem and acquirer-link windows share: one exchange with its not-sent and time-out
// messages, and their success message (Windows-1251 bytes).
#include <string>

namespace quorvex::link {
class Link;
}

namespace quorvex::ui {

// Sends the command on the link with the PrinterResultsx callback. True when the registrar
// answered, with or without errors; the answer is then in resultState().copy. Otherwise the
// link's refusal or the time-out message has been shown, and after a time-out the first port is
// selected again.
[[nodiscard]] bool exchangeAnswered(link::Link& link, int command, const std::string& data);

[[nodiscard]] std::string successMessage();

} // namespace quorvex::ui
