#include "platform/qt/OneClickAtATime.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleHints>
#include <QVariant>

#include <algorithm>
#include <chrono>
#include <utility>

namespace quorvex::platform {

namespace {

constexpr const char* kSendsOperation = "quorvexSendsOperation";
constexpr const char* kLastPress = "quorvexLastPress";
// A time stamp this much older than the base learnt so far means that the window system's clock
// jumped (the X server's 32-bit milliseconds wrap after 49 days), not that an event waited:
// nothing holds the event loop for a day.
constexpr qint64 kClockJumpMs = 24LL * 60 * 60 * 1000;

bool g_operationRunning = false;

// A press that clicks a button: the left mouse button, Space, Enter.
bool clicksButton(const QInputEvent& event)
{
    if (event.type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(event);
        return !key.isAutoRepeat() && (key.key() == Qt::Key_Space || key.key() == Qt::Key_Return ||
                                       key.key() == Qt::Key_Enter);
    }
    return static_cast<const QMouseEvent&>(event).button() == Qt::LeftButton;
}

} // namespace

void InputGate::closeBeforeNow()
{
    m_staleBeforeMs = std::max(m_staleBeforeMs, nowMs());
}

void InputGate::closeForADoubleClick()
{
    m_staleBeforeMs = std::max(m_staleBeforeMs,
                               nowMs() + QGuiApplication::styleHints()->mouseDoubleClickInterval());
}

qint64 InputGate::nowMs() const
{
    if (m_clock)
        return m_clock();
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void InputGate::setClock(std::function<qint64()> nowMs)
{
    m_clock = std::move(nowMs);
    m_stampOffset.reset(); // learnt anew against the new clock
    m_staleBeforeMs = 0;
}

// Releases follow their presses: a release is dropped exactly when its press was dropped at the
// same receiver (the window first, then the widget), so no widget is left half pressed.
bool InputGate::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress: {
        const auto& input = static_cast<const QInputEvent&>(*event);
        calibrate(input.timestamp());
        return dropPress(watched, input);
    }
    case QEvent::MouseButtonRelease: {
        const Qt::MouseButton button = static_cast<const QMouseEvent*>(event)->button();
        if (watched != m_droppedMouseReceiver || !(m_droppedButtons & button))
            return false;
        m_droppedButtons &= ~button;
        return true;
    }
    case QEvent::KeyRelease: {
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (watched != m_droppedKeyReceiver || key->key() != m_droppedKey)
            return false;
        if (!key->isAutoRepeat())
            m_droppedKey = 0;
        return true;
    }
    default:
        return false;
    }
}

bool InputGate::dropPress(QObject* receiver, const QInputEvent& event)
{
    if (!stale(event.timestamp()) && !repeatedPress(receiver, event))
        return false;
    if (event.type() == QEvent::KeyPress) {
        m_droppedKeyReceiver = receiver;
        m_droppedKey = static_cast<const QKeyEvent&>(event).key();
    } else {
        if (receiver != m_droppedMouseReceiver)
            m_droppedButtons = {};
        m_droppedMouseReceiver = receiver;
        m_droppedButtons |= static_cast<const QMouseEvent&>(event).button();
    }
    return true;
}

void InputGate::calibrate(quint64 timestamp)
{
    if (timestamp == 0)
        return;
    const qint64 offset = static_cast<qint64>(timestamp) - nowMs();
    if (!m_stampOffset || offset > *m_stampOffset || offset < *m_stampOffset - kClockJumpMs)
        m_stampOffset = offset;
}

bool InputGate::stale(quint64 timestamp) const
{
    if (timestamp == 0 || !m_stampOffset)
        return false;
    return static_cast<qint64>(timestamp) - *m_stampOffset < m_staleBeforeMs;
}

bool InputGate::repeatedPress(QObject* receiver, const QInputEvent& event)
{
    const quint64 stamp = event.timestamp();
    if (stamp == 0 || !receiver->property(kSendsOperation).toBool() || !clicksButton(event))
        return false;
    const QVariant last = receiver->property(kLastPress);
    const auto interval =
        static_cast<quint64>(QGuiApplication::styleHints()->mouseDoubleClickInterval());
    if (last.isValid() && stamp >= last.toULongLong() && stamp - last.toULongLong() < interval)
        return true;
    receiver->setProperty(kLastPress, QVariant::fromValue<qulonglong>(stamp));
    return false;
}

InputGate& inputGate()
{
    static InputGate gate;
    return gate;
}

void installInputGate()
{
    QCoreApplication::instance()->installEventFilter(&inputGate());
}

void markSendsOperation(QObject& control)
{
    control.setProperty(kSendsOperation, true);
}

OperationScope::OperationScope() : m_entered(!g_operationRunning)
{
    if (m_entered)
        g_operationRunning = true;
}

OperationScope::~OperationScope()
{
    if (!m_entered)
        return;
    g_operationRunning = false;
    inputGate().closeBeforeNow();
}

OperationPause::OperationPause() : m_wasRunning(std::exchange(g_operationRunning, false))
{
    inputGate().closeForADoubleClick(); // a modal window opens
}

OperationPause::~OperationPause()
{
    g_operationRunning = m_wasRunning;
}

bool operationRunning()
{
    return g_operationRunning;
}

} // namespace quorvex::platform
