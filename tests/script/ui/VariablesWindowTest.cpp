// Variables window: the grid's shape, rows added and never cleared, the numbering written by
// "Переменные" and the position at the script window's right edge.
#include "ScriptWindowTestFixture.h"

#include <QHeaderView>
#include <QTableWidget>

namespace quorvex::ui::testing {
namespace {

using VariablesWindowGrid = ScriptWindowFixture;

TEST_F(VariablesWindowGrid, StartsWithAHeaderRowAndOneEmptyRow)
{
    auto* grid = m_variables->findChild<QTableWidget*>(QStringLiteral("variableGrid"));
    ASSERT_NE(grid, nullptr);

    EXPECT_EQ(m_variables->size(), QSize(296, 610));
    EXPECT_EQ(m_variables->windowTitle(), QStringLiteral("Переменные"));
    EXPECT_EQ(grid->columnCount(), 4);
    EXPECT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->columnWidth(0), 40);
    EXPECT_EQ(grid->columnWidth(1), 98);
    EXPECT_EQ(grid->columnWidth(2), 94);
    EXPECT_EQ(grid->columnWidth(3), 26);
    EXPECT_EQ(grid->rowHeight(1), 16);
}

TEST_F(VariablesWindowGrid, VariablesButtonNumbersTheRowsAndShowsTheWindow)
{
    m_variables->addRow();
    m_variables->addRow();

    button("variablesButton")->click();

    EXPECT_TRUE(m_variables->isVisible());
    EXPECT_EQ(m_variables->cell(0, 1), QStringLiteral("Переменные"));
    EXPECT_EQ(m_variables->cell(0, 2), QStringLiteral("Значения"));
    // No run yet: count 0, so only row 1 is numbered.
    EXPECT_EQ(m_variables->cell(1, 0), QStringLiteral("1"));
    EXPECT_EQ(m_variables->cell(2, 0), QString());
    m_variables->close();
    EXPECT_FALSE(m_variables->isVisible());
}

TEST_F(VariablesWindowGrid, CellsBeyondTheGridAddRowsAndNothingIsCleared)
{
    m_variables->setCell(3, 2, QStringLiteral("значение"));

    EXPECT_EQ(m_variables->rowCount(), 4);
    EXPECT_EQ(m_variables->cell(3, 2), QStringLiteral("значение"));

    m_variables->addRow();
    EXPECT_EQ(m_variables->rowCount(), 5);
    EXPECT_EQ(m_variables->cell(3, 2), QStringLiteral("значение"));

    m_variables->setCell(1, 7, QStringLiteral("x")); // no such column: ignored
    m_variables->setCell(-1, 0, QStringLiteral("x"));
    EXPECT_EQ(m_variables->rowCount(), 5);
}

TEST_F(VariablesWindowGrid, ActivationPlacesItAtTheScriptWindowsRightEdge)
{
    m_form->move(30, 40);
    const QRect frame = m_form->frameGeometry();

    m_variables->placeBesideAnchor();

    EXPECT_EQ(m_variables->frameGeometry().topLeft(), QPoint(frame.x() + frame.width(), frame.y()));
}

TEST_F(VariablesWindowGrid, CloseButtonHidesTheWindow)
{
    m_variables->show();

    m_variables->findChild<QPushButton*>(QStringLiteral("closeButton"))->click();

    EXPECT_FALSE(m_variables->isVisible());
}

} // namespace
} // namespace quorvex::ui::testing
