#include "fiscal/ui/ReceiptCopiesWindow.h"

#include "ui_ReceiptCopiesWindow.h"

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

ReceiptCopiesWindow::ReceiptCopiesWindow(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::ReceiptCopiesWindow>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("ReceiptCopiesWindow"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    m_ui->firstFoundNumber->installEventFilter(this);
    m_ui->lastFoundNumber->installEventFilter(this);
    platform::connectOneAtATime(m_ui->searchButton, &QPushButton::clicked, this,
                                &ReceiptCopiesWindow::searchByDates);
    platform::connectOneAtATime(m_ui->printButton, &QPushButton::clicked, this,
                                &ReceiptCopiesWindow::printByNumbers);
    connect(m_ui->statusButton, &QPushButton::clicked, this,
            &ReceiptCopiesWindow::openStatusWindow);
    connect(m_ui->closeButton, &QPushButton::clicked, this, &ReceiptCopiesWindow::closeWindow);
}

ReceiptCopiesWindow::~ReceiptCopiesWindow() = default;

void ReceiptCopiesWindow::setStatusWindow(QDialog* statusWindow)
{
    m_statusWindow = statusWindow;
}

void ReceiptCopiesWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return; // the window system restoring the window is no new opening
    platform::centreOnScreen(*this);
    setDatesToToday();
}

void ReceiptCopiesWindow::setDatesToToday()
{
    m_ui->firstDateEdit->setDate(QDate::currentDate());
    m_ui->lastDateEdit->setDate(QDate::currentDate());
}

bool ReceiptCopiesWindow::eventFilter(QObject* watched, QEvent* event)
{
    // A click is a release of the left button; a double click follows the first click.
    const bool click = event->type() == QEvent::MouseButtonRelease;
    const bool doubleClick = event->type() == QEvent::MouseButtonDblClick;
    if ((click || doubleClick) && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == m_ui->firstFoundNumber)
            click ? copyFirstFoundToFirst() : copyFirstFoundToLast();
        else if (watched == m_ui->lastFoundNumber)
            click ? copyLastFoundToLast() : copyLastFoundToFirst();
    }
    return QDialog::eventFilter(watched, event);
}

bool ReceiptCopiesWindow::reportCopyOutcome(const link::ExchangeOutcome& outcome)
{
    showOutcome(outcome, QStringLiteral("Копии чеков - успешно!"),
                QStringLiteral("Ошибка печати копий чека"),
                QStringLiteral("Ошибка! Таймаут устройства!"));
    return outcome.kind == link::Outcome::Done || outcome.kind == link::Outcome::Refused;
}

void ReceiptCopiesWindow::searchByDates()
{
    queryStatus();
    const link::ExchangeOutcome outcome =
        link::runOperation([first = sixDigits(*m_ui->firstDateEdit),
                            firstTime = platform::toCp1251(m_ui->firstTimeEdit->text()),
                            last = sixDigits(*m_ui->lastDateEdit),
                            lastTime = platform::toCp1251(m_ui->lastTimeEdit->text()),
                            print = m_ui->printDocumentsBox->isChecked() ? 1 : 0](auto&&... fixed) {
            return link::PrintReceiptCopiesByDate(fixed..., first, firstTime, last, lastTime,
                                                  print);
        });
    if (!reportCopyOutcome(outcome))
        return;
    const link::RetData& answer = link::resultState().copy;
    m_ui->firstFoundNumber->setText(platform::fromCp1251(answer.Fields[0]));
    m_ui->lastFoundNumber->setText(platform::fromCp1251(answer.Fields[1]));
}

void ReceiptCopiesWindow::printByNumbers()
{
    queryStatus();
    const auto last = integerOrMessage(m_ui->lastNumberEdit->text());
    if (!last)
        return;
    const auto first = integerOrMessage(m_ui->firstNumberEdit->text());
    if (!first)
        return;
    (void)reportCopyOutcome(link::runOperation([first = *first, last = *last](auto&&... fixed) {
        return link::PrintReceiptCopiesByNumber(fixed..., first, last);
    }));
}

void ReceiptCopiesWindow::openStatusWindow()
{
    if (m_statusWindow != nullptr)
        platform::execModal(*m_statusWindow);
}

void ReceiptCopiesWindow::closeWindow()
{
    close();
}

void ReceiptCopiesWindow::copyFirstFoundToFirst()
{
    m_ui->firstNumberEdit->setText(m_ui->firstFoundNumber->text());
}

void ReceiptCopiesWindow::copyFirstFoundToLast()
{
    m_ui->lastNumberEdit->setText(m_ui->firstFoundNumber->text());
}

void ReceiptCopiesWindow::copyLastFoundToLast()
{
    m_ui->lastNumberEdit->setText(m_ui->lastFoundNumber->text());
}

void ReceiptCopiesWindow::copyLastFoundToFirst()
{
    m_ui->firstNumberEdit->setText(m_ui->lastFoundNumber->text());
}

} // namespace quorvex::ui
