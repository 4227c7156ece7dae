#include "netcfg/ui/TForm14.h"

#include "ui_TForm14.h"

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

TForm14::TForm14(QWidget* parent, link::Link* link)
    : QDialog(parent), m_ui(std::make_unique<Ui::TForm14>()),
      m_link(link != nullptr ? *link : link::processLink())
{
    m_ui->setupUi(this);
    setWindowFlag(Qt::Tool, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    platform::connectOneAtATime(m_ui->Button28, &QPushButton::clicked, this,
                                &TForm14::Button28Click);
    platform::connectOneAtATime(m_ui->Button2, &QPushButton::clicked, this, &TForm14::Button2Click);
    connect(m_ui->Button1, &QPushButton::clicked, this, &TForm14::Button1Click);
}

TForm14::~TForm14() = default;

void TForm14::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        platform::centreOnScreen(*this);
}

void TForm14::Button28Click()
{
    const std::string request = netcfg::modemStateRequest(m_ui->CheckBox8->isChecked());
    if (!answered(exchangeOnLink(m_link, netcfg::kModemStateCommand, request)))
        return;
    const link::RetData& answer = link::resultState().copy;

    m_ui->Button2->setEnabled(true);
    m_ui->Edit32->setText(platform::fromCp1251(answer.Fields[1]));
    m_ui->Edit35->setText(platform::fromCp1251(answer.Fields[2]));
    m_ui->Edit36->setText(platform::fromCp1251(answer.Fields[3]));
    m_ui->Edit37->setText(platform::fromCp1251(answer.Fields[4]));
    showStateByte(netcfg::modemStateByte(answer.Fields[0]));
}

// The boxes follow the bits, not their numbering: 0x04 is CheckBox12 and 0x08 CheckBox11.
void TForm14::showStateByte(int state)
{
    namespace modem = netcfg::modem;
    const std::array<std::pair<int, QCheckBox*>, 8> flags = {{
        {modem::kSamFault, m_ui->CheckBox9},
        {modem::kMemoryCardFault, m_ui->CheckBox10},
        {modem::kBlockedUndelivered, m_ui->CheckBox12},
        {modem::kIdDevSet, m_ui->CheckBox11},
        {modem::kTechnicalRegistration, m_ui->CheckBox13},
        {modem::kPersonalised, m_ui->CheckBox14},
        {modem::kEthernetConnected, m_ui->CheckBox15},
        {modem::kDataToSend, m_ui->CheckBox16},
    }};
    for (const auto& [bit, box] : flags)
        box->setChecked((state & bit) != 0);
}

void TForm14::Button2Click()
{
    if (m_statusWindow != nullptr)
        platform::execModal(*m_statusWindow);
}

void TForm14::Button1Click()
{
    close();
}

} // namespace quorvex::ui
