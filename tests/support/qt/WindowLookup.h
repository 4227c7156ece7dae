#pragma once
// What the window tests share: a window's child by its object name, and the Windows-1251 bytes
// of a UTF-8 literal, to compare with what a window sent, wrote or showed.
#include "platform/qt/TextCodec.h"

#include <QString>
#include <QWidget>
#include <gtest/gtest.h>

#include <string>

namespace quorvex::test_support {

// The child of that type and name; a missing one fails the test, naming it.
template <typename Widget> Widget* child(const QWidget& window, const char* name)
{
    auto* widget = window.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

inline std::string cp1251(const char* utf8)
{
    return platform::toCp1251(QString::fromUtf8(utf8));
}

} // namespace quorvex::test_support
