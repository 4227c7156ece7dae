#pragma once
// Window "Копия чека ("КСЕФ")": searches the registrar's stored documents by dates and times,
// optionally printing them, or prints them by a range of document numbers. The numbers a date
// search returns are carried into the number range by a click on their labels.
#include "link/Exchange.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TForm13;
}

namespace quorvex::ui {

class TForm13 : public QDialog {
    Q_OBJECT
public:
    explicit TForm13(QWidget* parent = nullptr);
    ~TForm13() override;

    // The registrar status window opened by "Состояние регистратора" (not owned).
    void setStatusWindow(QDialog* statusWindow);

    // Every opening: both date pickers to today.
    void FormActivate();
    // "Выполнить" of the date group: search (and print) by dates and times.
    void Button1Click();
    // "Выполнить" of the number group: print by document numbers.
    void Button2Click();
    // "Состояние регистратора".
    void Button3Click();
    // "Закрыть".
    void Button4Click();
    // The result labels carried into the number range.
    void Label3Click();
    void Label3DblClick();
    void Label4Click();
    void Label4DblClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The outcome message of a copy command; false after a time-out or a refusal.
    bool reportCopyOutcome(const link::ExchangeOutcome& outcome);

    std::unique_ptr<Ui::TForm13> m_ui;
    QDialog* m_statusWindow = nullptr;
};

} // namespace quorvex::ui
