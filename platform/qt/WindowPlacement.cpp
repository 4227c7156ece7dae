#include "platform/qt/WindowPlacement.h"

#include <QScreen>
#include <QWidget>

namespace quorvex::platform {

void centreOnScreen(QWidget& window, const QScreen* screen)
{
    if (screen == nullptr)
        return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

void centreOnScreen(QWidget& window)
{
    centreOnScreen(window, window.screen());
}

} // namespace quorvex::platform
