#pragma once
// A control whose handler is still running ignores further clicks. A handler can run for long:
// its message boxes and the pending messages it lets through are nested event loops, where a
// second click would otherwise start the same fiscal operation again.
#include <QObject>
#include <QPointer>

namespace quorvex::platform {

// Marks the control busy for the guard's lifetime; false when it already was, and then the
// guard changes nothing.
class InFlight {
public:
    explicit InFlight(QObject* control);
    ~InFlight();
    InFlight(const InFlight&) = delete;
    InFlight& operator=(const InFlight&) = delete;

    explicit operator bool() const { return m_entered; }

private:
    QPointer<QObject> m_control;
    bool m_entered = false;
};

// Connects the control's signal (a button's clicked, an action's triggered) to the handler so
// that a signal arriving while the handler still runs is ignored.
template <class Control, class Signal, class Receiver>
void connectOneAtATime(Control* control, Signal signal, Receiver* receiver,
                       void (Receiver::*handler)())
{
    QObject::connect(control, signal, receiver, [control, receiver, handler] {
        if (const InFlight inFlight(control); inFlight)
            (receiver->*handler)();
    });
}

} // namespace quorvex::platform
