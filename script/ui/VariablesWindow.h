#pragma once
// Window "Переменные": the script's variables in a grid. Row 0 is the header row, row n holds
// variable n (1-based); rows are added by the interpreter and never removed.
#include <QDialog>

#include <memory>

class QTableWidget;
namespace Ui {
class VariablesWindow;
}

namespace quorvex::ui {

class VariablesWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kColumnCount = 4;

    explicit VariablesWindow(QWidget* parent = nullptr);
    ~VariablesWindow() override;

    // The window whose right edge this one is placed at on every activation.
    void setAnchorWindow(QWidget* anchor);

    // Appends one empty row at the end of the grid.
    void addRow();
    // Writes one cell; rows that do not exist yet are added first. Text is shown as given.
    void setCell(int row, int column, const QString& text);
    [[nodiscard]] QString cell(int row, int column) const;
    [[nodiscard]] int rowCount() const;
    // Schedules a repaint of the grid, done with the next message processing.
    void updateGrid();

    // "Переменные" of the script window: header cells, numbers 1 .. count+1 in column 0.
    void writeHeaderAndNumbers(int variableCount);

    void placeBesideAnchor();

protected:
    bool event(QEvent* event) override;

private:
    void closeWindow();
    void ensureRows(int rows);
    void createFixedCells(int row);

    std::unique_ptr<Ui::VariablesWindow> m_ui;
    QWidget* m_anchor = nullptr;
};

} // namespace quorvex::ui
