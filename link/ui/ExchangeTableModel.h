#pragma once
// The exchange monitor's table: one row per exchange, the newest last, at most a bounded number
// of rows (the oldest are dropped and counted), filtered by registrar, command code and errors.
#include "link/ExchangeDecode.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QLocale>
#include <QString>

#include <array>
#include <deque>
#include <optional>
#include <vector>

namespace quorvex::ui {

// One exchange as the table keeps it: decoded into its columns only when a cell is shown or
// copied (a fast run adds rows far faster than anyone reads them), and the frames for the
// details pane.
struct MonitorRow {
    link::ExchangeSummary summary;
    std::int64_t wallMs = 0;
    std::string requestFrame;
    std::string rawAnswer;
};

// What the table lets through; an unset part lets everything through.
struct MonitorFilter {
    std::optional<int> registrar;
    std::optional<int> command;
    bool errorsOnly = false;

    [[nodiscard]] bool passes(const MonitorRow& row) const;
};

class ExchangeTableModel final : public QAbstractTableModel {
public:
    static constexpr int kDefaultLimit = 100'000;
    static constexpr int kColumns = 9;

    explicit ExchangeTableModel(QObject* parent = nullptr, int limit = kDefaultLimit);

    [[nodiscard]] static MonitorRow rowFor(const link::ExchangeRecord& record);

    // Appends rows in one batch, drops the oldest beyond the limit.
    void append(std::vector<MonitorRow> rows);
    void clear();
    void setFilter(const MonitorFilter& filter);

    // Rows dropped because of the limit since the last clear.
    [[nodiscard]] long long dropped() const { return m_dropped; }
    // The shown row at index (after the filter).
    [[nodiscard]] const MonitorRow& shownRow(int index) const;
    // A shown row as one line of tab-separated columns, the time first.
    [[nodiscard]] QString rowText(int index) const;
    [[nodiscard]] static QStringList headers();
    // Every shown row as CSV: UTF-8 with a byte-order mark, a header line, every field quoted,
    // fields parted by `separator`, CR LF line ends; the time with its date.
    [[nodiscard]] QByteArray csv(QChar separator) const;
    // The list separator of a locale, as spreadsheets expect it: ';' where the decimal point is
    // a comma (Russian), ',' elsewhere.
    [[nodiscard]] static QChar listSeparator(const QLocale& locale);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void rebuildShown();
    // The display texts of a shown row's columns. A view asks for the cells of a row one after
    // the other, so the last row's texts are kept: the row is decoded once, not once per cell.
    [[nodiscard]] const std::array<QString, kColumns>& cellTexts(const MonitorRow& row) const;
    void forgetCellTexts() const { m_textsOf = nullptr; }

    int m_limit;
    std::deque<MonitorRow> m_rows;         // every kept row, oldest first
    std::deque<const MonitorRow*> m_shown; // the rows the filter passes
    MonitorFilter m_filter;
    long long m_dropped = 0;
    mutable const MonitorRow* m_textsOf = nullptr; // whose texts m_texts holds
    mutable std::array<QString, kColumns> m_texts;
};

} // namespace quorvex::ui
