// Script window: layout, activation and choosing script files with the recent-files list.
#include "ScriptWindowTestFixture.h"

#include "platform/IniFile.h"

#include <QGroupBox>
#include <QLabel>

namespace quorvex::ui::testing {
namespace {

using ScriptWindowFiles = ScriptWindowFixture;

TEST_F(ScriptWindowFiles, StartsWithEverythingThatNeedsAFileOrActivationDisabled)
{
    EXPECT_EQ(m_form->size(), QSize(721, 598));
    EXPECT_EQ(m_form->windowTitle(), QStringLiteral("Команды и скрипты"));
    EXPECT_EQ(child<QLabel>("fileLabel")->text(), QStringLiteral("Имя  файла:"));
    EXPECT_FALSE(combo()->isEditable());
    EXPECT_EQ(child<platform::LineMemo>("messageMemo")->font().pixelSize(), 15);
    EXPECT_EQ(edit("lineNumberEdit")->text(), QStringLiteral("0"));
    EXPECT_EQ(edit("codeEdit")->maxLength(), 2);

    EXPECT_FALSE(child<QGroupBox>("commandGroup")->isEnabled());
    EXPECT_FALSE(button("executeButton")->isEnabled());
    EXPECT_FALSE(button("addToListButton")->isEnabled());
    EXPECT_FALSE(button("openFileButton")->isEnabled());
    EXPECT_FALSE(button("runButton")->isEnabled());
    EXPECT_TRUE(button("stopButton")->isEnabled());
}

TEST_F(ScriptWindowFiles, ActivationEnablesTheManualGroupAndRereadsTheRecentFiles)
{
    ASSERT_TRUE(platform::WritePrivateProfileString("Files", "File1", "a.txt", settingsPath()));
    ASSERT_TRUE(platform::WritePrivateProfileString("Files", "File3", "c.txt", settingsPath()));

    m_form->refreshOnActivation();

    EXPECT_TRUE(child<QGroupBox>("commandGroup")->isEnabled());
    EXPECT_TRUE(button("executeButton")->isEnabled());
    EXPECT_TRUE(button("addToListButton")->isEnabled());
    EXPECT_TRUE(button("openFileButton")->isEnabled());
    EXPECT_FALSE(button("runButton")->isEnabled());
    EXPECT_EQ(comboEntries(), (QStringList{"a.txt", "c.txt"}));
    EXPECT_EQ(combo()->currentIndex(), -1);

    ASSERT_TRUE(platform::WritePrivateProfileString("Files", "File1", "", settingsPath()));
    m_form->refreshOnActivation();
    EXPECT_EQ(comboEntries(), (QStringList{"c.txt"}));
}

TEST_F(ScriptWindowFiles, OpenFileAsksForTextFilesInTheCurrentDirectory)
{
    m_form->refreshOnActivation();
    m_dialogs->queueOpenFile(std::nullopt);

    button("openFileButton")->click();

    ASSERT_EQ(m_dialogs->calls().size(), 1U);
    const platform::FileDialogOptions& options = m_dialogs->calls()[0].options;
    EXPECT_EQ(options.filter, cp1251("Текстовые файлы (*.txt)|*.TXT|Все|*.*"));
    EXPECT_EQ(options.defaultExtension, "txt");
    EXPECT_EQ(options.initialDirectory, std::filesystem::current_path().string());
    // Cancelled: nothing changes.
    EXPECT_FALSE(button("runButton")->isEnabled());
    EXPECT_TRUE(m_form->scriptFile().empty());
    EXPECT_FALSE(std::filesystem::exists(settingsPath()));
}

TEST_F(ScriptWindowFiles, ChoosingANewFileEnablesRunAndPutsItFirst)
{
    ASSERT_TRUE(platform::WritePrivateProfileString("Files", "File1", "old.txt", settingsPath()));
    m_form->refreshOnActivation();
    edit("lineNumberEdit")->setText(QStringLiteral("7"));

    openScript("new.txt");

    EXPECT_TRUE(button("runButton")->isEnabled());
    EXPECT_EQ(m_form->scriptFile(), "new.txt");
    EXPECT_EQ(edit("lineNumberEdit")->text(), QStringLiteral("0"));
    EXPECT_EQ(comboEntries(), (QStringList{"new.txt", "old.txt"}));
    EXPECT_EQ(combo()->currentIndex(), 0);
    EXPECT_EQ(platform::GetPrivateProfileString("Files", "File1", "?", 500, settingsPath()),
              "new.txt");
    EXPECT_EQ(platform::GetPrivateProfileString("Files", "File2", "?", 500, settingsPath()),
              "old.txt");
    EXPECT_EQ(platform::GetPrivateProfileString("Files", "File5", "?", 500, settingsPath()), "");
}

TEST_F(ScriptWindowFiles, ChoosingAListedFileOnlySelectsIt)
{
    for (int i = 1; i <= 3; ++i)
        ASSERT_TRUE(platform::WritePrivateProfileString(
            "Files", "File" + std::to_string(i), "s" + std::to_string(i) + ".txt", settingsPath()));
    m_form->refreshOnActivation();
    const std::string before = settingsText();

    openScript("s2.txt");

    EXPECT_EQ(combo()->currentIndex(), 1);
    EXPECT_EQ(comboEntries(), (QStringList{"s1.txt", "s2.txt", "s3.txt"}));
    EXPECT_EQ(settingsText(), before);
    EXPECT_EQ(m_form->scriptFile(), "s2.txt");
    EXPECT_TRUE(button("runButton")->isEnabled());
}

TEST_F(ScriptWindowFiles, ASixthFileDropsTheOldestAndACaseVariantIsNew)
{
    m_form->refreshOnActivation();
    for (int i = 1; i <= 5; ++i)
        openScript("s" + std::to_string(i) + ".txt");

    openScript("s6.txt");
    EXPECT_EQ(comboEntries(), (QStringList{"s6.txt", "s5.txt", "s4.txt", "s3.txt", "s2.txt"}));

    openScript("S6.TXT");
    EXPECT_EQ(comboEntries(), (QStringList{"S6.TXT", "s6.txt", "s5.txt", "s4.txt", "s3.txt"}));

    m_form->refreshOnActivation(); // the INI file holds the same list
    EXPECT_EQ(comboEntries(), (QStringList{"S6.TXT", "s6.txt", "s5.txt", "s4.txt", "s3.txt"}));
}

// File names on Linux are UTF-8 bytes, fpinit.ini is Windows-1251 text: a script in a
// Cyrillic directory is offered from there, shown, remembered and opened again after a restart.
TEST_F(ScriptWindowFiles, ScriptInACyrillicDirectorySurvivesARestart)
{
    const QString folder = QString::fromStdString(m_dir.string()) + QStringLiteral("/Скрипты");
    const QString file = folder + QStringLiteral("/тест.txt");
    const std::string fsFolder = platform::toFileName(folder);
    const std::string fsFile = platform::toFileName(file);
    std::filesystem::create_directories(fsFolder);
    std::ofstream(fsFile, std::ios::binary) << "0F\r\n";
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(fsFolder);
    m_form->refreshOnActivation();

    openScript(fsFile);
    button("runButton")->click();

    EXPECT_EQ(m_dialogs->calls()[0].options.initialDirectory, fsFolder);
    EXPECT_EQ(comboEntries(), QStringList{file});
    EXPECT_EQ(platform::GetPrivateProfileString("Files", "File1", "", 500, settingsPath()),
              platform::toCp1251(file));
    ASSERT_EQ(first().handledRequests().size(), 1U) << m_dialogs->lastMessage();

    // A restart: a new window reads the list back from the settings file.
    m_form = std::make_unique<ScriptWindow>();
    m_form->refreshOnActivation();
    EXPECT_EQ(comboEntries(), QStringList{file});
    const std::string before = settingsText();
    openScript(fsFile);
    button("runButton")->click();

    std::filesystem::current_path(previous);
    EXPECT_EQ(combo()->currentIndex(), 0);
    EXPECT_EQ(settingsText(), before);
    EXPECT_EQ(first().handledRequests().size(), 2U) << m_dialogs->lastMessage();
}

TEST_F(ScriptWindowFiles, ClearMessagesEmptiesTheMemo)
{
    m_form->refreshOnActivation();
    typeCode(QStringLiteral("0F"));
    button("executeButton")->click();
    ASSERT_FALSE(memoLines().isEmpty());

    button("clearMessagesButton")->click();

    EXPECT_TRUE(memoLines().isEmpty());
}

} // namespace
} // namespace quorvex::ui::testing
