#pragma once
// The cells of the sales window's article grid: row 0 is the header, column 0 the line numbers,
// columns 1..5 the fields of the article file. Texts are kept as Windows-1251 bytes and converted
// only when a cell is shown, so that loading a long file costs no more than reading it.
#include "fiscal/ArticleFile.h"

#include <QAbstractTableModel>

#include <array>
#include <string>
#include <vector>

namespace quorvex::ui {

class ArticleGrid : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 6;

    // rows: the grid's rows, the header row included.
    ArticleGrid(int rows, QObject* parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role) const override;

    // The cell of grid row `row` (0: the header row), Windows-1251; empty outside the grid.
    [[nodiscard]] const std::string& cell(int column, int row) const;
    void setHeaders(const std::array<std::string, kColumns>& headers);
    // Rows 1.. from the file's rows, each with its line number; later rows keep what they held.
    void fillRows(const std::vector<fiscal::ArticleFields>& rows);

private:
    std::array<std::string, kColumns> m_headers;
    std::vector<std::array<std::string, kColumns>> m_cells; // grid rows 1..
};

} // namespace quorvex::ui
