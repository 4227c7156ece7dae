#pragma once
// A read-only memo of text lines for a window that writes many of them: the script window's
// exchange lines. Appending costs only the lines themselves; once more lines than the limit are
// held, the oldest go; only the visible lines are laid out and painted. Whole lines are selected
// with the mouse (Shift extends) or the keys (the arrows, Page Up/Down, Home and End move the
// current line, with Shift they extend the selection; Ctrl+A selects all) and copied with Ctrl+C
// or the context menu.
#include <QAbstractScrollArea>
#include <QString>
#include <QStringList>

#include <deque>

class QMenu;

namespace quorvex::platform {

class LineMemo final : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit LineMemo(QWidget* parent = nullptr);

    // Appends the lines, each shown as one row, and keeps a view that showed the last line on
    // the last line. Returns how many of the oldest lines went to stay within the limit.
    qsizetype appendLines(const QStringList& lines);
    qsizetype appendLine(const QString& line) { return appendLines(QStringList{line}); }
    void clear();

    // 0 keeps every line.
    void setMaximumLineCount(qsizetype count) { m_limit = count; }

    [[nodiscard]] qsizetype lineCount() const { return static_cast<qsizetype>(m_lines.size()); }
    [[nodiscard]] QString line(qsizetype index) const { return m_lines.at(index); }
    // Every line, joined by '\n'.
    [[nodiscard]] QString toPlainText() const;
    // The selected lines, joined by '\n'; empty without a selection.
    [[nodiscard]] QString selectedText() const;
    // The selected lines; none without a selection.
    [[nodiscard]] QStringList selectedLines() const;
    // The line shown at a point of the viewport, or -1 where no line is.
    [[nodiscard]] qsizetype lineAt(const QPoint& viewportPosition) const;
    // The first line shown.
    [[nodiscard]] qsizetype firstVisibleLine() const;

    void select(qsizetype first, qsizetype last);
    void selectAll();
    void copy() const;
    // "Копировать" and "Выделить всё", for the caller to extend and show; the caller owns it.
    [[nodiscard]] QMenu* createStandardContextMenu();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    [[nodiscard]] int lineHeight() const;
    [[nodiscard]] int visibleLineCount() const;
    [[nodiscard]] bool hasSelection() const { return m_anchor >= 0; }
    [[nodiscard]] bool selected(qsizetype index) const;
    void dropOldest(qsizetype count);
    void noteWidth(const QString& line);
    void findWidestLine();
    void updateScrollBars();
    void scrollToLine(qsizetype index);
    // The line a movement key leads to from the current line; -1 for a key that moves nothing.
    [[nodiscard]] qsizetype lineAfterKey(int key) const;
    void moveCurrentLine(qsizetype index, bool extendSelection);

    std::deque<QString> m_lines;
    qsizetype m_limit = 0;
    // The selection runs from the anchor to the cursor, both included; -1: none.
    qsizetype m_anchor = -1;
    qsizetype m_cursor = -1;
    qsizetype m_current = -1;    // the keys' line, framed while the memo has the focus; -1: none
    QString m_widestLine;        // the line with the most characters so far: the horizontal range
    qsizetype m_widestCount = 0; // lines as long as it: it goes when the last of them goes
};

} // namespace quorvex::platform
