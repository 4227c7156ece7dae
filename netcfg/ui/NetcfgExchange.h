#pragma once
// What the modem and acquirer-link windows share: one exchange with its not-sent and time-out
// messages, and their success message (Windows-1251 bytes).
#include "link/Exchange.h"

#include <string>

namespace quorvex::ui {

// Sends the command on the link with the PrinterResultsx callback. When it was not sent or timed
// out, the link's refusal or the time-out message has been shown, and after a time-out the first
// port is selected again. A registrar error has been shown by the callback alone.
link::ExchangeOutcome exchangeOnLink(link::Link& link, int command, const std::string& data);

// The registrar answered, with or without errors: the answer is in resultState().copy.
[[nodiscard]] bool answered(const link::ExchangeOutcome& outcome);

[[nodiscard]] std::string successMessage();

} // namespace quorvex::ui
