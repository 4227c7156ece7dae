#include "fiscal/ui/ArticleGrid.h"

#include "platform/qt/TextCodec.h"

#include <QApplication>
#include <QPalette>

#include <algorithm>

namespace quorvex::ui {

namespace {

const std::string kNoCell;

} // namespace

ArticleGrid::ArticleGrid(int rows, QObject* parent)
    : QAbstractTableModel(parent), m_cells(static_cast<std::size_t>(std::max(rows - 1, 0)))
{
}

int ArticleGrid::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_cells.size());
}

int ArticleGrid::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant ArticleGrid::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return platform::fromCp1251(cell(index.column(), index.row() + 1));
    if (role == Qt::BackgroundRole && index.column() == 0)
        return QApplication::palette().button(); // the fixed column of line numbers
    return {};
}

QVariant ArticleGrid::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= kColumns)
        return {};
    return platform::fromCp1251(m_headers[static_cast<std::size_t>(section)]);
}

const std::string& ArticleGrid::cell(int column, int row) const
{
    if (column < 0 || column >= kColumns || row < 0 || row > static_cast<int>(m_cells.size()))
        return kNoCell;
    const auto c = static_cast<std::size_t>(column);
    return row == 0 ? m_headers[c] : m_cells[static_cast<std::size_t>(row - 1)][c];
}

void ArticleGrid::setHeaders(const std::array<std::string, kColumns>& headers)
{
    m_headers = headers;
    emit headerDataChanged(Qt::Horizontal, 0, kColumns - 1);
}

void ArticleGrid::fillRows(const std::vector<fiscal::ArticleFields>& rows)
{
    const std::size_t count = std::min(rows.size(), m_cells.size());
    for (std::size_t i = 0; i < count; ++i) {
        auto& cells = m_cells[i];
        cells[0] = std::to_string(i + 1);
        std::copy(rows[i].begin(), rows[i].end(), cells.begin() + 1);
    }
    if (count > 0)
        emit dataChanged(index(0, 0), index(static_cast<int>(count) - 1, kColumns - 1));
}

} // namespace quorvex::ui
