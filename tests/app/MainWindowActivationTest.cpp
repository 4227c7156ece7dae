// Activation of the main window: port list, settings file, exchange log, port and speed.
#include "AppFixture.h"

#include <QAbstractItemModel>
#include <QEventLoop>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace quorvex::ui::test {
namespace {

using ActivationTest = AppFixture;

TEST_F(ActivationTest, ListsEmulatedPortsAndSelectsStoredChoiceIgnoringCase)
{
    writeIni("[Communication]\r\nPort=emu2\r\nSpeed=57600\r\n");

    m_form->refreshPortsAndSettings();

    EXPECT_GE(ports()->findText("EMU1"), 0);
    EXPECT_EQ(ports()->currentText(), "EMU2");
    EXPECT_EQ(speeds()->currentText(), "57600");
    EXPECT_TRUE(m_dialogs->calls().empty());
    EXPECT_EQ(m_terminations, 0);
}

TEST_F(ActivationTest, PortListIsRefilledNotAppended)
{
    writeIni("");
    m_form->refreshPortsAndSettings();
    const int listed = ports()->count();

    m_form->refreshPortsAndSettings();

    EXPECT_EQ(ports()->count(), listed);
}

TEST_F(ActivationTest, SettingsAreReadAgainOnEveryActivation)
{
    writeIni("[Communication]\r\nPort=EMU1\r\nSpeed=9600\r\n");
    m_form->refreshPortsAndSettings();
    ASSERT_EQ(ports()->currentText(), "EMU1");

    writeIni("[Communication]\r\nPort=EMU2\r\nSpeed=115200\r\n");
    m_form->refreshPortsAndSettings();

    EXPECT_EQ(ports()->currentText(), "EMU2");
    EXPECT_EQ(speeds()->currentText(), "115200");
}

// A click on the port list of an inactive window activates it: the list, unchanged, is not filled
// anew (which would close the drop-down), and the operator's choice stays until the file changes.
TEST_F(ActivationTest, ActivationKeepsTheListAndTheOperatorsChoiceUntilTheFileChanges)
{
    writeIni("[Communication]\r\nPort=EMU2\r\nSpeed=9600\r\n");
    m_form->refreshPortsAndSettings();
    int removed = 0;
    QObject::connect(ports()->model(), &QAbstractItemModel::rowsRemoved, [&removed] { ++removed; });
    ports()->setCurrentIndex(ports()->findText("EMU1"));
    speeds()->setCurrentIndex(speeds()->findText("57600"));

    m_form->refreshPortsAndSettings();

    EXPECT_EQ(removed, 0);
    EXPECT_EQ(ports()->currentText(), "EMU1");
    EXPECT_EQ(speeds()->currentText(), "57600");
    writeIni("[Communication]\r\nPort=EMU2\r\nSpeed=115200\r\n");
    m_form->refreshPortsAndSettings();
    EXPECT_EQ(ports()->currentText(), "EMU2");
    EXPECT_EQ(speeds()->currentText(), "115200");
}

TEST_F(ActivationTest, ProgramDirectoryIsFixedAtFirstActivation)
{
    writeIni("");
    m_form->refreshPortsAndSettings();
    const std::string fixed = link::session().programDirectory;
    QTemporaryDir elsewhere;
    std::filesystem::current_path(elsewhere.path().toStdString());

    m_form->refreshPortsAndSettings();

    EXPECT_EQ(std::filesystem::path(fixed), std::filesystem::path(m_dir.path().toStdString()));
    EXPECT_EQ(link::session().programDirectory, fixed);
    EXPECT_EQ(m_terminations, 0) << "the settings file is still found in the fixed directory";
}

TEST_F(ActivationTest, MissingSettingsFileEndsTheProgramOnce)
{
    m_form->refreshPortsAndSettings();

    ASSERT_EQ(m_dialogs->messages().size(), 1u);
    EXPECT_EQ(message(0), QStringLiteral("Файл fpinit.ini отсутствует.\n Ошибка!"));
    EXPECT_EQ(m_terminations, 1);

    m_form->refreshPortsAndSettings();
    EXPECT_EQ(m_dialogs->messages().size(), 1u) << "no second box once terminating";
    EXPECT_EQ(m_terminations, 1);
}

// Leaving the event loops cannot be undone within a process, so it is watched in a child.
TEST_F(ActivationTest, MissingSettingsFileLeavesTheRunningEventLoop)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto runUntilTerminated = [] {
        // The child leaves through exit(), past the fixture's clean-up: its own working
        // directory, the fixture's temporary one, goes when it exits.
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(std::filesystem::current_path(ignored), ignored);
        });
        MainWindow form; // with the default terminate handler
        QEventLoop loop;
        QTimer::singleShot(0, &form, [&form] { form.refreshPortsAndSettings(); });
        QTimer::singleShot(5000, &loop, [&loop] { loop.exit(99); });
        std::exit(loop.exec());
    };

    EXPECT_EXIT(runUntilTerminated(), ::testing::ExitedWithCode(1), "");
}

TEST_F(ActivationTest, SettingsFileDeletedWhileRunningEndsTheProgram)
{
    writeIni("[Communication]\r\nPort=EMU1\r\n");
    m_form->refreshPortsAndSettings();
    ASSERT_EQ(m_terminations, 0);

    std::filesystem::remove(iniPath());
    m_form->refreshPortsAndSettings();

    EXPECT_EQ(m_terminations, 1);
    EXPECT_EQ(message(0), QStringLiteral("Файл fpinit.ini отсутствует.\n Ошибка!"));
}

TEST_F(ActivationTest, WindowActivationEventRunsActivation)
{
    writeIni("[Communication]\r\nSpeed=115200\r\n");

    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(m_form.get(), &activate);

    EXPECT_EQ(speeds()->currentText(), "115200");
}

TEST_F(ActivationTest, FirstShowRunsActivation)
{
    writeIni("[Communication]\r\nPort=EMU2\r\n");

    m_form->show();

    EXPECT_EQ(ports()->currentText(), "EMU2");
    m_form->hide();
}

TEST_F(ActivationTest, LogSwitchedOffLeavesNoLogFile)
{
    connectWith("[LogFile]\r\nLog=0\r\nLogName=off.log\r\n[Communication]\r\nPort=EMU1\r\n");
    (void)link::CloseFirstPort();

    EXPECT_FALSE(std::filesystem::exists(m_dir.path().toStdString() + "/off.log"));
}

// The log's path is fixed for the life of the process by its first entry, so only this test
// switches the log on; the default name is checked on the settings reader.
TEST_F(ActivationTest, LogSwitchedOnUsesStoredName)
{
    connectWith("[LogFile]\r\nLog=1\r\nLogName=exchange.log\r\n[Communication]\r\nPort=EMU1\r\n");

    EXPECT_TRUE(std::filesystem::exists(m_dir.path().toStdString() + "/exchange.log"));
    EXPECT_FALSE(std::filesystem::exists(m_dir.path().toStdString() + "/Brelox.log"));
}

// Every activation reads the mode anew: each row would fail if it left the mode as it was.
TEST_F(ActivationTest, AnswerEndIsReadOnEveryActivation)
{
    const struct {
        const char* ini;
        link::AnswerEnd expected;
    } rows[] = {
        {"[Communication]\r\nAnswerEnd=etx\r\n", link::AnswerEnd::Etx},
        {"", link::AnswerEnd::Quiet},
        {"[Communication]\r\nAnswerEnd=etx\r\n", link::AnswerEnd::Etx},
    };
    for (const auto& row : rows) {
        writeIni(row.ini);

        m_form->refreshPortsAndSettings();

        EXPECT_EQ(link::processLink().answerEnd(), row.expected) << row.ini;
    }
}

} // namespace
} // namespace quorvex::ui::test
