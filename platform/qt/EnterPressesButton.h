#pragma once
// Enter on a focused push button presses it, as on Windows; Qt leaves that to Space, except for
// the default buttons of dialogs.
namespace quorvex::platform {

// Installs the application-wide filter that does it (once is enough).
void installEnterPressesButton();

} // namespace quorvex::platform
