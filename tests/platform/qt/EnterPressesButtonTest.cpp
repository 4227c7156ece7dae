// Enter on a focused push button presses it; elsewhere Enter keeps its own meaning.
#include "platform/qt/EnterPressesButton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

namespace quorvex::platform {
namespace {

TEST(EnterPressesButton, OnlyAFocusedEnabledPushButton)
{
    installEnterPressesButton();
    QWidget window; // a main window's panel: no dialog default buttons
    auto* button = new QPushButton(QStringLiteral("Подключить"), &window);
    auto* edit = new QLineEdit(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(button);
    layout->addWidget(edit);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&clicks] { ++clicks; });
    window.show();
    window.activateWindow();
    QApplication::processEvents();
    const auto enter = [](QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(target, &press);
    };

    button->setFocus();
    enter(button, Qt::Key_Return);
    enter(button, Qt::Key_Enter, Qt::KeypadModifier);
    enter(button, Qt::Key_Return, Qt::ControlModifier);
    button->setEnabled(false);
    enter(button, Qt::Key_Return);
    edit->setFocus();
    enter(edit, Qt::Key_Return);

    EXPECT_EQ(clicks, 2);
}

} // namespace
} // namespace quorvex::platform
