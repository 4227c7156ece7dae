#pragma once
// Opening one of the program's windows modally.
class QDialog;

namespace quorvex::platform {

// Runs the window modal to the window it belongs to and that window's owners, not to the whole
// program, so that a window of its own (the exchange monitor) stays usable beside it. An
// operation that opens it is set aside until it closes, so that the window's own operations can
// run; input made before it appeared is dropped. Returns what QDialog::exec() returns.
int execModal(QDialog& window);

} // namespace quorvex::platform
