// Script window driving the interpreter: runs, stop, resume, the variables window, and which
// buttons are live while a script is running.
#include "ScriptWindowTestFixture.h"

#include "script/Interpreter.h"

#include <QTableWidget>
#include <functional>

namespace quorvex::ui::testing {
namespace {

class ScriptWindowRun : public ScriptWindowFixture {
protected:
    void SetUp() override
    {
        ScriptWindowFixture::SetUp();
        m_form->refreshOnActivation();
    }

    // Called each time a command line puts its code into the code box, i.e. mid-run.
    void duringEachCommandLine(std::function<void()> action)
    {
        QObject::connect(edit("codeEdit"), &QLineEdit::textChanged, m_form.get(),
                         std::move(action));
    }

    std::vector<int> handledCommands() const
    {
        std::vector<int> commands;
        for (const auto& request : first().handledRequests())
            commands.push_back(request.command);
        return commands;
    }
};

TEST_F(ScriptWindowRun, ACommandListRunsToTheEndOfTheFile)
{
    openScript(writeScript("list.txt", {"0F", "  ", "21Hello", "; note"}));

    button("runButton")->click();

    ASSERT_EQ(first().handledRequests().size(), 2U);
    EXPECT_EQ(first().handledRequests()[0].command, 0x0F);
    EXPECT_EQ(first().handledRequests()[1].command, 0x21);
    EXPECT_EQ(first().handledRequests()[1].data, "Hello");
    EXPECT_EQ(memoLines().size(), 4);
    EXPECT_EQ(edit("codeEdit")->text(), QStringLiteral("21"));
    EXPECT_EQ(edit("dataEdit")->text(), QStringLiteral("Hello"));
    EXPECT_EQ(edit("lineNumberEdit")->text(), QStringLiteral("0"));
    EXPECT_EQ(m_dialogs->lastMessage(), cp1251("Конец файла!"));
}

TEST_F(ScriptWindowRun, SendingButtonsAreDisabledDuringARunAndRestoredAfter)
{
    openScript(writeScript("list.txt", {"0F", "10"}));
    std::vector<bool> liveDuringRun;
    duringEachCommandLine([&] {
        for (const char* name : {"executeButton", "openFileButton", "runButton", "resumeButton",
                                 "repeatButton", "stepButton"})
            liveDuringRun.push_back(button(name)->isEnabled());
    });

    button("runButton")->click();

    ASSERT_FALSE(liveDuringRun.empty());
    EXPECT_EQ(std::count(liveDuringRun.begin(), liveDuringRun.end(), true), 0);
    for (const char* name : {"executeButton", "openFileButton", "runButton", "stopButton",
                             "resumeButton", "repeatButton", "stepButton"})
        EXPECT_TRUE(button(name)->isEnabled()) << name;
}

TEST_F(ScriptWindowRun, ASecondRunCannotStartFromWithinARun)
{
    openScript(writeScript("list.txt", {"0F", "10"}));
    duringEachCommandLine([&] { button("runButton")->click(); });

    button("runButton")->click();

    EXPECT_EQ(handledCommands(), (std::vector<int>{0x0F, 0x10}));
}

TEST_F(ScriptWindowRun, ExitDuringACommandListRunStopsItAfterTheCurrentCommand)
{
    openScript(writeScript("list.txt", {"0F", "10", "11"}));
    m_form->show();
    duringEachCommandLine([&] { button("exitButton")->click(); });

    button("runButton")->click();

    EXPECT_EQ(handledCommands(), std::vector<int>{0x0F});
    EXPECT_FALSE(m_form->isVisible());
}

TEST_F(ScriptWindowRun, ActivationDuringARunKeepsItsStopRequestAndFile)
{
    openScript(writeScript("list.txt", {"0F", "10", "11"}));
    bool firstLine = true;
    duringEachCommandLine([&] {
        if (!firstLine)
            return;
        firstLine = false;
        button("stopButton")->click();
        m_form->refreshOnActivation(); // e.g. back from a message box or the variables window
    });

    button("runButton")->click();

    EXPECT_EQ(handledCommands(), std::vector<int>{0x0F});
    EXPECT_EQ(edit("lineNumberEdit")->text(), QStringLiteral("1"));
}

TEST_F(ScriptWindowRun, ResumeContinuesAtTheLineNumberInTheBox)
{
    openScript(writeScript("list.txt", {"0F", "21       Data", "10"}));
    edit("lineNumberEdit")->setText(QStringLiteral("1"));

    button("resumeButton")->click();

    ASSERT_EQ(first().handledRequests().size(), 2U);
    EXPECT_EQ(first().handledRequests()[0].command, 0x21);
    EXPECT_EQ(first().handledRequests()[0].data, "Data");
    EXPECT_EQ(first().handledRequests()[1].command, 0x10);
    EXPECT_EQ(edit("lineNumberEdit")->text(), QStringLiteral("0"));
}

TEST_F(ScriptWindowRun, StepExecutesOneLine)
{
    openScript(writeScript("list.txt", {"0F", "10"}));

    button("stepButton")->click();

    EXPECT_EQ(handledCommands(), std::vector<int>{0x0F});
    EXPECT_EQ(edit("lineNumberEdit")->text(), QStringLiteral("1"));
}

TEST_F(ScriptWindowRun, DeclaredVariablesFillTheGridAndLockStopResumeStep)
{
    openScript(writeScript("vars.txt", {"%DeclareBeg", "%New i", "%New s", "%DeclareEnd",
                                        "%Set i = \"5\"", "%Print i"}));

    button("runButton")->click();

    EXPECT_EQ(m_variables->cell(1, 0), QStringLiteral("1"));
    EXPECT_EQ(m_variables->cell(1, 1), QStringLiteral("i"));
    EXPECT_EQ(m_variables->cell(1, 2), QStringLiteral("5"));
    EXPECT_EQ(m_variables->cell(2, 1), QStringLiteral("s"));
    EXPECT_EQ(memoLines().last(), QStringLiteral(";i=5"));
    EXPECT_FALSE(button("stopButton")->isEnabled());
    EXPECT_FALSE(button("resumeButton")->isEnabled());
    EXPECT_FALSE(button("stepButton")->isEnabled());
    EXPECT_TRUE(button("runButton")->isEnabled());

    button("variablesButton")->click();
    EXPECT_EQ(m_variables->cell(3, 0), QStringLiteral("3"));
    m_variables->close();

    // A second run adds rows again; nothing is cleared.
    const int rowsAfterFirstRun = m_variables->rowCount();
    button("runButton")->click();
    EXPECT_EQ(m_variables->rowCount(), rowsAfterFirstRun + 2);
    EXPECT_FALSE(button("stopButton")->isEnabled());
}

TEST_F(ScriptWindowRun, OpeningAFileForgetsTheVariables)
{
    openScript(writeScript("vars.txt", {"%DeclareBeg", "%New i", "%DeclareEnd"}));
    button("runButton")->click();
    ASSERT_EQ(m_form->interpreter().variableCount(), 1);

    openScript(writeScript("other.txt", {"0F"}));

    EXPECT_EQ(m_form->interpreter().variableCount(), 0);
    EXPECT_EQ(m_form->interpreter().scriptPath(), m_form->scriptFile());
}

TEST_F(ScriptWindowRun, AMissingScriptFileEndsTheRunWithAMessage)
{
    openScript((m_dir / "missing.txt").string());

    button("runButton")->click();

    EXPECT_FALSE(m_dialogs->messages().empty());
    EXPECT_TRUE(first().handledRequests().empty());
    EXPECT_TRUE(button("runButton")->isEnabled());
}

} // namespace
} // namespace quorvex::ui::testing
