#pragma once
// Window "Периодические отчеты": a short or full periodic report over a range of report numbers
// or of dates.
#include <QDialog>

#include <array>
#include <memory>

class QButtonGroup;

namespace Ui {
class PeriodicReportsWindow;
}

namespace quorvex::ui {

class PeriodicReportsWindow : public QDialog {
    Q_OBJECT
public:
    explicit PeriodicReportsWindow(QWidget* parent = nullptr);
    ~PeriodicReportsWindow() override;

    // Choosing an item of "Тип отчета": shows and enables the edits of that range, hides and
    // disables the others, and enables "Выполнить".
    void showChosenRange();
    // Leaving "Тип отчета" sets the window up in the same way.
    void leaveRangeChoice();
    // "Выполнить": the chosen report with the default operator password.
    void printReport();
    // "Выход".
    void closeWindow();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showRangeEdits(bool numbers, bool dates);
    void reserveRangeSpace();
    [[nodiscard]] std::array<QWidget*, 4> numberWidgets() const;
    [[nodiscard]] std::array<QWidget*, 4> dateWidgets() const;

    std::unique_ptr<Ui::PeriodicReportsWindow> m_ui;
    QButtonGroup* m_rangeChoice = nullptr;
    QButtonGroup* m_kindChoice = nullptr;
    // The application's focus signal outlives the form's controls: it is cut before they go.
    QMetaObject::Connection m_focusWatch;
};

} // namespace quorvex::ui
