#pragma once
// A length limit on what the operator types into a line edit, leaving text set by the program
// whole: a file or an answer read into the edit is shown as it is and judged by the code that
// takes it, never cut without a word (QLineEdit's maxLength cuts both).
class QLineEdit;

namespace quorvex::platform {

// Typing or pasting that would make the text longer than maxLength characters is refused;
// shortening a longer text is always allowed.
void limitTyping(QLineEdit& edit, int maxLength);
// The limit set by limitTyping; 0 when there is none.
[[nodiscard]] int typingLimit(const QLineEdit& edit);

} // namespace quorvex::platform
