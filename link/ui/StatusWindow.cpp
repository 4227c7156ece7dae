#include "link/ui/StatusWindow.h"

#include "ui_StatusWindow.h"

#include "link/Link.h"
#include "link/Operations.h"
#include "link/Refusal.h"
#include "link/ResultState.h"
#include "link/Session.h"
#include "platform/Dialogs.h"
#include "platform/qt/OneClickAtATime.h"
#include "platform/qt/TextCodec.h"
#include "platform/qt/WindowPlacement.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>
#include <QWindow>

namespace quorvex::ui {

namespace {

constexpr int kAlwaysSetBit = 7;

} // namespace

StatusWindow::StatusWindow(QWidget* parent, link::Link* link)
    : QDialog(parent), m_ui(std::make_unique<Ui::StatusWindow>()),
      m_link(link != nullptr ? *link : link::processLink())
{
    m_ui->setupUi(this);
    setWindowFlag(Qt::Tool, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // The window is as large as its longest caption needs and never smaller.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    for (int byte = 0; byte < kStatusBytes; ++byte) {
        for (int bit = 0; bit < kBitsPerByte; ++bit) {
            m_boxes[byte][bit] =
                findChild<QCheckBox*>(QStringLiteral("byte%1Bit%2").arg(byte).arg(bit));
            Q_ASSERT(m_boxes[byte][bit] != nullptr);
        }
    }
    makeCheckBoxesReadOnly();
    fitLaptopScreen();

    platform::connectOneAtATime(m_ui->refreshButton, &QPushButton::clicked, this,
                                &StatusWindow::refreshStatus);
    connect(m_ui->closeButton, &QPushButton::clicked, this, &StatusWindow::closeWindow);
}

StatusWindow::~StatusWindow() = default;

// Forty-eight rows of bits on a 1366x768 screen with room for a task bar: the bits of a byte
// stand close together, without the layout's default spacing.
void StatusWindow::fitLaptopScreen()
{
    for (QGroupBox* group : findChildren<QGroupBox*>()) {
        if (QLayout* rows = group->layout()) {
            rows->setSpacing(0);
            rows->setContentsMargins(6, 2, 6, 2);
        }
    }
    layout()->setSpacing(4);
}

void StatusWindow::makeCheckBoxesReadOnly()
{
    for (auto& byteBoxes : m_boxes) {
        for (QCheckBox* box : byteBoxes) {
            box->setAttribute(Qt::WA_TransparentForMouseEvents);
            box->setFocusPolicy(Qt::NoFocus);
        }
    }
}

// The query blocks for up to 5 s, so it must not run before the window is on screen: an
// opening marks the activation as pending, and it runs once the window system has exposed
// the window and it has painted itself.
void StatusWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return; // the window system restoring the window is no new opening
    centreOnScreen();
    m_activationPending = true;
    if (QWindow* window = windowHandle(); window != nullptr && window != m_watchedWindow) {
        window->installEventFilter(this);
        m_watchedWindow = window;
    }
    activateWhenOnScreen();
}

bool StatusWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_watchedWindow && event->type() == QEvent::Expose)
        activateWhenOnScreen();
    return QDialog::eventFilter(watched, event);
}

void StatusWindow::activateWhenOnScreen()
{
    const QWindow* window = windowHandle();
    if (!m_activationPending || window == nullptr || !window->isExposed())
        return;
    // Queued: the exposed window paints itself before the query blocks.
    QMetaObject::invokeMethod(this, &StatusWindow::runPendingActivation, Qt::QueuedConnection);
}

// Once per opening, however often the window is exposed again.
void StatusWindow::runPendingActivation()
{
    if (!m_activationPending || !isVisible())
        return;
    m_activationPending = false;
    // The query blocks like any operation: clicks made meanwhile are dropped when it ends.
    const platform::OperationScope operation;
    refreshOnOpening();
}

void StatusWindow::refreshOnOpening()
{
    m_skipQuery = true;
    link::Session& session = link::session();
    if (session.freshConnection) {
        m_skipQuery = false;
        session.freshConnection = false;
    }
    refreshStatus();
}

void StatusWindow::refreshStatus()
{
    // A request refused before sending has no answer: the bytes shown are no longer the
    // registrar's, so they go, and the operator is told why nothing came.
    if (!m_skipQuery && link::GetStatus(m_link, nullptr, link::PrinterResults, 0, 0) == -1) {
        platform::dialogs().showMessage(link::refusalMessage(m_link.lastRefusal()));
        clearStatusBytes();
        return;
    }

    const link::RetData& result = link::resultState().copy;
    if ((result.ErrorFlags & link::ERR_TIMEOUT) != 0) {
        platform::dialogs().showMessage(
            platform::toCp1251(QStringLiteral("Таймаут - фискальный регистратор не отвечает!")));
        return;
    }
    if ((result.ErrorFlags & link::ERR_BUSY) != 0) {
        clearStatusBytes(); // no status came; the callback has said why
        return;
    }
    showStatusBytes(result.Status);
    m_skipQuery = false;
}

void StatusWindow::clearStatusBytes()
{
    for (auto& byteBoxes : m_boxes) {
        for (QCheckBox* box : byteBoxes)
            box->setChecked(false);
    }
}

void StatusWindow::closeWindow()
{
    close();
}

void StatusWindow::showStatusBytes(const std::array<std::uint8_t, kStatusBytes>& status)
{
    for (int byte = 0; byte < kStatusBytes; ++byte) {
        for (int bit = 0; bit < kAlwaysSetBit; ++bit)
            m_boxes[byte][bit]->setChecked((status[byte] & (1u << bit)) != 0);
        m_boxes[byte][kAlwaysSetBit]->setChecked(true);
    }
}

void StatusWindow::centreOnScreen()
{
    const QScreen* screen = parentWidget() != nullptr ? parentWidget()->screen() : this->screen();
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    adjustSize();
    platform::centreOnScreen(*this, screen);
}

} // namespace quorvex::ui
