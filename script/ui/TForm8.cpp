#include "script/ui/TForm8.h"

#include "ui_TForm8.h"

#include <QEvent>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

namespace quorvex::ui {

namespace {

constexpr int kColumnWidths[TForm8::kColumnCount] = {40, 98, 94, 26};
constexpr int kRowHeight = 16;

} // namespace

TForm8::TForm8(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::TForm8>())
{
    m_ui->setupUi(this);
    setFixedSize(size());
    QTableWidget* grid = m_ui->StringGrid1;
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
    connect(m_ui->Button1, &QPushButton::clicked, this, &TForm8::Button1Click);
}

TForm8::~TForm8() = default;

void TForm8::setAnchorWindow(QWidget* anchor)
{
    m_anchor = anchor;
}

void TForm8::addRow()
{
    QTableWidget* grid = m_ui->StringGrid1;
    const int row = grid->rowCount();
    grid->insertRow(row);
    grid->setRowHeight(row, kRowHeight);
    createFixedCells(row);
}

// The header row and the number column look like a grid's fixed cells.
void TForm8::createFixedCells(int row)
{
    QTableWidget* grid = m_ui->StringGrid1;
    const int lastColumn = row == 0 ? kColumnCount - 1 : 0;
    for (int column = 0; column <= lastColumn; ++column) {
        auto* item = new QTableWidgetItem;
        item->setBackground(palette().button());
        grid->setItem(row, column, item);
    }
}

void TForm8::ensureRows(int rows)
{
    while (m_ui->StringGrid1->rowCount() < rows)
        addRow();
}

void TForm8::setCell(int row, int column, const QString& text)
{
    if (row < 0 || column < 0 || column >= kColumnCount)
        return;
    ensureRows(row + 1);
    QTableWidget* grid = m_ui->StringGrid1;
    QTableWidgetItem* item = grid->item(row, column);
    if (item == nullptr) {
        item = new QTableWidgetItem;
        grid->setItem(row, column, item);
    }
    item->setText(text);
}

QString TForm8::cell(int row, int column) const
{
    const QTableWidgetItem* item = m_ui->StringGrid1->item(row, column);
    return item != nullptr ? item->text() : QString();
}

int TForm8::rowCount() const
{
    return m_ui->StringGrid1->rowCount();
}

void TForm8::updateGrid()
{
    m_ui->StringGrid1->viewport()->update();
}

void TForm8::writeHeaderAndNumbers(int variableCount)
{
    setCell(0, 1, QStringLiteral("Переменные"));
    setCell(0, 2, QStringLiteral("Значения"));
    for (int number = 1; number <= variableCount + 1; ++number)
        setCell(number, 0, QString::number(number));
}

void TForm8::FormActivate()
{
    if (m_anchor == nullptr)
        return;
    const QRect anchorFrame = m_anchor->frameGeometry();
    move(anchorFrame.x() + anchorFrame.width(), anchorFrame.y());
}

bool TForm8::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QDialog::event(event);
}

void TForm8::Button1Click()
{
    close();
}

} // namespace quorvex::ui
