#include "platform/qt/QtTranslation.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

namespace quorvex::platform {
namespace {

// Qt's own buttons speak Russian once the translation is installed.
TEST(QtTranslation, StandardButtonsReadInRussian)
{
    QTranslator* translator = installQtTranslation();
    ASSERT_NE(translator, nullptr) << "qtbase_ru is missing from Qt's translations path";

    QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Open);

    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Отмена"));
    EXPECT_EQ(box.button(QDialogButtonBox::Open)->text(), QStringLiteral("Открыть"));
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

} // namespace
} // namespace quorvex::platform
