#pragma once
// The message a window shows for one operation's outcome, in the window's own words.
#include "link/Exchange.h"

#include <QString>

namespace quorvex::ui {

// link::tellOutcome with the window's texts: `done`, `failed` for a registrar error or a registrar
// busy past the limit, `timedOut` for a time-out (`failed` when empty); the link's reason when
// nothing was sent. An empty text shows nothing. True when done.
bool showOutcome(const link::ExchangeOutcome& outcome, const QString& done, const QString& failed,
                 const QString& timedOut = {});

} // namespace quorvex::ui
