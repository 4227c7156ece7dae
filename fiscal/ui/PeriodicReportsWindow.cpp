#include "fiscal/ui/PeriodicReportsWindow.h"

#include "ui_PeriodicReportsWindow.h"

#include "fiscal/OperatorInput.h"
#include "fiscal/ui/WindowMessages.h"
#include "link/Operations.h"
#include "link/ResultState.h"
#include "link/ui/OutcomeMessage.h"
#include "platform/MessagePump.h"
#include "platform/qt/OneClickAtATime.h"
#include "platform/qt/WindowPlacement.h"

#include <QApplication>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QShowEvent>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace quorvex::ui {

namespace {

const std::string kOperatorPassword = "9011";
constexpr int kByNumber = 0;
constexpr int kByDate = 1;
constexpr int kShort = 0;
constexpr int kFull = 1;

std::string sixDigits(const QDateEdit& edit)
{
    const QDate date = edit.date();
    return fiscal::sixDigitDate(date.year(), date.month(), date.day());
}

// Keys that open the calendar, as on a drop-down list.
bool calendarKey(const QKeyEvent& key)
{
    return key.key() == Qt::Key_F4 ||
           (key.key() == Qt::Key_Down && key.modifiers().testFlag(Qt::AltModifier));
}

// Keys that move the focus; with the calendar keys the only ones the date edits take, since
// they take their dates from the calendar only.
bool focusKey(const QKeyEvent& key)
{
    return key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab || key.key() == Qt::Key_Escape;
}

// Opens the edit's calendar as a click on its arrow does (the edit has no call for it).
void openCalendar(QDateEdit& edit)
{
    QStyleOptionComboBox option;
    option.initFrom(&edit);
    option.editable = true;
    option.subControls = QStyle::SC_All;
    const QPointF arrow =
        edit.style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, &edit)
            .center();
    QMouseEvent press(QEvent::MouseButtonPress, arrow, edit.mapToGlobal(arrow), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&edit, &press);
}

} // namespace

PeriodicReportsWindow::PeriodicReportsWindow(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::PeriodicReportsWindow>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("PeriodicReportsWindow"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_rangeChoice = new QButtonGroup(this);
    m_rangeChoice->addButton(m_ui->rangeByNumber, kByNumber);
    m_rangeChoice->addButton(m_ui->rangeByDate, kByDate);
    m_kindChoice = new QButtonGroup(this);
    m_kindChoice->addButton(m_ui->shortReport, kShort);
    m_kindChoice->addButton(m_ui->fullReport, kFull);

    // A date edit that was never given a date starts at today.
    for (QDateEdit* edit : {m_ui->firstDateEdit, m_ui->lastDateEdit}) {
        edit->setDate(QDate::currentDate());
        edit->installEventFilter(this);
        // No paste and no steps from a context menu: the calendar is the only way in.
        edit->setContextMenuPolicy(Qt::NoContextMenu);
    }
    reserveRangeSpace();
    showRangeEdits(false, false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_rangeChoice, &QButtonGroup::idClicked, this, &PeriodicReportsWindow::showChosenRange);
    m_focusWatch =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
            const auto inRangeChoice = [this](QWidget* w) {
                return w != nullptr && m_ui->rangeGroup->isAncestorOf(w);
            };
            if (inRangeChoice(old) && !inRangeChoice(now))
                leaveRangeChoice();
        });
    platform::connectOneAtATime(m_ui->runButton, &QPushButton::clicked, this,
                                &PeriodicReportsWindow::printReport);
    connect(m_ui->exitButton, &QPushButton::clicked, this, &PeriodicReportsWindow::closeWindow);
}

// Hiding the dialog in its base destructor moves the focus; by then the controls are gone.
PeriodicReportsWindow::~PeriodicReportsWindow()
{
    disconnect(m_focusWatch);
}

void PeriodicReportsWindow::reserveRangeSpace()
{
    // The number and the date edits take turns in the same cells; hidden ones keep their room,
    // so the window keeps its size whichever range is shown.
    for (const auto& widgets : {numberWidgets(), dateWidgets()}) {
        for (QWidget* w : widgets) {
            QSizePolicy policy = w->sizePolicy();
            policy.setRetainSizeWhenHidden(true);
            w->setSizePolicy(policy);
        }
    }
}

std::array<QWidget*, 4> PeriodicReportsWindow::numberWidgets() const
{
    return {m_ui->firstNumberLabel, m_ui->firstNumberEdit, m_ui->lastNumberLabel,
            m_ui->lastNumberEdit};
}

std::array<QWidget*, 4> PeriodicReportsWindow::dateWidgets() const
{
    return {m_ui->firstDateLabel, m_ui->firstDateEdit, m_ui->lastDateLabel, m_ui->lastDateEdit};
}

void PeriodicReportsWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        platform::centreOnScreen(*this);
}

bool PeriodicReportsWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->firstDateEdit || watched == m_ui->lastDateEdit) {
        if (event->type() == QEvent::Wheel || event->type() == QEvent::ContextMenu)
            return true;
        if (event->type() == QEvent::KeyPress) {
            const auto& key = *static_cast<QKeyEvent*>(event);
            if (calendarKey(key))
                openCalendar(*static_cast<QDateEdit*>(watched));
            return !focusKey(key);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PeriodicReportsWindow::showRangeEdits(bool numbers, bool dates)
{
    for (QWidget* w : numberWidgets()) {
        w->setVisible(numbers);
        w->setEnabled(numbers);
    }
    for (QWidget* w : dateWidgets()) {
        w->setVisible(dates);
        w->setEnabled(dates);
    }
}

void PeriodicReportsWindow::showChosenRange()
{
    const int chosen = m_rangeChoice->checkedId();
    if (chosen == kByNumber)
        showRangeEdits(true, false);
    else if (chosen == kByDate)
        showRangeEdits(false, true);
    // Enabled even with nothing chosen (the control was only passed through): "Выполнить"
    // then says so.
    m_ui->runButton->setEnabled(true);
}

void PeriodicReportsWindow::leaveRangeChoice()
{
    showChosenRange();
}

void PeriodicReportsWindow::printReport()
{
    repaint();
    platform::processPendingMessages();

    const bool full = m_kindChoice->checkedId() == kFull;
    link::Operation report;
    switch (m_rangeChoice->checkedId()) {
    case kByNumber: {
        const auto first = integerOrMessage(m_ui->firstNumberEdit->text());
        if (!first)
            return;
        const auto last = integerOrMessage(m_ui->lastNumberEdit->text());
        if (!last)
            return;
        report = [full, first = *first, last = *last](auto&&... fixed) {
            return full ? link::FullPeriodicReportByNumber(fixed..., kOperatorPassword, first, last)
                        : link::ShortPeriodicReportByNumber(fixed..., kOperatorPassword, first,
                                                            last);
        };
        break;
    }
    case kByDate: {
        report = [full, first = sixDigits(*m_ui->firstDateEdit),
                  last = sixDigits(*m_ui->lastDateEdit)](auto&&... fixed) {
            return full ? link::FullPeriodicReportByDate(fixed..., kOperatorPassword, first, last)
                        : link::ShortPeriodicReportByDate(fixed..., kOperatorPassword, first, last);
        };
        break;
    }
    default:
        showMessage(QStringLiteral("Ошибка!"));
        return;
    }

    showOutcome(link::runOperation(report, link::Pump::Yes),
                full ? QStringLiteral("Полный отчет выполнен!")
                     : QStringLiteral("Сокращенный отчет выполнен!"),
                QStringLiteral("Ошибка выполнения отчета"));
}

void PeriodicReportsWindow::closeWindow()
{
    close();
}

} // namespace quorvex::ui
