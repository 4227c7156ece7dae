#pragma once
// "Монитор обмена": every exchange on both registrars' lines, live, as it ends: a table with the
// time to the millisecond, the command, the request, the answer fields, the status bytes, the
// errors and the round trip, and a pane with the selected exchange's frames in hex and text.
// A window of its own, usable beside every other; it observes the link only while it is shown,
// and fills its table ten times a second. Esc and "Закрыть" close it.
#include "link/ExchangeObserver.h"
#include "link/ui/ExchangeTableModel.h"

#include <QTimer>
#include <QWidget>

#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTableView;

namespace quorvex::link {
class Link;
}

namespace quorvex::ui {

class ExchangeMonitor final : public QWidget, public link::ExchangeObserver {
public:
    // link: the link to observe (nullptr: the process's).
    explicit ExchangeMonitor(QWidget* parent = nullptr, link::Link* link = nullptr);
    ~ExchangeMonitor() override;

    void exchangeFinished(const link::ExchangeRecord& record) override;

    // Shows the window, or brings it to the front when it is shown already.
    void open();
    // Puts the exchanges that came since the last frame into the table (the timer does this).
    void showPending();
    // Writes every shown row as CSV (ExchangeTableModel::csv), the fields parted by the default
    // locale's list separator. The file is replaced whole or not at all; on failure `failure`
    // gets the reason.
    bool saveCsv(const std::string& path, QString* failure = nullptr) const;

    [[nodiscard]] ExchangeTableModel& model() { return m_model; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildControls();
    void applyFilter();
    void copySelectedRows();
    void saveRows();
    void showDetails();
    void updateDroppedLabel();
    void setColumnWidths();

    link::Link& m_link;
    bool m_observing = false;
    ExchangeTableModel m_model;
    std::vector<MonitorRow> m_pending;
    QTimer m_frame;
    QCheckBox* m_pause = nullptr;
    QComboBox* m_registrar = nullptr;
    QLineEdit* m_code = nullptr;
    QCheckBox* m_errorsOnly = nullptr;
    QLabel* m_dropped = nullptr;
    QTableView* m_table = nullptr;
    QPlainTextEdit* m_details = nullptr;
};

} // namespace quorvex::ui
