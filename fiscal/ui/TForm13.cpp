#include "fiscal/ui/TForm13.h"

#include "ui_TForm13.h"

#include "fiscal/OperatorInput.h"
#include "fiscal/ui/WindowMessages.h"
#include "link/Operations.h"
#include "link/ResultState.h"
#include "link/ui/OutcomeMessage.h"
#include "platform/qt/ModalWindow.h"
#include "platform/qt/OneClickAtATime.h"
#include "platform/qt/TextCodec.h"
#include "platform/qt/WindowPlacement.h"

#include <QMouseEvent>
#include <QShowEvent>

namespace quorvex::ui {

namespace {

constexpr int kStatusW = 0;

std::string sixDigits(const QDateEdit& picker)
{
    const QDate date = picker.date();
    return fiscal::sixDigitDate(date.year(), date.month(), date.day());
}

void queryStatus()
{
    // Its outcome is not examined; the copy command that follows is.
    (void)link::runOperation([](auto&&... fixed) { return link::GetStatus(fixed..., kStatusW); });
}

} // namespace

TForm13::TForm13(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::TForm13>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("TForm13"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    m_ui->Label3->installEventFilter(this);
    m_ui->Label4->installEventFilter(this);
    platform::connectOneAtATime(m_ui->Button1, &QPushButton::clicked, this, &TForm13::Button1Click);
    platform::connectOneAtATime(m_ui->Button2, &QPushButton::clicked, this, &TForm13::Button2Click);
    connect(m_ui->Button3, &QPushButton::clicked, this, &TForm13::Button3Click);
    connect(m_ui->Button4, &QPushButton::clicked, this, &TForm13::Button4Click);
}

TForm13::~TForm13() = default;

void TForm13::setStatusWindow(QDialog* statusWindow)
{
    m_statusWindow = statusWindow;
}

void TForm13::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return; // the window system restoring the window is no new opening
    platform::centreOnScreen(*this);
    FormActivate();
}

void TForm13::FormActivate()
{
    m_ui->DateTimePicker1->setDate(QDate::currentDate());
    m_ui->DateTimePicker2->setDate(QDate::currentDate());
}

bool TForm13::eventFilter(QObject* watched, QEvent* event)
{
    // A click is a release of the left button; a double click follows the first click.
    const bool click = event->type() == QEvent::MouseButtonRelease;
    const bool doubleClick = event->type() == QEvent::MouseButtonDblClick;
    if ((click || doubleClick) && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == m_ui->Label3)
            click ? Label3Click() : Label3DblClick();
        else if (watched == m_ui->Label4)
            click ? Label4Click() : Label4DblClick();
    }
    return QDialog::eventFilter(watched, event);
}

bool TForm13::reportCopyOutcome(const link::ExchangeOutcome& outcome)
{
    showOutcome(outcome, QStringLiteral("Копии чеков - успешно!"),
                QStringLiteral("Ошибка печати копий чека"),
                QStringLiteral("Ошибка! Таймаут устройства!"));
    return outcome.kind == link::Outcome::Done || outcome.kind == link::Outcome::Refused;
}

void TForm13::Button1Click()
{
    queryStatus();
    const link::ExchangeOutcome outcome =
        link::runOperation([first = sixDigits(*m_ui->DateTimePicker1),
                            firstTime = platform::toCp1251(m_ui->Edit3->text()),
                            last = sixDigits(*m_ui->DateTimePicker2),
                            lastTime = platform::toCp1251(m_ui->Edit4->text()),
                            print = m_ui->CheckBox1->isChecked() ? 1 : 0](auto&&... fixed) {
            return link::PrintReceiptCopiesByDate(fixed..., first, firstTime, last, lastTime,
                                                  print);
        });
    if (!reportCopyOutcome(outcome))
        return;
    const link::RetData& answer = link::resultState().copy;
    m_ui->Label3->setText(platform::fromCp1251(answer.Fields[0]));
    m_ui->Label4->setText(platform::fromCp1251(answer.Fields[1]));
}

void TForm13::Button2Click()
{
    queryStatus();
    const auto last = integerOrMessage(m_ui->Edit2->text());
    if (!last)
        return;
    const auto first = integerOrMessage(m_ui->Edit1->text());
    if (!first)
        return;
    (void)reportCopyOutcome(link::runOperation([first = *first, last = *last](auto&&... fixed) {
        return link::PrintReceiptCopiesByNumber(fixed..., first, last);
    }));
}

void TForm13::Button3Click()
{
    if (m_statusWindow != nullptr)
        platform::execModal(*m_statusWindow);
}

void TForm13::Button4Click()
{
    close();
}

void TForm13::Label3Click()
{
    m_ui->Edit1->setText(m_ui->Label3->text());
}

void TForm13::Label3DblClick()
{
    m_ui->Edit2->setText(m_ui->Label3->text());
}

void TForm13::Label4Click()
{
    m_ui->Edit2->setText(m_ui->Label4->text());
}

void TForm13::Label4DblClick()
{
    m_ui->Edit1->setText(m_ui->Label4->text());
}

} // namespace quorvex::ui
