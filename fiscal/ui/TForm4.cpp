#include "fiscal/ui/TForm4.h"

#include "ui_TForm4.h"

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

TForm4::TForm4(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::TForm4>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("TForm4"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_rangeChoice = new QButtonGroup(this);
    m_rangeChoice->addButton(m_ui->RadioGroup3Item0, kByNumber);
    m_rangeChoice->addButton(m_ui->RadioGroup3Item1, kByDate);
    m_kindChoice = new QButtonGroup(this);
    m_kindChoice->addButton(m_ui->RadioGroup4Item0, kShort);
    m_kindChoice->addButton(m_ui->RadioGroup4Item1, kFull);

    // A date edit that was never given a date starts at today.
    for (QDateEdit* edit : {m_ui->DateEdit1, m_ui->DateEdit2}) {
        edit->setDate(QDate::currentDate());
        edit->installEventFilter(this);
        // No paste and no steps from a context menu: the calendar is the only way in.
        edit->setContextMenuPolicy(Qt::NoContextMenu);
    }
    reserveRangeSpace();
    showRangeEdits(false, false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_rangeChoice, &QButtonGroup::idClicked, this, &TForm4::RadioGroup3Click);
    m_focusWatch =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
            const auto inRangeChoice = [this](QWidget* w) {
                return w != nullptr && m_ui->RadioGroup3->isAncestorOf(w);
            };
            if (inRangeChoice(old) && !inRangeChoice(now))
                RadioGroup3Exit();
        });
    platform::connectOneAtATime(m_ui->Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
    connect(m_ui->Button2, &QPushButton::clicked, this, &TForm4::Button2Click);
}

// Hiding the dialog in its base destructor moves the focus; by then the controls are gone.
TForm4::~TForm4()
{
    disconnect(m_focusWatch);
}

void TForm4::reserveRangeSpace()
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

std::array<QWidget*, 4> TForm4::numberWidgets() const
{
    return {m_ui->Label1, m_ui->Edit25, m_ui->Label2, m_ui->Edit26};
}

std::array<QWidget*, 4> TForm4::dateWidgets() const
{
    return {m_ui->Label3, m_ui->DateEdit1, m_ui->Label4, m_ui->DateEdit2};
}

void TForm4::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        platform::centreOnScreen(*this);
}

bool TForm4::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->DateEdit1 || watched == m_ui->DateEdit2) {
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

void TForm4::showRangeEdits(bool numbers, bool dates)
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

void TForm4::RadioGroup3Click()
{
    const int chosen = m_rangeChoice->checkedId();
    if (chosen == kByNumber)
        showRangeEdits(true, false);
    else if (chosen == kByDate)
        showRangeEdits(false, true);
    // Enabled even with nothing chosen (the control was only passed through): "Выполнить"
    // then says so.
    m_ui->Button1->setEnabled(true);
}

void TForm4::RadioGroup3Exit()
{
    RadioGroup3Click();
}

void TForm4::Button1Click()
{
    repaint();
    platform::processPendingMessages();

    const bool full = m_kindChoice->checkedId() == kFull;
    link::Operation report;
    switch (m_rangeChoice->checkedId()) {
    case kByNumber: {
        const auto first = integerOrMessage(m_ui->Edit25->text());
        if (!first)
            return;
        const auto last = integerOrMessage(m_ui->Edit26->text());
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
        report = [full, first = sixDigits(*m_ui->DateEdit1),
                  last = sixDigits(*m_ui->DateEdit2)](auto&&... fixed) {
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

void TForm4::Button2Click()
{
    close();
}

} // namespace quorvex::ui
