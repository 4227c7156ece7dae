#include "fiscal/ui/ServiceCashWindow.h"

#include "ui_ServiceCashWindow.h"

#include "fiscal/OperatorInput.h"
#include "fiscal/ui/WindowMessages.h"
#include "link/Operations.h"
#include "link/ResultState.h"
#include "link/ui/OutcomeMessage.h"
#include "platform/MessagePump.h"
#include "platform/qt/OneClickAtATime.h"
#include "platform/qt/TextCodec.h"
#include "platform/qt/WindowPlacement.h"

#include <QShowEvent>

namespace quorvex::ui {

namespace {

constexpr int kCashIn = 0;
constexpr int kCashOut = 1;

} // namespace

ServiceCashWindow::ServiceCashWindow(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::ServiceCashWindow>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("ServiceCashWindow"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    platform::connectOneAtATime(m_ui->runButton, &QPushButton::clicked, this,
                                &ServiceCashWindow::sendAmount);
    connect(m_ui->closeButton, &QPushButton::clicked, this, &ServiceCashWindow::closeWindow);
}

ServiceCashWindow::~ServiceCashWindow() = default;

void ServiceCashWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return; // the window system restoring the window is no new opening
    platform::centreOnScreen(*this);
    selectCashIn();
}

void ServiceCashWindow::selectCashIn()
{
    m_ui->kindCombo->setCurrentIndex(kCashIn);
}

void ServiceCashWindow::sendAmount()
{
    using Problem = fiscal::ServiceCashAmount::Problem;
    const fiscal::ServiceCashAmount amount = fiscal::serviceCashAmount(
        platform::toCp1251(m_ui->amountEdit->text()), m_ui->kindCombo->currentIndex() == kCashOut);
    if (amount.problem == Problem::NotANumber) {
        showMessage(QStringLiteral("Некорректная сумма для вноса/выноса \n   исправьте!!!"));
        return;
    }
    platform::processPendingMessages();
    if (amount.problem == Problem::NotPositive) {
        showMessage(QStringLiteral("Некорректная сумма для вноса/выноса\n   исправьте!!!"));
        return;
    }
    platform::processPendingMessages();

    const link::ExchangeOutcome outcome = link::runOperation(
        [&](auto&&... fixed) { return link::ServiceCashInOut(fixed..., amount.amount); },
        link::Pump::Yes);
    showOutcome(outcome, QStringLiteral("Служебный внос/вынос - успешно"),
                QStringLiteral("Ошибка "));
}

void ServiceCashWindow::closeWindow()
{
    close();
}

} // namespace quorvex::ui
