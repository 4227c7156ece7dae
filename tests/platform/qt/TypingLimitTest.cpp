// Typing never lengthens a value past its limit; text the program sets is shown whole.
#include "platform/qt/TypingLimit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <functional>

namespace quorvex::platform {
namespace {

void typeKey(QLineEdit& edit, Qt::Key key, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&edit, &press);
}

TEST(TypingLimit, TypingNeverLengthensPastTheLimit)
{
    const struct {
        const char* name;
        std::function<void(QLineEdit&)> act;
        const char* expected;
    } cases[] = {
        {"typed up to the limit",
         [](QLineEdit& e) {
             for (const char* d : {"1", "2", "3", "4", "5", "6"})
                 typeKey(e, Qt::Key_1, d);
         },
         "12345"},
        {"a longer value loaded, then typed into",
         [](QLineEdit& e) {
             e.setText(QStringLiteral("12345678901"));
             typeKey(e, Qt::Key_7, "7");
             typeKey(e, Qt::Key_8, "8");
         },
         "12345678901"},
        {"a longer value loaded, shortened, then typed into",
         [](QLineEdit& e) {
             e.setText(QStringLiteral("1234567"));
             typeKey(e, Qt::Key_Backspace);
             typeKey(e, Qt::Key_9, "9");
         },
         "123456"},
    };
    for (const auto& c : cases) {
        QLineEdit edit;
        limitTyping(edit, 5);

        c.act(edit);

        EXPECT_EQ(edit.text(), QString::fromLatin1(c.expected)) << c.name;
    }
}

} // namespace
} // namespace quorvex::platform
