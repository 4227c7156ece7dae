#include "platform/qt/EnterPressesButton.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace quorvex::platform {

namespace {

class EnterPressesButton final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<const QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const bool plain =
            (key->modifiers() & ~Qt::KeyboardModifiers(Qt::KeypadModifier)) == Qt::NoModifier;
        auto* button = qobject_cast<QPushButton*>(watched);
        if (!enter || !plain || key->isAutoRepeat() || button == nullptr || !button->hasFocus() ||
            !button->isEnabled())
            return false;
        button->click();
        return true;
    }
};

} // namespace

void installEnterPressesButton()
{
    static EnterPressesButton filter;
    QCoreApplication::instance()->installEventFilter(&filter);
}

} // namespace quorvex::platform
