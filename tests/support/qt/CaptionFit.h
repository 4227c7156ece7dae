#pragma once
// Layout checks for a window's captions, and a screenshot for a look.
#include <QString>

class QWidget;

namespace quorvex::test_support {

// Shows the window and fails for every visible button, label or combo box narrower than its
// minimum size hint, every group box narrower than its title, and every two visible named
// controls of the same parent that overlap. `name` names the window in the failures.
void expectCaptionsFit(QWidget& window, const QString& name);

// Fails for every line of a caption that the widget is too narrow to show. Trailing blanks
// show nothing and need no room.
void expectCaptionFits(const QWidget& widget, const QString& caption);

// With QUORVEX_SCREENSHOT_DIR set, saves the window there as <name>.png.
void saveScreenshot(QWidget& window, const QString& name);

} // namespace quorvex::test_support
