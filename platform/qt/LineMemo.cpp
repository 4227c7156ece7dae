#include "platform/qt/LineMemo.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <utility>

namespace quorvex::platform {
namespace {

constexpr int kTextMargin = 4; // pixels between the frame and the text

} // namespace

LineMemo::LineMemo(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(fontMetrics().averageCharWidth());
    updateScrollBars();
}

qsizetype LineMemo::appendLines(const QStringList& lines)
{
    if (lines.isEmpty())
        return 0;
    const bool followingTheEnd = verticalScrollBar()->value() >= verticalScrollBar()->maximum();
    for (const QString& line : lines) {
        noteWidth(line);
        m_lines.push_back(line);
    }
    const qsizetype dropped =
        m_limit > 0 ? std::max<qsizetype>(0, lineCount() - m_limit) : qsizetype{0};
    dropOldest(dropped);
    updateScrollBars();
    if (followingTheEnd)
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    viewport()->update();
    return dropped;
}

// The oldest lines go; the view and the selection stay on the lines they were on, and the
// horizontal range shrinks when the widest line went with them.
void LineMemo::dropOldest(qsizetype count)
{
    if (count <= 0)
        return;
    m_widestCount -=
        std::count_if(m_lines.begin(), m_lines.begin() + count,
                      [this](const QString& line) { return line.size() == m_widestLine.size(); });
    m_lines.erase(m_lines.begin(), m_lines.begin() + count);
    if (m_widestCount <= 0)
        findWidestLine();
    m_current = m_current >= count ? m_current - count : -1;
    if (hasSelection()) {
        m_anchor -= count;
        m_cursor -= count;
        if (std::max(m_anchor, m_cursor) < 0)
            m_anchor = m_cursor = -1;
        else {
            m_anchor = std::max<qsizetype>(m_anchor, 0);
            m_cursor = std::max<qsizetype>(m_cursor, 0);
        }
    }
    verticalScrollBar()->setValue(
        static_cast<int>(std::max<qsizetype>(0, verticalScrollBar()->value() - count)));
}

void LineMemo::noteWidth(const QString& line)
{
    if (line.size() > m_widestLine.size()) {
        m_widestLine = line;
        m_widestCount = 1;
    } else if (line.size() == m_widestLine.size()) {
        ++m_widestCount;
    }
}

void LineMemo::findWidestLine()
{
    m_widestLine.clear();
    m_widestCount = 0;
    for (const QString& line : m_lines)
        noteWidth(line);
}

void LineMemo::clear()
{
    m_lines.clear();
    m_widestLine.clear();
    m_widestCount = 0;
    m_anchor = m_cursor = m_current = -1;
    updateScrollBars();
    viewport()->update();
}

QString LineMemo::toPlainText() const
{
    QStringList all(m_lines.begin(), m_lines.end());
    return all.join(QLatin1Char('\n'));
}

bool LineMemo::selected(qsizetype index) const
{
    return hasSelection() && index >= std::min(m_anchor, m_cursor) &&
           index <= std::max(m_anchor, m_cursor);
}

QString LineMemo::selectedText() const
{
    return selectedLines().join(QLatin1Char('\n'));
}

QStringList LineMemo::selectedLines() const
{
    if (!hasSelection())
        return {};
    const auto first = m_lines.begin() + std::min(m_anchor, m_cursor);
    const auto last = m_lines.begin() + std::max(m_anchor, m_cursor) + 1;
    return QStringList(first, last);
}

qsizetype LineMemo::firstVisibleLine() const
{
    return verticalScrollBar()->value();
}

int LineMemo::lineHeight() const
{
    return std::max(1, fontMetrics().lineSpacing());
}

int LineMemo::visibleLineCount() const
{
    return std::max(1, viewport()->height() / lineHeight());
}

qsizetype LineMemo::lineAt(const QPoint& viewportPosition) const
{
    if (viewportPosition.y() < 0)
        return -1;
    const qsizetype index = firstVisibleLine() + viewportPosition.y() / lineHeight();
    return index < lineCount() ? index : -1;
}

void LineMemo::select(qsizetype first, qsizetype last)
{
    if (lineCount() == 0)
        return;
    m_anchor = std::clamp<qsizetype>(first, 0, lineCount() - 1);
    m_cursor = std::clamp<qsizetype>(last, 0, lineCount() - 1);
    viewport()->update();
}

void LineMemo::selectAll()
{
    select(0, lineCount() - 1);
}

void LineMemo::copy() const
{
    if (hasSelection())
        QApplication::clipboard()->setText(selectedText());
}

QMenu* LineMemo::createStandardContextMenu()
{
    auto* menu = new QMenu(this);
    QAction* copyAction = menu->addAction(QStringLiteral("Копировать"), this, &LineMemo::copy);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setEnabled(hasSelection());
    QAction* selectAllAction =
        menu->addAction(QStringLiteral("Выделить всё"), this, &LineMemo::selectAll);
    selectAllAction->setShortcut(QKeySequence::SelectAll);
    selectAllAction->setEnabled(lineCount() > 0);
    return menu;
}

void LineMemo::updateScrollBars()
{
    const int visible = visibleLineCount();
    verticalScrollBar()->setPageStep(visible);
    verticalScrollBar()->setRange(0,
                                  static_cast<int>(std::max<qsizetype>(0, lineCount() - visible)));
    const int textWidth = fontMetrics().horizontalAdvance(m_widestLine) + 2 * kTextMargin;
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setRange(0, std::max(0, textWidth - viewport()->width()));
}

void LineMemo::scrollToLine(qsizetype index)
{
    const qsizetype first = firstVisibleLine();
    if (index < first)
        verticalScrollBar()->setValue(static_cast<int>(index));
    else if (index >= first + visibleLineCount())
        verticalScrollBar()->setValue(static_cast<int>(index - visibleLineCount() + 1));
}

void LineMemo::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(viewport());
    const int height = lineHeight();
    const int ascent = fontMetrics().ascent();
    const int x = kTextMargin - horizontalScrollBar()->value();
    const qsizetype first = firstVisibleLine();
    const qsizetype end = std::min(lineCount(), first + visibleLineCount() + 1);
    const QPalette& colours = palette();
    for (qsizetype index = first; index < end; ++index) {
        const int y = static_cast<int>(index - first) * height;
        if (selected(index)) {
            painter.fillRect(0, y, viewport()->width(), height, colours.highlight());
            painter.setPen(colours.highlightedText().color());
        } else {
            painter.setPen(colours.text().color());
        }
        painter.drawText(x, y + ascent, m_lines[static_cast<std::size_t>(index)]);
        if (index == m_current && hasFocus()) {
            QPen frame(colours.text().color(), 1, Qt::DotLine);
            painter.setPen(frame);
            painter.drawRect(0, y, viewport()->width() - 1, height - 1);
        }
    }
}

void LineMemo::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    const bool followingTheEnd = verticalScrollBar()->value() >= verticalScrollBar()->maximum();
    updateScrollBars();
    if (followingTheEnd)
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void LineMemo::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const qsizetype index = lineAt(event->position().toPoint());
    if (index < 0) {
        m_anchor = m_cursor = -1;
    } else if ((event->modifiers() & Qt::ShiftModifier) && hasSelection()) {
        m_cursor = index;
    } else {
        m_anchor = m_cursor = index;
    }
    if (index >= 0)
        m_current = index;
    viewport()->update();
}

// Dragging with the left button extends the selection, scrolling at the edges.
void LineMemo::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton) || !hasSelection() || lineCount() == 0)
        return;
    const int y = event->position().toPoint().y();
    const qsizetype index = std::clamp<qsizetype>(
        firstVisibleLine() + (y < 0 ? -1 : y / lineHeight()), 0, lineCount() - 1);
    m_cursor = m_current = index;
    scrollToLine(index);
    viewport()->update();
}

void LineMemo::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        copy();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return;
    }
    const Qt::KeyboardModifiers others =
        event->modifiers() & ~Qt::KeyboardModifiers(Qt::ShiftModifier | Qt::KeypadModifier);
    const qsizetype target = others == Qt::NoModifier ? lineAfterKey(event->key()) : -1;
    if (target < 0) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    // A page key turns the view by a page, as the scroll bar does, and the line goes with it.
    if (event->key() == Qt::Key_PageUp)
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    else if (event->key() == Qt::Key_PageDown)
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    moveCurrentLine(target, (event->modifiers() & Qt::ShiftModifier) != 0);
}

qsizetype LineMemo::lineAfterKey(int key) const
{
    if (lineCount() == 0)
        return -1;
    // Without a current line the keys start from the first line shown.
    const qsizetype from = m_current >= 0 ? m_current : firstVisibleLine();
    const qsizetype page = std::max(1, visibleLineCount() - 1);
    qsizetype to = -1;
    switch (key) {
    case Qt::Key_Up:
        to = from - 1;
        break;
    case Qt::Key_Down:
        to = from + 1;
        break;
    case Qt::Key_PageUp:
        to = from - page;
        break;
    case Qt::Key_PageDown:
        to = from + page;
        break;
    case Qt::Key_Home:
        to = 0;
        break;
    case Qt::Key_End:
        to = lineCount() - 1;
        break;
    default:
        return -1;
    }
    return std::clamp<qsizetype>(to, 0, lineCount() - 1);
}

// The current line moves there and the view follows it; with Shift the selection runs from where
// it was anchored (the old current line when none was) to the new line, without it none is left.
void LineMemo::moveCurrentLine(qsizetype index, bool extendSelection)
{
    if (extendSelection) {
        if (!hasSelection())
            m_anchor = m_current >= 0 ? m_current : firstVisibleLine();
        m_cursor = index;
    } else {
        m_anchor = m_cursor = -1;
    }
    m_current = index;
    scrollToLine(index);
    viewport()->update();
}

void LineMemo::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        horizontalScrollBar()->setSingleStep(fontMetrics().averageCharWidth());
        updateScrollBars();
        viewport()->update();
    }
}

// The view moves in whole lines; it is painted afresh rather than scrolled.
void LineMemo::scrollContentsBy(int /*dx*/, int /*dy*/)
{
    viewport()->update();
}

} // namespace quorvex::platform
