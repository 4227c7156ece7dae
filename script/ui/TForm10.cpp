#include "script/ui/TForm10.h"

#include "ui_TForm10.h"

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
#include "serial/qt/TPortControl.h"

#include <QEvent>

#include <clocale>
#include <iostream>

namespace quorvex::ui {

TForm10::TForm10(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TForm10>()),
      m_portControl(std::make_unique<serial::TPortControl>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("TForm10"));
    setWindowFlag(Qt::Tool);
    showConnected(false);
    connect(m_ui->Button3, &QPushButton::clicked, this, &TForm10::Button3Click);
    connect(m_ui->Button1, &QPushButton::clicked, this, &TForm10::Button1Click);
    connect(m_ui->ComboBox1, &QComboBox::currentTextChanged, this,
            &TForm10::rememberChoiceInSession);
    connect(m_ui->ComboBox2, &QComboBox::currentTextChanged, this,
            &TForm10::rememberChoiceInSession);
}

TForm10::~TForm10() = default;

bool TForm10::indicatorGreen() const
{
    return m_ui->Shape1->connected();
}

void TForm10::setComparisonWindow(QDialog* comparison)
{
    m_comparison = comparison;
}

bool TForm10::event(QEvent* event)
{
    if (event->type() == QEvent::Show)
        platform::centreOnScreen(*this);
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QDialog::event(event);
}

void TForm10::FormActivate()
{
    std::setlocale(LC_NUMERIC, "C");
    if (m_listsFrozen)
        return;
    platform::fillPortList(*m_ui->ComboBox1, *m_portControl);
    m_ui->ComboBox1->addItem(replayEntryText());
    selectStoredChoice();
}

void TForm10::selectStoredChoice()
{
    const link::RegistrarChoice stored =
        link::readRegistrarChoice(link::session().settingsPath(), link::Registrar::Second);
    platform::selectStoredPort(*m_ui->ComboBox1, platform::fromCp1251(stored.port));
    platform::selectStoredSpeed(*m_ui->ComboBox2, platform::fromCp1251(stored.speed));
    rememberChoiceInSession();
}

void TForm10::rememberChoiceInSession()
{
    link::session().secondPortText = platform::toCp1251(m_ui->ComboBox1->currentText());
    link::session().secondSpeedText = platform::toCp1251(m_ui->ComboBox2->currentText());
}

void TForm10::Button3Click()
{
    if (m_ui->Shape1->connected())
        disconnectSecond();
    else
        connectSecond();
}

void TForm10::connectSecond()
{
    link::session().secondConnected = false;
    const std::string port = platform::toCp1251(m_ui->ComboBox1->currentText());
    const std::string speed = platform::toCp1251(m_ui->ComboBox2->currentText());
    const std::optional<std::string> openedPort = portToOpen();
    if (!openedPort)
        return;
    prepareSecondRegistrar(*openedPort);
    const bool opened = link::openRegistrar({link::Registrar::Second, *openedPort,
                                             m_ui->ComboBox2->currentText().toInt(),
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
    m_ui->Button1->setText(QStringLiteral("Продолжить"));
}

std::optional<std::string> TForm10::portToOpen() const
{
    if (m_ui->ComboBox1->currentText() == replayEntryText())
        return chooseReplayPort();
    return platform::toCp1251(m_ui->ComboBox1->currentText());
}

void TForm10::disconnectSecond()
{
    link::session().secondConnected = false;
    if (link::CloseSecondPort() != 0)
        showConnected(false);
}

void TForm10::showConnected(bool connected)
{
    m_ui->Shape1->setConnected(connected);
    m_ui->Button3->setText(connected ? QStringLiteral("Отключить") : QStringLiteral("Подключить"));
    m_ui->ComboBox1->setEnabled(!connected);
    m_ui->ComboBox2->setEnabled(!connected);
}

void TForm10::Button1Click()
{
    if (m_ui->Button1->text() == QStringLiteral("Продолжить"))
        m_ui->Button1->setText(QStringLiteral("Закрыть"));
    close();
}

} // namespace quorvex::ui
