// The input gate and the one-operation-at-a-time rule, with events stamped as a window system
// stamps them: milliseconds from a base of its own.
#include "platform/qt/OneClickAtATime.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyleHints>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace quorvex::platform {
namespace {

// The window system stamps events with milliseconds from a base of its own.
constexpr qint64 kStampBase = 7'000'000;

// The operator's input on one button in virtual time, in milliseconds from an origin: each event
// is made at the time given and delivered then, or later when the clock has passed that time
// already (the event loop was held by an exchange).
class Operator {
public:
    Operator(QPushButton& button, qint64& clockMs, qint64 originMs)
        : m_button(button), m_clockMs(clockMs), m_originMs(originMs)
    {
    }

    void click(qint64 atMs) const
    {
        mouse(QEvent::MouseButtonPress, Qt::LeftButton, atMs);
        mouse(QEvent::MouseButtonRelease, Qt::NoButton, atMs + 5);
    }
    // The second click of a double click, as Qt delivers it: press, double click, release.
    void secondClickOfDouble(qint64 atMs) const
    {
        mouse(QEvent::MouseButtonPress, Qt::LeftButton, atMs);
        mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, atMs);
        mouse(QEvent::MouseButtonRelease, Qt::NoButton, atMs + 5);
    }
    void space(qint64 atMs) const
    {
        key(QEvent::KeyPress, atMs);
        key(QEvent::KeyRelease, atMs + 5);
    }

private:
    void deliver(QInputEvent& event, qint64 atMs) const
    {
        m_clockMs = std::max(m_clockMs, m_originMs + atMs);
        event.setTimestamp(static_cast<quint64>(kStampBase + m_originMs + atMs));
        QCoreApplication::sendEvent(&m_button, &event);
    }
    void mouse(QEvent::Type type, Qt::MouseButtons buttons, qint64 atMs) const
    {
        const QPointF at = QRectF(m_button.rect()).center();
        QMouseEvent event(type, at, m_button.mapToGlobal(at), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        deliver(event, atMs);
    }
    void key(QEvent::Type type, qint64 atMs) const
    {
        QKeyEvent event(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        deliver(event, atMs);
    }

    QPushButton& m_button;
    qint64& m_clockMs;
    qint64 m_originMs;
};

class InputGateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        installInputGate();
        inputGate().setClock([this] { return m_clockMs; });
    }
    void TearDown() override { inputGate().setClock({}); }

    qint64 m_clockMs = 1'000;
};

TEST_F(InputGateTest, DropsInputMadeDuringAnOperationAndRepeatedPressesOnSendingControls)
{
    const qint64 interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    // Times from the click that started an operation; at 100 the operation ends, or a message
    // box appears.
    const struct {
        const char* name;
        bool sends;
        std::function<void(const Operator&)> input;
        int clicks;
        bool boxAppears = false;
    } cases[] = {
        {"a click made during the operation, delivered after it", true,
         [](const Operator& o) { o.click(40); }, 0},
        {"a double Space made during the operation", true,
         [](const Operator& o) {
             o.space(30);
             o.space(80);
         },
         0},
        {"a click made after the end", true, [](const Operator& o) { o.click(110); }, 1},
        {"a double click on a control that sends", true,
         [](const Operator& o) {
             o.click(110);
             o.secondClickOfDouble(160);
         },
         1},
        {"two Space presses within the interval", true,
         [](const Operator& o) {
             o.space(110);
             o.space(160);
         },
         1},
        {"a second click after the interval", true,
         [interval](const Operator& o) {
             o.click(110);
             o.click(110 + interval + 1);
         },
         2},
        {"a double click on a control that sends nothing", false,
         [](const Operator& o) {
             o.click(110);
             o.secondClickOfDouble(160);
         },
         2},
        {"a press just after a box appeared", false, [](const Operator& o) { o.space(150); }, 0,
         true},
        {"a press once the box has been seen", false,
         [interval](const Operator& o) { o.space(100 + interval + 10); }, 1, true},
    };
    for (const auto& c : cases) {
        QWidget window;
        auto* button = new QPushButton(QStringLiteral("Оплатить"), &window);
        auto* started = new QPushButton(QStringLiteral("Продать товар"), &window);
        int clicks = 0;
        QObject::connect(button, &QPushButton::clicked, [&clicks] { ++clicks; });
        if (c.sends)
            markSendsOperation(*button);
        window.show();
        const qint64 start = m_clockMs + 10'000;
        Operator(*started, m_clockMs, start).click(0); // delivered at once: the operation starts
        m_clockMs = start + 100;
        if (c.boxAppears)
            inputGate().closeForADoubleClick();
        else
            inputGate().closeBeforeNow(); // the operation ended

        c.input(Operator(*button, m_clockMs, start));

        EXPECT_EQ(clicks, c.clicks) << c.name;
        EXPECT_FALSE(button->isDown()) << c.name;
    }
}

TEST_F(InputGateTest, EventsWithoutATimeStampAreTheProgramsOwnAndAlwaysPass)
{
    QPushButton button;
    markSendsOperation(button);
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&clicks] { ++clicks; });
    inputGate().closeBeforeNow();

    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&button, &event);
    }

    EXPECT_EQ(clicks, 1);
}

TEST(OperationScope, OneOperationAtATimeExceptInAWindowItOpens)
{
    QPushButton first;
    QPushButton second;
    std::vector<const char*> ran;
    struct Handlers : QObject {
        std::function<void()> onFirst, onSecond;
        void first() { onFirst(); }
        void second() { onSecond(); }
    } handlers;
    connectOneAtATime(&first, &QPushButton::clicked, &handlers, &Handlers::first);
    connectOneAtATime(&second, &QPushButton::clicked, &handlers, &Handlers::second);
    handlers.onSecond = [&] { ran.push_back("second"); };
    handlers.onFirst = [&] {
        ran.push_back("first");
        second.click(); // another control while the first operation runs
        const OperationPause modalWindow;
        second.click(); // a window opened by the operation runs its own
    };

    first.click();
    second.click();

    EXPECT_EQ(ran, (std::vector<const char*>{"first", "second", "second"}));
    EXPECT_FALSE(operationRunning());
}

} // namespace
} // namespace quorvex::platform
