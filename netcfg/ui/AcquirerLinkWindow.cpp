#include "netcfg/ui/AcquirerLinkWindow.h"

#include "ui_AcquirerLinkWindow.h"

#include "link/Link.h"
#include "link/ResultState.h"
#include "netcfg/ParameterFile.h"
#include "netcfg/ui/NetcfgExchange.h"
#include "platform/Dialogs.h"
#include "platform/FileReplace.h"
#include "platform/qt/ModalWindow.h"
#include "platform/qt/OneClickAtATime.h"
#include "platform/qt/TextCodec.h"
#include "platform/qt/TypingLimit.h"
#include "platform/qt/WindowPlacement.h"

#include <QShowEvent>

#include <filesystem>

namespace quorvex::ui {

using platform::fromCp1251;
using platform::toCp1251;

namespace {

// The boxes the first activation empties: the four addresses and the port.
constexpr std::size_t kClearedAtStart = netcfg::member::kPort + 1;

const QString kSaveTitle = QStringLiteral("Запись параметров связи в файл");

platform::FileDialogOptions parameterFileOptions(const QString& title)
{
    platform::FileDialogOptions options;
    options.title = toCp1251(title);
    options.filter = "Text files (*.txt)|*.TXT|All files (*.*)|*.*";
    options.defaultExtension = "TXT";
    return options;
}

QString shownPath(const std::string& path)
{
    return platform::fromFileName(path);
}

void showMessage(const QString& text)
{
    platform::dialogs().showMessage(toCp1251(text));
}

} // namespace

AcquirerLinkWindow::AcquirerLinkWindow(QWidget* parent, link::Link* link)
    : QDialog(parent), m_ui(std::make_unique<Ui::AcquirerLinkWindow>()),
      m_link(link != nullptr ? *link : link::processLink())
{
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    m_boxes = {m_ui->staticIpEdit,           m_ui->subnetMaskEdit,      m_ui->gatewayEdit,
               m_ui->destinationAddressEdit, m_ui->destinationPortEdit, m_ui->linkPeriodEdit,
               m_ui->retryPeriodEdit};
    // Addresses take 15 typed characters, numbers 5; a file or an answer shows whole, so a value
    // too long is refused by the check on writing instead of being cut.
    for (QLineEdit* address : {m_ui->staticIpEdit, m_ui->subnetMaskEdit, m_ui->gatewayEdit,
                               m_ui->destinationAddressEdit})
        platform::limitTyping(*address, 15);
    for (QLineEdit* number :
         {m_ui->destinationPortEdit, m_ui->linkPeriodEdit, m_ui->retryPeriodEdit})
        platform::limitTyping(*number, 5);

    platform::connectOneAtATime(m_ui->readButton, &QPushButton::clicked, this,
                                &AcquirerLinkWindow::readNetworkSettings);
    platform::connectOneAtATime(m_ui->writeButton, &QPushButton::clicked, this,
                                &AcquirerLinkWindow::writeNetworkSettings);
    platform::connectOneAtATime(m_ui->loadButton, &QPushButton::clicked, this,
                                &AcquirerLinkWindow::loadFromFile);
    platform::connectOneAtATime(m_ui->saveButton, &QPushButton::clicked, this,
                                &AcquirerLinkWindow::saveToFile);
    platform::connectOneAtATime(m_ui->statusButton, &QPushButton::clicked, this,
                                &AcquirerLinkWindow::openStatusWindow);
    connect(m_ui->exitButton, &QPushButton::clicked, this, &AcquirerLinkWindow::exitWindow);
}

AcquirerLinkWindow::~AcquirerLinkWindow() = default;

void AcquirerLinkWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    platform::centreOnScreen(*this);
    clearOnFirstOpening();
}

void AcquirerLinkWindow::clearOnFirstOpening()
{
    if (m_activatedOnce)
        return;
    m_activatedOnce = true;
    m_ui->dhcpBox->setChecked(false);
    for (std::size_t i = 0; i < kClearedAtStart; ++i)
        m_boxes[i]->clear();
}

netcfg::NetworkMembers AcquirerLinkWindow::shownMembers() const
{
    netcfg::NetworkMembers members;
    members.dhcp = m_ui->dhcpBox->isChecked();
    for (std::size_t i = 0; i < m_boxes.size(); ++i)
        members.texts[i] = toCp1251(m_boxes[i]->text());
    return members;
}

void AcquirerLinkWindow::showMembers(const netcfg::NetworkMembers& members, int count)
{
    if (count < 1)
        return;
    m_ui->dhcpBox->setChecked(members.dhcp);
    for (std::size_t i = 0; i + 1 < static_cast<std::size_t>(count); ++i)
        m_boxes[i]->setText(fromCp1251(members.texts[i]));
}

void AcquirerLinkWindow::readNetworkSettings()
{
    if (!answered(exchangeOnLink(m_link, netcfg::kReadNetworkCommand, "")))
        return;
    const link::RetData& answer = link::resultState().copy;

    const netcfg::AnswerDecoding decoding = netcfg::decodeNetworkAnswer(answer.Fields);
    showMembers(decoding.members, decoding.decoded);
    platform::dialogs().showMessage(decoding.complete() ? successMessage()
                                                        : netcfg::kInvalidAnswerMessage);
}

void AcquirerLinkWindow::writeNetworkSettings()
{
    const netcfg::EncodedRequest request = netcfg::encodeNetworkRequest(shownMembers());
    if (!request.ok()) {
        platform::dialogs().showMessage(request.error);
        return;
    }
    const link::ExchangeOutcome outcome =
        exchangeOnLink(m_link, netcfg::kWriteNetworkCommand, request.data);
    if (!answered(outcome))
        return;
    // The registrar's refusal has been shown by the callback; it is no success.
    if (outcome.kind == link::Outcome::Refused) {
        showMessage(QStringLiteral("Настройки сети не установлены. Ошибка!"));
        return;
    }
    platform::dialogs().showMessage(successMessage());
}

void AcquirerLinkWindow::saveToFile()
{
    const auto path = platform::dialogs().saveFileName(parameterFileOptions(kSaveTitle));
    if (!path) {
        showMessage(QStringLiteral("Файл не выбран. Ошибка."));
        return;
    }
    if (std::filesystem::exists(*path) &&
        !platform::dialogs().askYesNo(
            toCp1251(kSaveTitle), toCp1251(QStringLiteral("Файл уже существует, перезаписать?")))) {
        showMessage(QStringLiteral("Операция прервана!"));
        return;
    }
    if (const std::error_code error = netcfg::writeParameterFile(*path, shownMembers())) {
        showMessage(QStringLiteral("Невозможно записать файл ") + shownPath(*path) +
                    QStringLiteral(": ") +
                    platform::fromCp1251(platform::reasonTextForWindow(error)));
        return;
    }
    platform::dialogs().showMessage(successMessage());
}

void AcquirerLinkWindow::loadFromFile()
{
    const auto path = platform::dialogs().openFileName(
        parameterFileOptions(QStringLiteral("Чтение параметров связи из файла")));
    if (!path) {
        showMessage(QStringLiteral("Файл не выбран. Ошибка."));
        return;
    }
    const auto members = netcfg::readParameterFile(*path);
    if (!members) {
        showMessage(QStringLiteral("Невозможно открыть файл ") + shownPath(*path));
        return;
    }
    showMembers(*members, netcfg::kMemberCount);
    platform::dialogs().showMessage(successMessage());
}

void AcquirerLinkWindow::openStatusWindow()
{
    if (m_statusWindow != nullptr)
        platform::execModal(*m_statusWindow);
}

void AcquirerLinkWindow::exitWindow()
{
    close();
}

} // namespace quorvex::ui
