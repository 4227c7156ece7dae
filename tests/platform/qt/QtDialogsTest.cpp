#include "platform/qt/QtDialogs.h"
#include "platform/MessagePump.h"
#include "platform/qt/QtMessagePump.h"
#include "platform/qt/TextCodec.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include <tuple>

using namespace quorvex::platform;

TEST(QtFileFilter, ConvertsDescriptionPatternPairs)
{
    EXPECT_EQ(qtFileFilter(toCp1251(QStringLiteral("Текстовые файлы (*.txt)|*.TXT|Все|*.*"))),
              QStringLiteral("Текстовые файлы (*.TXT *.txt);;Все (*)"));
    EXPECT_EQ(qtFileFilter("Scripts|*.scr;*.txt"),
              QStringLiteral("Scripts (*.scr *.SCR *.txt *.TXT)"));
    EXPECT_EQ(qtFileFilter("Odd|"), QString()); // a pair without a pattern is dropped
    EXPECT_EQ(qtFileFilter(""), QString());
}

TEST(QtFileFilter, DefaultExtensionOnlyWhenNameHasNone)
{
    EXPECT_EQ(withDefaultExtension("/tmp/report", "rtf"), "/tmp/report.rtf");
    EXPECT_EQ(withDefaultExtension("/tmp/report.txt", "rtf"), "/tmp/report.txt");
    EXPECT_EQ(withDefaultExtension("/tmp.d/report", "rtf"), "/tmp.d/report.rtf");
    EXPECT_EQ(withDefaultExtension("C:\\dir.x\\name", "art"), "C:\\dir.x\\name.art");
    EXPECT_EQ(withDefaultExtension("/tmp/report", ""), "/tmp/report");
}

TEST(QtDialogs, MessageBoxShowsDecodedTextAndQuestionReportsTheButton)
{
    QtDialogs dialogs;
    QString shownText;
    QString title;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shownText = box->text();
        title = box->windowTitle();
        box->accept();
    });
    dialogs.showMessage(toCp1251(QStringLiteral("Невозможно подключить порт")));
    EXPECT_EQ(shownText, QStringLiteral("Невозможно подключить порт"));
    EXPECT_EQ(title, QStringLiteral("Quorvex")); // no caption of its own

    using Ask = bool (QtDialogs::*)(const std::string&, const std::string&);
    const std::tuple<Ask, QMessageBox::StandardButton, bool> questions[] = {
        {&QtDialogs::askOkCancel, QMessageBox::Ok, true},
        {&QtDialogs::askOkCancel, QMessageBox::Cancel, false},
        {&QtDialogs::askYesNo, QMessageBox::Yes, true},
        {&QtDialogs::askYesNo, QMessageBox::No, false},
    };
    for (const auto& [ask, button, expected] : questions) {
        QTimer::singleShot(0, [button = button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            if (QAbstractButton* choice = box->button(button)) {
                choice->click();
            } else {
                ADD_FAILURE() << "no button " << button;
                box->reject();
            }
        });
        EXPECT_EQ((dialogs.*ask)("caption", "text?"), expected) << button;
    }
}

TEST(QtDialogs, SaveDialogLeavesTheOverwriteQuestionToTheWindows)
{
    QtDialogs dialogs;
    bool seen = false;
    bool confirms = true;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = true;
        confirms = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        dialog->reject();
    });

    EXPECT_FALSE(dialogs.saveFileName({"Все|*.*", "rtf", "", ""}).has_value());

    EXPECT_TRUE(seen);
    EXPECT_FALSE(confirms);
}

// An existing file without an extension opens as it is named: no default extension is added.
TEST(QtDialogs, OpenDialogTakesAnExistingFileWithoutAnExtensionAsNamed)
{
    const QString directory = QDir::temp().filePath(QStringLiteral("quorvex-open-dialog"));
    QDir().mkpath(directory);
    const QString file = directory + QStringLiteral("/notes");
    QFile(file).open(QIODevice::WriteOnly);
    QtDialogs dialogs;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(file);
        QMetaObject::invokeMethod(dialog, "accept");
    });

    const auto chosen = dialogs.openFileName({"Все|*.*", "TXT", toFileName(directory), ""});

    EXPECT_EQ(chosen, toFileName(file));
    QDir(directory).removeRecursively();
}

// A typed name that is not there is tried with the default extension, in its letter case and in
// lower and upper case, before the dialog says that the file was not found.
TEST(QtDialogs, OpenDialogTriesTheDefaultExtensionForANameThatIsNotThere)
{
    const QString directory = QDir::temp().filePath(QStringLiteral("quorvex-default-extension"));
    QDir().mkpath(directory);
    for (const char* name : {"notes", "script.txt", "goods.art"})
        QFile(directory + QLatin1Char('/') + QLatin1String(name)).open(QIODevice::WriteOnly);
    const auto in = [&](const char* name) { return directory + QLatin1Char('/') + name; };
    const struct {
        const char* typed;
        const char* extension;
        const char* taken;
    } cases[] = {
        {"script", "txt", "script.txt"},     {"goods", "ART", "goods.art"},
        {"notes", "TXT", "notes"},           {"missing", "txt", "missing"},
        {"script.dat", "txt", "script.dat"}, {"script", "", "script"},
    };
#ifdef Q_OS_WIN
    // Windows finds goods.art also as goods.ART: either spelling names the file.
    const Qt::CaseSensitivity fileNames = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity fileNames = Qt::CaseSensitive;
#endif
    for (const auto& c : cases) {
        const QString taken = existingOrWithExtension(in(c.typed), QLatin1String(c.extension));
        EXPECT_EQ(taken.compare(in(c.taken), fileNames), 0)
            << c.typed << " -> " << taken.toStdString();
    }

    QtDialogs dialogs;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        // The operator types the name into the dialog's name box and presses Enter.
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        dialog->activateWindow();
        QApplication::processEvents();
        name->setFocus();
        ASSERT_TRUE(name->hasFocus()); // as under the operator's typing
        name->setText(QStringLiteral("script"));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(name, &enter);
    });
    EXPECT_EQ(dialogs.openFileName({"Все|*.*", "txt", toFileName(directory), ""}),
              toFileName(in("script.txt")));
    QDir(directory).removeRecursively();
}

TEST(QtMessagePump, ProcessPendingMessagesRunsQueuedEvents)
{
    installQtMessagePump();
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });

    processPendingMessages();

    EXPECT_TRUE(ran);
    setMessagePump({});
}
