// Window "Периодические отчеты".
#include "FiscalWindowFixture.h"

#include "fiscal/ui/PeriodicReportsWindow.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace quorvex::ui::test {
namespace {

class PeriodicReportsWindowTest : public FiscalWindowTest {
protected:
    QRadioButton* radio(const char* name) { return child<QRadioButton>(m_form, name); }
    QPushButton* execute() { return child<QPushButton>(m_form, "runButton"); }

    // Which of the range edits can be seen and used: the two number edits, then the two dates.
    std::vector<bool> rangeEdits()
    {
        std::vector<bool> usable;
        for (const char* name :
             {"firstNumberLabel", "firstNumberEdit", "lastNumberLabel", "lastNumberEdit",
              "firstDateLabel", "firstDateEdit", "lastDateLabel", "lastDateEdit"}) {
            QWidget* w = child<QWidget>(m_form, name);
            usable.push_back(w->isVisibleTo(&m_form) && w->isEnabled());
        }
        return usable;
    }

    PeriodicReportsWindow m_form;
};

const std::vector<bool> kNone(8, false);
const std::vector<bool> kNumbers{true, true, true, true, false, false, false, false};
const std::vector<bool> kDates{false, false, false, false, true, true, true, true};

TEST_F(PeriodicReportsWindowTest, StartsWithNoRangeChosenAndTheShortReport)
{
    EXPECT_FALSE(radio("rangeByNumber")->isChecked());
    EXPECT_FALSE(radio("rangeByDate")->isChecked());
    EXPECT_TRUE(radio("shortReport")->isChecked());
    EXPECT_EQ(rangeEdits(), kNone);
    EXPECT_FALSE(execute()->isEnabled());
    EXPECT_EQ(child<QLineEdit>(m_form, "firstNumberEdit")->text(), QStringLiteral("1"));
    EXPECT_EQ(child<QDateEdit>(m_form, "firstDateEdit")->date(), QDate::currentDate());
}

TEST_F(PeriodicReportsWindowTest, ChoosingARangeShowsItsEditsAndEnablesExecute)
{
    radio("rangeByNumber")->click();
    EXPECT_EQ(rangeEdits(), kNumbers);
    EXPECT_TRUE(execute()->isEnabled());

    radio("rangeByDate")->click();
    EXPECT_EQ(rangeEdits(), kDates);
}

TEST_F(PeriodicReportsWindowTest, LeavingTheChoiceUnchosenEnablesExecuteWhichSaysError)
{
    m_form.show();
    QApplication::setActiveWindow(&m_form);
    radio("rangeByNumber")->setFocus();
    QCoreApplication::processEvents();
    ASSERT_FALSE(execute()->isEnabled());

    child<QPushButton>(m_form, "exitButton")->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(execute()->isEnabled());
    execute()->click();

    EXPECT_EQ(rangeEdits(), kNone);
    EXPECT_EQ(messages(), QStringList{QStringLiteral("Ошибка!")});
    EXPECT_TRUE(requests().empty());
}

TEST_F(PeriodicReportsWindowTest, ReportsSendThePasswordAndTheRange)
{
    device().zReports.push_back({1, {2026, 12, 1, 20, 0, 0}, {}});
    device().zReports.push_back({2, {2026, 12, 7, 20, 0, 0}, {}});
    child<QDateEdit>(m_form, "firstDateEdit")->setDate(QDate(2026, 12, 1));
    child<QDateEdit>(m_form, "lastDateEdit")->setDate(QDate(2026, 12, 7));
    struct Case {
        const char* range;
        const char* kind;
        const char* first;
        const char* last;
        const char* sent;
        QStringList shown;
    };
    const QStringList fullDone{QStringLiteral("Полный отчет выполнен!")};
    const QStringList shortDone{QStringLiteral("Сокращенный отчет выполнен!")};
    const Case cases[] = {
        {"rangeByNumber", "fullReport", "1", "25", "49:9011,0001,0025", fullDone},
        {"rangeByNumber", "shortReport", "2", "2", "5F:9011,0002,0002", shortDone},
        {"rangeByDate", "shortReport", "", "", "4F:9011,011226,071226", shortDone},
        {"rangeByDate", "fullReport", "", "", "5E:9011,011226,071226", fullDone},
        {"rangeByNumber",
         "fullReport",
         "30",
         "40",
         "49:9011,0030,0040",
         {QStringLiteral("Команда не разрешена"), QStringLiteral("Ошибка выполнения отчета")}},
    };
    for (const Case& c : cases) {
        m_dialogs->clear();
        radio(c.range)->click();
        radio(c.kind)->click();
        child<QLineEdit>(m_form, "firstNumberEdit")->setText(QString::fromLatin1(c.first));
        child<QLineEdit>(m_form, "lastNumberEdit")->setText(QString::fromLatin1(c.last));

        execute()->click();

        ASSERT_FALSE(requests().empty());
        EXPECT_EQ(requests().back(), c.sent);
        EXPECT_EQ(messages(), c.shown) << c.sent;
    }
}

TEST_F(PeriodicReportsWindowTest, DatesComeFromTheCalendarOnly)
{
    radio("rangeByDate")->click();
    auto* date = child<QDateEdit>(m_form, "firstDateEdit");
    date->setDate(QDate(2026, 12, 7));

    m_form.show();
    const auto press = [date](int key, Qt::KeyboardModifiers modifiers) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, QString());
        QCoreApplication::sendEvent(date, &event);
    };
    const auto calendarShown = [date] { return date->calendarWidget()->isVisible(); };

    for (int key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_1, Qt::Key_Delete})
        press(key, Qt::NoModifier);
    EXPECT_FALSE(calendarShown());
    press(Qt::Key_Down, Qt::AltModifier);
    EXPECT_TRUE(calendarShown()) << "Alt+Down opens the calendar";
    date->calendarWidget()->window()->hide();
    press(Qt::Key_F4, Qt::NoModifier);
    EXPECT_TRUE(calendarShown()) << "F4 opens the calendar";
    date->calendarWidget()->window()->hide();

    EXPECT_EQ(date->date(), QDate(2026, 12, 7));
    EXPECT_EQ(date->text(), QStringLiteral("07.12.26"));
    EXPECT_EQ(date->contextMenuPolicy(), Qt::NoContextMenu);
}

} // namespace
} // namespace quorvex::ui::test
