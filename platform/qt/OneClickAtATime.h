#pragma once
// One click, one operation. A button or menu item that sends a registrar operation is connected
// with connectOneAtATime: its handler runs only while no other such handler runs anywhere in the
// program. An exchange blocks the event loop, so clicks and keys made meanwhile wait in the
// queue and arrive after the handler has returned; the input gate drops them by their own time
// stamps, and drops a second press on such a control within the double-click interval.
#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>

class QInputEvent;

namespace quorvex::platform {

// The application's filter of clicks and keys. Input made before the last closeBeforeNow() is
// dropped whenever it is delivered: at the end of every operation; and when a message box or a
// modal window appears, input made before it appeared or within the double-click interval after
// (the second press of a double press was meant for what was there before, not for it).
// A press on a control that sends an operation is also dropped within the double-click interval
// of the last press taken on it. A release goes wherever its press went. Events without a time
// stamp (made by the program itself) are never dropped.
class InputGate final : public QObject {
public:
    // Input made until now is stale.
    void closeBeforeNow();
    // Input made until the double-click interval from now is stale: a window has just appeared.
    void closeForADoubleClick();
    // The clock the gate judges by: milliseconds of the monotonic clock, unless a test gives one
    // (an empty function restores it).
    [[nodiscard]] qint64 nowMs() const;
    void setClock(std::function<qint64()> nowMs);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    [[nodiscard]] bool dropPress(QObject* receiver, const QInputEvent& event);
    void calibrate(quint64 timestamp);
    [[nodiscard]] bool stale(quint64 timestamp) const;
    [[nodiscard]] bool repeatedPress(QObject* receiver, const QInputEvent& event);

    // The window system's time stamps minus nowMs(): their base is its own (the X server's
    // start, the system's boot), learnt from the events themselves. An event is stamped before
    // it is delivered, so the largest difference seen is the closest.
    std::optional<qint64> m_stampOffset;
    std::function<qint64()> m_clock;
    qint64 m_staleBeforeMs = 0;
    // Where dropped presses went, so that their releases go the same way.
    QPointer<QObject> m_droppedMouseReceiver;
    Qt::MouseButtons m_droppedButtons;
    QPointer<QObject> m_droppedKeyReceiver;
    int m_droppedKey = 0;
};

// The process's gate; installInputGate() puts it on the application (once is enough).
InputGate& inputGate();
void installInputGate();

// Marks a control as sending operations (its presses obey the double-click rule).
void markSendsOperation(QObject& control);

// The running operation for its lifetime: false when another one runs, and then it changes
// nothing. When it ends, input made meanwhile becomes stale.
class OperationScope {
public:
    OperationScope();
    ~OperationScope();
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;

    explicit operator bool() const { return m_entered; }

private:
    bool m_entered = false;
};

// A modal window opened from inside an operation is a new place to work in: its own operations
// may run while it is open. The running operation is set aside for this object's lifetime.
class OperationPause {
public:
    OperationPause();
    ~OperationPause();
    OperationPause(const OperationPause&) = delete;
    OperationPause& operator=(const OperationPause&) = delete;

private:
    bool m_wasRunning;
};

// True while an operation runs.
[[nodiscard]] bool operationRunning();

// Connects the control's signal (a button's clicked, an action's triggered) to the handler so
// that it runs only as the one operation in progress.
template <class Control, class Signal, class Receiver>
void connectOneAtATime(Control* control, Signal signal, Receiver* receiver,
                       void (Receiver::*handler)())
{
    markSendsOperation(*control);
    QObject::connect(control, signal, receiver, [receiver, handler] {
        if (const OperationScope operation; operation)
            (receiver->*handler)();
    });
}

} // namespace quorvex::platform
