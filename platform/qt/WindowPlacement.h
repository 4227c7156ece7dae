#pragma once
// Placing windows on the screen.
class QScreen;
class QWidget;

namespace quorvex::platform {

// Moves the window so that its frame is centred in the screen's available area; does nothing
// when there is no screen.
void centreOnScreen(QWidget& window, const QScreen* screen);

// The same on the screen the window is on.
void centreOnScreen(QWidget& window);

} // namespace quorvex::platform
