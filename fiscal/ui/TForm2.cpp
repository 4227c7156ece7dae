#include "fiscal/ui/TForm2.h"

#include "ui_TForm2.h"

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

TForm2::TForm2(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::TForm2>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("TForm2"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    platform::connectOneAtATime(m_ui->Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
    connect(m_ui->Button2, &QPushButton::clicked, this, &TForm2::Button2Click);
}

TForm2::~TForm2() = default;

void TForm2::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return; // the window system restoring the window is no new opening
    platform::centreOnScreen(*this);
    FormActivate();
}

void TForm2::FormActivate()
{
    m_ui->ComboBox6->setCurrentIndex(kCashIn);
}

void TForm2::Button1Click()
{
    using Problem = fiscal::ServiceCashAmount::Problem;
    const fiscal::ServiceCashAmount amount = fiscal::serviceCashAmount(
        platform::toCp1251(m_ui->Edit17->text()), m_ui->ComboBox6->currentIndex() == kCashOut);
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

void TForm2::Button2Click()
{
    close();
}

} // namespace quorvex::ui
