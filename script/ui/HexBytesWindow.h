#pragma once
// "Шестнадцатеричный вид": the bytes of memo lines as hexadecimal digits, one memo line a line.
// It shows at most the first kShownBytes bytes and says so above them when more were chosen; the
// window is resizable and scrolls, so its buttons stay on the screen. The whole text is selected
// when it opens: Ctrl+C copies it, or the part the operator selects; "Копировать" does the same.
#include <QDialog>
#include <QString>
#include <QStringList>

class QPlainTextEdit;

namespace quorvex::ui {

// The hexadecimal listing of memo lines (as the memo shows them, control pictures included),
// bounded to the first `limit` bytes.
struct HexListing {
    QString text; // one line of hexadecimal bytes per memo line shown
    qsizetype shownBytes = 0;
    qsizetype totalBytes = 0;
};
[[nodiscard]] HexListing hexListing(const QStringList& memoLines, qsizetype limit);

class HexBytesWindow final : public QDialog {
public:
    static constexpr qsizetype kShownBytes = 64 * 1024;

    explicit HexBytesWindow(const QStringList& memoLines, QWidget* parent = nullptr);

    // "Копировать": the selected hex, or all of it without a selection.
    void copyHex() const;

private:
    QPlainTextEdit* m_hex = nullptr;
};

} // namespace quorvex::ui
