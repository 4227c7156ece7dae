#include "platform/qt/LineMemo.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace quorvex::platform {
namespace {

QStringList numbered(int from, int count)
{
    QStringList lines;
    for (int i = from; i < from + count; ++i)
        lines << QString::number(i);
    return lines;
}

class LineMemoTest : public ::testing::Test {
protected:
    LineMemoTest()
    {
        m_memo.resize(300, 10 * m_memo.fontMetrics().lineSpacing() + 2 * m_memo.frameWidth() +
                               m_memo.horizontalScrollBar()->sizeHint().height());
        m_memo.show();
    }
    void click(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QPointF at(5, row * m_memo.fontMetrics().lineSpacing() + 2);
        QMouseEvent press(QEvent::MouseButtonPress, at, m_memo.viewport()->mapToGlobal(at),
                          Qt::LeftButton, Qt::LeftButton, modifiers);
        QApplication::sendEvent(m_memo.viewport(), &press);
    }
    LineMemo m_memo;
};

// At the limit the oldest lines go, and the view and the selection stay on their lines: a view
// at the end follows new lines, one scrolled back stays where the reader left it.
TEST_F(LineMemoTest, DropsTheOldestLinesAndKeepsViewAndSelectionOnTheirLines)
{
    m_memo.setMaximumLineCount(100);
    EXPECT_EQ(m_memo.appendLines(numbered(0, 60)), 0);
    EXPECT_GT(m_memo.firstVisibleLine(), 40) << "a view at the end follows the end";
    EXPECT_EQ(m_memo.verticalScrollBar()->value(), m_memo.verticalScrollBar()->maximum());
    m_memo.verticalScrollBar()->setValue(20);
    m_memo.select(25, 27);

    EXPECT_EQ(m_memo.appendLines(numbered(60, 50)), 10);

    EXPECT_EQ(m_memo.lineCount(), 100);
    EXPECT_EQ(m_memo.line(0), QStringLiteral("10"));
    EXPECT_EQ(m_memo.line(99), QStringLiteral("109"));
    EXPECT_EQ(m_memo.firstVisibleLine(), 10);
    EXPECT_EQ(m_memo.selectedText(), QStringLiteral("25\n26\n27"));

    m_memo.appendLines(numbered(110, 30));
    EXPECT_EQ(m_memo.selectedText(), QString()) << "the selected lines are gone";
}

TEST_F(LineMemoTest, ClickSelectsALineShiftClickExtendsCopyTakesTheLines)
{
    m_memo.appendLines(
        {QStringLiteral("PC: \u2401 4AW"), QStringLiteral("FP: \u2401"), QStringLiteral("третья")});

    click(0);
    click(2, Qt::ShiftModifier);
    m_memo.copy();

    EXPECT_EQ(QApplication::clipboard()->text(),
              QStringLiteral("PC: \u2401 4AW\nFP: \u2401\nтретья"));
    EXPECT_EQ(m_memo.lineAt(QPoint(5, 2 * m_memo.fontMetrics().lineSpacing() + 1)), 2);
    EXPECT_EQ(m_memo.lineAt(QPoint(5, 5 * m_memo.fontMetrics().lineSpacing())), -1);
    click(5);
    EXPECT_EQ(m_memo.selectedText(), QString()) << "a click below the lines selects none";
}

// An operator without a mouse selects and copies with the keys.
TEST_F(LineMemoTest, KeysMoveTheViewShiftKeysSelectAndSelectAllCopiesEveryLine)
{
    m_memo.appendLines(numbered(0, 60));
    const auto press = [this](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(&m_memo, &event);
    };

    press(Qt::Key_Home);
    EXPECT_EQ(m_memo.firstVisibleLine(), 0);
    press(Qt::Key_PageDown);
    EXPECT_GT(m_memo.firstVisibleLine(), 0);
    press(Qt::Key_End);
    EXPECT_EQ(m_memo.verticalScrollBar()->value(), m_memo.verticalScrollBar()->maximum());

    press(Qt::Key_Up);
    press(Qt::Key_Up, Qt::ShiftModifier);
    press(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(m_memo.selectedText(), QStringLiteral("56\n57\n58"));
    press(Qt::Key_PageUp, Qt::ShiftModifier);
    EXPECT_GT(m_memo.selectedText().count(QLatin1Char('\n')), 5) << "a page more";
    EXPECT_TRUE(m_memo.selectedText().endsWith(QStringLiteral("\n58")));
    press(Qt::Key_Down);
    EXPECT_EQ(m_memo.selectedText(), QString()) << "a move without Shift leaves no selection";

    press(Qt::Key_A, Qt::ControlModifier);
    press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), numbered(0, 60).join(QLatin1Char('\n')));
}

// The horizontal scroll bar reaches as far as the widest line still held.
TEST_F(LineMemoTest, HorizontalRangeShrinksWhenTheWidestLineIsDropped)
{
    m_memo.setMaximumLineCount(20);
    m_memo.appendLine(QString(400, QLatin1Char('x')));
    ASSERT_GT(m_memo.horizontalScrollBar()->maximum(), 0);

    m_memo.appendLines(numbered(0, 20));

    EXPECT_EQ(m_memo.horizontalScrollBar()->maximum(), 0);
}

} // namespace
} // namespace quorvex::platform
