// Window "Копия чека ("КСЕФ")".
#include "FiscalWindowFixture.h"

#include "fiscal/ui/ReceiptCopiesWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDialog>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

namespace quorvex::ui::test {
namespace {

class ReceiptCopiesWindowTest : public FiscalWindowTest {
protected:
    void SetUp() override
    {
        FiscalWindowTest::SetUp();
        // Documents 12 to 15 in the registrar's journal, on 3 December 2026 at noon.
        for (int number = 12; number <= 15; ++number)
            device().journal.push_back({number,
                                        emulator::DocumentKind::FiscalReceipt,
                                        emulator::DateTime{2026, 12, 3, 12, 0, 0},
                                        {}});
    }

    QLineEdit* edit(const char* name) { return child<QLineEdit>(m_form, name); }
    QLabel* label(const char* name) { return child<QLabel>(m_form, name); }

    void searchByDate(QDate first, const char* firstTime, QDate last, const char* lastTime,
                      bool print)
    {
        child<QDateEdit>(m_form, "firstDateEdit")->setDate(first);
        child<QDateEdit>(m_form, "lastDateEdit")->setDate(last);
        edit("firstTimeEdit")->setText(QString::fromLatin1(firstTime));
        edit("lastTimeEdit")->setText(QString::fromLatin1(lastTime));
        child<QCheckBox>(m_form, "printDocumentsBox")->setChecked(print);
        child<QPushButton>(m_form, "searchButton")->click();
    }

    void printByNumber(const char* first, const char* last)
    {
        edit("firstNumberEdit")->setText(QString::fromLatin1(first));
        edit("lastNumberEdit")->setText(QString::fromLatin1(last));
        child<QPushButton>(m_form, "printButton")->click();
    }

    static void mouse(QWidget* widget, QEvent::Type type)
    {
        QMouseEvent event(type, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &event);
    }

    ReceiptCopiesWindow m_form;
};

using Requests = std::vector<std::string>;

TEST_F(ReceiptCopiesWindowTest, DateSearchSendsDatesTimesAndFlagAndShowsTheNumbersFound)
{
    searchByDate(QDate(2026, 12, 1), "1200", QDate(2026, 12, 7), "1800", true);

    EXPECT_EQ(requests(), (Requests{"4A:W", "EE:011226,1200,071226,1800,1"}));
    EXPECT_EQ(messages(), QStringList{QStringLiteral("Копии чеков - успешно!")});
    EXPECT_EQ(label("firstFoundNumber")->text(), QStringLiteral("12"));
    EXPECT_EQ(label("lastFoundNumber")->text(), QStringLiteral("15"));
}

TEST_F(ReceiptCopiesWindowTest, NumberPrintingSendsFirstAndLast)
{
    printByNumber("5", "13");
    printByNumber("5", "9");

    EXPECT_EQ(requests(), (Requests{"4A:W", "EB:5,13", "4A:W", "EB:5,9"}));
    EXPECT_EQ(messages(), (QStringList{QStringLiteral("Копии чеков - успешно!"),
                                       QStringLiteral("Команда не разрешена"),
                                       QStringLiteral("Ошибка печати копий чека")}));
}

TEST_F(ReceiptCopiesWindowTest, TimeOutHasItsOwnMessageAndKeepsTheLabels)
{
    searchByDate(QDate(2026, 12, 3), "0000", QDate(2026, 12, 3), "2359", false);
    m_dialogs->clear();
    registrar().faults().silent = true;

    searchByDate(QDate(2026, 12, 1), "1200", QDate(2026, 12, 7), "1800", false);
    printByNumber("1", "2");

    const QString timeout = QStringLiteral("Таймаут");
    const QString deviceTimeout = QStringLiteral("Ошибка! Таймаут устройства!");
    EXPECT_EQ(messages(),
              (QStringList{timeout, timeout, deviceTimeout, timeout, timeout, deviceTimeout}));
    EXPECT_EQ(label("firstFoundNumber")->text(), QStringLiteral("12"));
    EXPECT_EQ(label("lastFoundNumber")->text(), QStringLiteral("15"));
}

TEST_F(ReceiptCopiesWindowTest, NumberEditsAreReadLastFirstAfterTheStatusQuery)
{
    printByNumber("x", "y");

    EXPECT_EQ(messages(), QStringList{QStringLiteral("Ошибка преобразования в число: y")});
    EXPECT_EQ(requests(), (Requests{"4A:W"}));
}

TEST_F(ReceiptCopiesWindowTest, ClicksCarryTheResultLabelsIntoTheNumberRange)
{
    label("firstFoundNumber")->setText(QStringLiteral("12"));
    label("lastFoundNumber")->setText(QStringLiteral("15"));
    struct Case {
        const char* label;
        QEvent::Type event;
        const char* first;
        const char* last;
    };
    const Case cases[] = {
        {"firstFoundNumber", QEvent::MouseButtonRelease, "12", "1"},
        {"firstFoundNumber", QEvent::MouseButtonDblClick, "1", "12"},
        {"lastFoundNumber", QEvent::MouseButtonRelease, "1", "15"},
        {"lastFoundNumber", QEvent::MouseButtonDblClick, "15", "1"},
    };
    for (const Case& c : cases) {
        edit("firstNumberEdit")->setText(QStringLiteral("1"));
        edit("lastNumberEdit")->setText(QStringLiteral("1"));

        mouse(label(c.label), c.event);

        EXPECT_EQ(edit("firstNumberEdit")->text(), QLatin1String(c.first)) << c.label << c.event;
        EXPECT_EQ(edit("lastNumberEdit")->text(), QLatin1String(c.last)) << c.label << c.event;
    }
}

TEST_F(ReceiptCopiesWindowTest, EveryOpeningSetsThePickersToTodayAndKeepsTheRest)
{
    child<QDateEdit>(m_form, "firstDateEdit")->setDate(QDate(2020, 1, 1));
    child<QDateEdit>(m_form, "lastDateEdit")->setDate(QDate(2020, 1, 2));
    edit("firstTimeEdit")->setText(QStringLiteral("0930"));

    m_form.show();

    EXPECT_EQ(child<QDateEdit>(m_form, "firstDateEdit")->date(), QDate::currentDate());
    EXPECT_EQ(child<QDateEdit>(m_form, "lastDateEdit")->date(), QDate::currentDate());
    EXPECT_EQ(edit("firstTimeEdit")->text(), QStringLiteral("0930"));
    EXPECT_EQ(edit("lastTimeEdit")->text(), QStringLiteral("1200"));
}

TEST_F(ReceiptCopiesWindowTest, StatusButtonOpensTheStatusWindowModally)
{
    QDialog status;
    m_form.setStatusWindow(&status);
    QWidget* opened = nullptr;
    QTimer::singleShot(0, [&opened] {
        opened = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QDialog*>(opened))
            dialog->reject();
    });

    child<QPushButton>(m_form, "statusButton")->click();

    EXPECT_EQ(opened, &status);
}

} // namespace
} // namespace quorvex::ui::test
