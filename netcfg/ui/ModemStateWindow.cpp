#include "netcfg/ui/ModemStateWindow.h"

#include "ui_ModemStateWindow.h"

#include "link/Link.h"
#include "link/ResultState.h"
#include "netcfg/ModemState.h"
#include "netcfg/ui/NetcfgExchange.h"
#include "platform/Dialogs.h"
#include "platform/qt/ModalWindow.h"
#include "platform/qt/OneClickAtATime.h"
#include "platform/qt/TextCodec.h"
#include "platform/qt/WindowPlacement.h"

#include <QShowEvent>

#include <array>
#include <utility>

namespace quorvex::ui {

ModemStateWindow::ModemStateWindow(QWidget* parent, link::Link* link)
    : QDialog(parent), m_ui(std::make_unique<Ui::ModemStateWindow>()),
      m_link(link != nullptr ? *link : link::processLink())
{
    m_ui->setupUi(this);
    setWindowFlag(Qt::Tool, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    platform::connectOneAtATime(m_ui->reportButton, &QPushButton::clicked, this,
                                &ModemStateWindow::requestReport);
    platform::connectOneAtATime(m_ui->statusButton, &QPushButton::clicked, this,
                                &ModemStateWindow::openStatusWindow);
    connect(m_ui->closeButton, &QPushButton::clicked, this, &ModemStateWindow::closeWindow);
}

ModemStateWindow::~ModemStateWindow() = default;

void ModemStateWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        platform::centreOnScreen(*this);
}

void ModemStateWindow::requestReport()
{
    const std::string request = netcfg::modemStateRequest(m_ui->printBox->isChecked());
    if (!answered(exchangeOnLink(m_link, netcfg::kModemStateCommand, request)))
        return;
    const link::RetData& answer = link::resultState().copy;

    m_ui->statusButton->setEnabled(true);
    m_ui->undeliveredDateEdit->setText(platform::fromCp1251(answer.Fields[1]));
    m_ui->undeliveredTimeEdit->setText(platform::fromCp1251(answer.Fields[2]));
    m_ui->personalisationDateEdit->setText(platform::fromCp1251(answer.Fields[3]));
    m_ui->personalisationTimeEdit->setText(platform::fromCp1251(answer.Fields[4]));
    showStateByte(netcfg::modemStateByte(answer.Fields[0]));
}

// One box per bit of the state byte, in the window's order.
void ModemStateWindow::showStateByte(int state)
{
    namespace modem = netcfg::modem;
    const std::array<std::pair<int, QCheckBox*>, 8> flags = {{
        {modem::kSamFault, m_ui->samFaultBox},
        {modem::kMemoryCardFault, m_ui->memoryCardFaultBox},
        {modem::kBlockedUndelivered, m_ui->blockedUndeliveredBox},
        {modem::kIdDevSet, m_ui->idDevSetBox},
        {modem::kTechnicalRegistration, m_ui->technicalRegistrationBox},
        {modem::kPersonalised, m_ui->personalisedBox},
        {modem::kEthernetConnected, m_ui->ethernetConnectedBox},
        {modem::kDataToSend, m_ui->dataToSendBox},
    }};
    for (const auto& [bit, box] : flags)
        box->setChecked((state & bit) != 0);
}

void ModemStateWindow::openStatusWindow()
{
    if (m_statusWindow != nullptr)
        platform::execModal(*m_statusWindow);
}

void ModemStateWindow::closeWindow()
{
    close();
}

} // namespace quorvex::ui
