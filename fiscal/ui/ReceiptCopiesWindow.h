#pragma once
// Window "Копия чека ("КСЕФ")": searches the registrar's stored documents by dates and times,
// optionally printing them, or prints them by a range of document numbers. The numbers a date
// search returns are carried into the number range by a click on their labels.
#include "link/Exchange.h"

#include <QDialog>

#include <memory>

namespace Ui {
class ReceiptCopiesWindow;
}

namespace quorvex::ui {

class ReceiptCopiesWindow : public QDialog {
    Q_OBJECT
public:
    explicit ReceiptCopiesWindow(QWidget* parent = nullptr);
    ~ReceiptCopiesWindow() override;

    // The registrar status window opened by "Состояние регистратора" (not owned).
    void setStatusWindow(QDialog* statusWindow);

    // Every opening: both date pickers to today.
    void setDatesToToday();
    // "Выполнить" of the date group: search (and print) by dates and times.
    void searchByDates();
    // "Выполнить" of the number group: print by document numbers.
    void printByNumbers();
    // "Состояние регистратора".
    void openStatusWindow();
    // "Закрыть".
    void closeWindow();
    // The result labels carried into the number range.
    void copyFirstFoundToFirst();
    void copyFirstFoundToLast();
    void copyLastFoundToLast();
    void copyLastFoundToFirst();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The outcome message of a copy command; false after a time-out or a refusal.
    bool reportCopyOutcome(const link::ExchangeOutcome& outcome);

    std::unique_ptr<Ui::ReceiptCopiesWindow> m_ui;
    QDialog* m_statusWindow = nullptr;
};

} // namespace quorvex::ui
