#include "script/ui/SecondRegistrarWindow.h"

#include "ui_SecondRegistrarWindow.h"

#include "link/Connect.h"
#include "link/ConnectionSettings.h"
#include "link/Link.h"
#include "link/Session.h"
#include "platform/Dialogs.h"
#include "platform/qt/ModalWindow.h"
#include "platform/qt/PortChoice.h"
#include "platform/qt/TextCodec.h"
#include "platform/qt/WindowPlacement.h"
#include "script/ui/ReplayConnection.h"
#include "serial/qt/PortEnumerator.h"

#include <QEvent>

#include <clocale>
#include <iostream>

namespace quorvex::ui {

SecondRegistrarWindow::SecondRegistrarWindow(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::SecondRegistrarWindow>()),
      m_portEnumerator(std::make_unique<serial::PortEnumerator>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("SecondRegistrarWindow"));
    setWindowFlag(Qt::Tool);
    showConnected(false);
    connect(m_ui->connectButton, &QPushButton::clicked, this,
            &SecondRegistrarWindow::toggleConnection);
    connect(m_ui->closeButton, &QPushButton::clicked, this, &SecondRegistrarWindow::closeWindow);
    connect(m_ui->portCombo, &QComboBox::currentTextChanged, this,
            &SecondRegistrarWindow::rememberChoiceInSession);
    connect(m_ui->speedCombo, &QComboBox::currentTextChanged, this,
            &SecondRegistrarWindow::rememberChoiceInSession);
}

SecondRegistrarWindow::~SecondRegistrarWindow() = default;

bool SecondRegistrarWindow::indicatorGreen() const
{
    return m_ui->connectionIndicator->connected();
}

void SecondRegistrarWindow::setComparisonWindow(QDialog* comparison)
{
    m_comparison = comparison;
}

bool SecondRegistrarWindow::event(QEvent* event)
{
    if (event->type() == QEvent::Show)
        platform::centreOnScreen(*this);
    if (event->type() == QEvent::WindowActivate)
        refreshPortChoice();
    return QDialog::event(event);
}

void SecondRegistrarWindow::refreshPortChoice()
{
    std::setlocale(LC_NUMERIC, "C");
    if (m_listsFrozen)
        return;
    platform::fillPortList(*m_ui->portCombo, *m_portEnumerator);
    m_ui->portCombo->addItem(replayEntryText());
    selectStoredChoice();
}

void SecondRegistrarWindow::selectStoredChoice()
{
    const link::RegistrarChoice stored =
        link::readRegistrarChoice(link::session().settingsPath(), link::Registrar::Second);
    platform::selectStoredPort(*m_ui->portCombo, platform::fromCp1251(stored.port));
    platform::selectStoredSpeed(*m_ui->speedCombo, platform::fromCp1251(stored.speed));
    rememberChoiceInSession();
}

void SecondRegistrarWindow::rememberChoiceInSession()
{
    link::session().secondPortText = platform::toCp1251(m_ui->portCombo->currentText());
    link::session().secondSpeedText = platform::toCp1251(m_ui->speedCombo->currentText());
}

void SecondRegistrarWindow::toggleConnection()
{
    if (m_ui->connectionIndicator->connected())
        disconnectSecond();
    else
        connectSecond();
}

void SecondRegistrarWindow::connectSecond()
{
    link::session().secondConnected = false;
    const std::string port = platform::toCp1251(m_ui->portCombo->currentText());
    const std::string speed = platform::toCp1251(m_ui->speedCombo->currentText());
    const std::optional<std::string> openedPort = portToOpen();
    if (!openedPort)
        return;
    prepareSecondRegistrar(*openedPort);
    const bool opened = link::openRegistrar({link::Registrar::Second, *openedPort,
                                             m_ui->speedCombo->currentText().toInt(),
                                             link::RegistrarChoice{port, speed}});
    if (*openedPort != port)
        forgetReplayPort(*openedPort);
    if (!opened) {
        std::cerr << "quorvex: " << platform::fromCp1251(link::lastOpenFailure()).toStdString()
                  << std::endl;
        platform::dialogs().showMessage(
            platform::toCp1251(QStringLiteral("Невозможно подключить порт")));
        return;
    }
    showConnected(true);
    m_listsFrozen = true;
    rememberChoiceInSession();
    applyStoredIgnoreList(link::session().settingsPath());
    link::session().secondConnected = true;
    if (m_comparison)
        platform::execModal(*m_comparison);
    m_ui->closeButton->setText(QStringLiteral("Продолжить"));
}

std::optional<std::string> SecondRegistrarWindow::portToOpen() const
{
    if (m_ui->portCombo->currentText() == replayEntryText())
        return chooseReplayPort();
    return platform::toCp1251(m_ui->portCombo->currentText());
}

void SecondRegistrarWindow::disconnectSecond()
{
    link::session().secondConnected = false;
    if (link::CloseSecondPort() != 0)
        showConnected(false);
}

void SecondRegistrarWindow::showConnected(bool connected)
{
    m_ui->connectionIndicator->setConnected(connected);
    m_ui->connectButton->setText(connected ? QStringLiteral("Отключить")
                                           : QStringLiteral("Подключить"));
    m_ui->portCombo->setEnabled(!connected);
    m_ui->speedCombo->setEnabled(!connected);
}

void SecondRegistrarWindow::closeWindow()
{
    if (m_ui->closeButton->text() == QStringLiteral("Продолжить"))
        m_ui->closeButton->setText(QStringLiteral("Закрыть"));
    close();
}

} // namespace quorvex::ui
