// A log that cannot be written is told once, in a message box after the exchange has ended.
#include "link/ui/LogFailureNotice.h"

#include "link/ExchangeLog.h"
#include "link/ResultState.h"
#include "platform/qt/TextCodec.h"
#include "tests/support/EmulatedRegistrars.h"
#include "tests/support/platform/RecordingDialogs.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quorvex::ui {
namespace {

TEST(LogFailureNotice, AnUnwritableLogIsToldOnceAfterTheExchange)
{
    test_support::resetEmulatedRegistrars();
    platform::ScopedRecordingDialogs dialogs;
    QTemporaryDir dir;
    const std::string missing = dir.path().toStdString() + "/gone/Brelox.log";
    link::Link link;
    ASSERT_NE(link.OpenFirstPort("EMU1", 19200), -1);
    link.SetLogName(missing);
    tellLogFailures(link);

    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(link.SendCommand(
                      nullptr, [](link::RetData&) {}, 0, 0x4A, "W"),
                  0);
    EXPECT_TRUE(dialogs->messages().empty());
    QCoreApplication::processEvents();

    EXPECT_EQ(dialogs->messages(), std::vector<std::string>{platform::toCp1251(
                                       QStringLiteral("Невозможно открыть журнал обмена ") +
                                       QString::fromStdString(missing) +
                                       QStringLiteral(": файл или папка не существует"))});
    link.exchangeLog().setFailureListener({});
}

} // namespace
} // namespace quorvex::ui
