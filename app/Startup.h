#pragma once
// Start-up: platform services, the sixteen windows and the event loop.
#include "app/AppWindows.h"

#include <QApplication>

namespace quorvex::ui {

// Shows an exception that escaped an event handler in a standard error box; the loop goes on.
class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Shows the standard error box for an unexpected exception (what() is Windows-1251).
void showUnexpectedError(const char* what);

// Qt dialogs and message pump for the platform layer; EMU1/EMU2 and the real serial lines for
// the port registry.
void installPlatformServices();

// Creates the windows hidden, main window first, the others owned by it in the fixed order,
// and hands each window the windows it opens.
AppWindows createWindows();

// The whole program: services, windows, the main window shown centred, the loop until it
// closes. Returns the process's exit code.
int runQuorvex(int argc, char** argv);

} // namespace quorvex::ui
