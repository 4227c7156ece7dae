// The hexadecimal view of memo lines: bounded, scrollable, copyable.
#include "script/ui/HexBytesWindow.h"

#include "tests/support/qt/CaptionFit.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <gtest/gtest.h>

namespace quorvex::ui {
namespace {

TEST(HexListing, OneLineOfBytesPerMemoLineUpToTheLimit)
{
    const struct {
        QStringList lines;
        qsizetype limit;
        const char* text;
        qsizetype shown;
        qsizetype total;
    } cases[] = {
        {{QStringLiteral("PC"), QStringLiteral("\u2401\u2403Я")}, 100, "50 43\n01 03 DF", 5, 5},
        {{QStringLiteral("ABCD"), QStringLiteral("EFGH"), QStringLiteral("IJ")},
         6,
         "41 42 43 44\n45 46",
         6,
         10},
    };
    for (const auto& c : cases) {
        const HexListing listing = hexListing(c.lines, c.limit);

        EXPECT_EQ(listing.text, QLatin1String(c.text));
        EXPECT_EQ(listing.shownBytes, c.shown);
        EXPECT_EQ(listing.totalBytes, c.total);
    }
}

// "Выделить всё" on 20,000 lines: the first 64 KB, a line saying so, a window on the screen, and
// Ctrl+C or "Копировать" take the hex.
TEST(HexBytesWindow, ManyLinesShowTheFirst64KilobytesOnTheScreenAndCopy)
{
    const QStringList lines(20'000, QStringLiteral("PC: \u2401%4AW\u2405\u2403 twenty-nine"));
    HexBytesWindow window(lines);
    window.show();

    const auto* note = window.findChild<QLabel*>();
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->text(), QStringLiteral("Показаны первые 65536 байт из %1.")
                                .arg(lines.size() * lines.front().size()));
    const QString hex = window.findChild<QPlainTextEdit*>()->toPlainText();
    EXPECT_EQ(hex.count(QLatin1Char(' ')) + hex.count(QLatin1Char('\n')) + 1, 65536);
    EXPECT_TRUE(
        window.screen()->availableGeometry().contains(window.frameGeometry().bottomRight()));
    QApplication::clipboard()->clear();
    window.copyHex();
    EXPECT_EQ(QApplication::clipboard()->text(), hex) << "the whole text is selected at first";
    test_support::expectCaptionsFit(window, QStringLiteral("HexBytesWindow"));
    test_support::saveScreenshot(window, QStringLiteral("HexBytesWindow"));
}

} // namespace
} // namespace quorvex::ui
