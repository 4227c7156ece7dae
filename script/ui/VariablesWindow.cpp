#include "script/ui/VariablesWindow.h"

#include "ui_VariablesWindow.h"

#include <QEvent>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

namespace quorvex::ui {

namespace {

constexpr int kColumnWidths[VariablesWindow::kColumnCount] = {40, 98, 94, 26};
constexpr int kRowHeight = 16;

} // namespace

VariablesWindow::VariablesWindow(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::VariablesWindow>())
{
    m_ui->setupUi(this);
    setFixedSize(size());
    QTableWidget* grid = m_ui->variableGrid;
    for (int column = 0; column < kColumnCount; ++column)
        grid->setColumnWidth(column, kColumnWidths[column]);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid->verticalHeader()->setMinimumSectionSize(kRowHeight);
    for (int row = 0; row < grid->rowCount(); ++row) {
        grid->setRowHeight(row, kRowHeight);
        createFixedCells(row);
    }
    QFont small = grid->font();
    small.setPixelSize(11);
    grid->setFont(small);
    connect(m_ui->closeButton, &QPushButton::clicked, this, &VariablesWindow::closeWindow);
}

VariablesWindow::~VariablesWindow() = default;

void VariablesWindow::setAnchorWindow(QWidget* anchor)
{
    m_anchor = anchor;
}

void VariablesWindow::addRow()
{
    QTableWidget* grid = m_ui->variableGrid;
    const int row = grid->rowCount();
    grid->insertRow(row);
    grid->setRowHeight(row, kRowHeight);
    createFixedCells(row);
}

// The header row and the number column look like a grid's fixed cells.
void VariablesWindow::createFixedCells(int row)
{
    QTableWidget* grid = m_ui->variableGrid;
    const int lastColumn = row == 0 ? kColumnCount - 1 : 0;
    for (int column = 0; column <= lastColumn; ++column) {
        auto* item = new QTableWidgetItem;
        item->setBackground(palette().button());
        grid->setItem(row, column, item);
    }
}

void VariablesWindow::ensureRows(int rows)
{
    while (m_ui->variableGrid->rowCount() < rows)
        addRow();
}

void VariablesWindow::setCell(int row, int column, const QString& text)
{
    if (row < 0 || column < 0 || column >= kColumnCount)
        return;
    ensureRows(row + 1);
    QTableWidget* grid = m_ui->variableGrid;
    QTableWidgetItem* item = grid->item(row, column);
    if (item == nullptr) {
        item = new QTableWidgetItem;
        grid->setItem(row, column, item);
    }
    item->setText(text);
}

QString VariablesWindow::cell(int row, int column) const
{
    const QTableWidgetItem* item = m_ui->variableGrid->item(row, column);
    return item != nullptr ? item->text() : QString();
}

int VariablesWindow::rowCount() const
{
    return m_ui->variableGrid->rowCount();
}

void VariablesWindow::updateGrid()
{
    m_ui->variableGrid->viewport()->update();
}

void VariablesWindow::writeHeaderAndNumbers(int variableCount)
{
    setCell(0, 1, QStringLiteral("Переменные"));
    setCell(0, 2, QStringLiteral("Значения"));
    for (int number = 1; number <= variableCount + 1; ++number)
        setCell(number, 0, QString::number(number));
}

void VariablesWindow::placeBesideAnchor()
{
    if (m_anchor == nullptr)
        return;
    const QRect anchorFrame = m_anchor->frameGeometry();
    move(anchorFrame.x() + anchorFrame.width(), anchorFrame.y());
}

bool VariablesWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        placeBesideAnchor();
    return QDialog::event(event);
}

void VariablesWindow::closeWindow()
{
    close();
}

} // namespace quorvex::ui
