// Script window driving the interpreter: runs, stop, resume, the variables window, and which
// buttons are live while a script is running.
#include "TForm7TestFixture.h"

#include "script/Interpreter.h"

#include <QTableWidget>
#include <functional>

namespace quorvex::ui::testing {
namespace {

class TForm7Run : public TForm7Fixture {
protected:
    void SetUp() override
    {
        TForm7Fixture::SetUp();
        m_form->FormActivate();
    }

    // Called each time a command line puts its code into the code box, i.e. mid-run.
    void duringEachCommandLine(std::function<void()> action)
    {
        QObject::connect(edit("Edit1"), &QLineEdit::textChanged, m_form.get(), std::move(action));
    }

    std::vector<int> handledCommands() const
    {
        std::vector<int> commands;
        for (const auto& request : first().handledRequests())
            commands.push_back(request.command);
        return commands;
    }
};

TEST_F(TForm7Run, ACommandListRunsToTheEndOfTheFile)
{
    openScript(writeScript("list.txt", {"0F", "  ", "21Hello", "; note"}));

    button("Button6")->click();

    ASSERT_EQ(first().handledRequests().size(), 2U);
    EXPECT_EQ(first().handledRequests()[0].command, 0x0F);
    EXPECT_EQ(first().handledRequests()[1].command, 0x21);
    EXPECT_EQ(first().handledRequests()[1].data, "Hello");
    EXPECT_EQ(memoLines().size(), 4);
    EXPECT_EQ(edit("Edit1")->text(), QStringLiteral("21"));
    EXPECT_EQ(edit("Edit3")->text(), QStringLiteral("Hello"));
    EXPECT_EQ(edit("Edit4")->text(), QStringLiteral("0"));
    EXPECT_EQ(m_dialogs->lastMessage(), cp1251("Конец файла!"));
}

TEST_F(TForm7Run, SendingButtonsAreDisabledDuringARunAndRestoredAfter)
{
    openScript(writeScript("list.txt", {"0F", "10"}));
    std::vector<bool> liveDuringRun;
    duringEachCommandLine([&] {
        for (const char* name : {"Button2", "Button5", "Button6", "Button8", "Button9", "Button11"})
            liveDuringRun.push_back(button(name)->isEnabled());
    });

    button("Button6")->click();

    ASSERT_FALSE(liveDuringRun.empty());
    EXPECT_EQ(std::count(liveDuringRun.begin(), liveDuringRun.end(), true), 0);
    for (const char* name :
         {"Button2", "Button5", "Button6", "Button7", "Button8", "Button9", "Button11"})
        EXPECT_TRUE(button(name)->isEnabled()) << name;
}

TEST_F(TForm7Run, ASecondRunCannotStartFromWithinARun)
{
    openScript(writeScript("list.txt", {"0F", "10"}));
    duringEachCommandLine([&] { button("Button6")->click(); });

    button("Button6")->click();

    EXPECT_EQ(handledCommands(), (std::vector<int>{0x0F, 0x10}));
}

TEST_F(TForm7Run, ExitDuringACommandListRunStopsItAfterTheCurrentCommand)
{
    openScript(writeScript("list.txt", {"0F", "10", "11"}));
    m_form->show();
    duringEachCommandLine([&] { button("Button1")->click(); });

    button("Button6")->click();

    EXPECT_EQ(handledCommands(), std::vector<int>{0x0F});
    EXPECT_FALSE(m_form->isVisible());
}

TEST_F(TForm7Run, ActivationDuringARunKeepsItsStopRequestAndFile)
{
    openScript(writeScript("list.txt", {"0F", "10", "11"}));
    bool firstLine = true;
    duringEachCommandLine([&] {
        if (!firstLine)
            return;
        firstLine = false;
        button("Button7")->click();
        m_form->FormActivate(); // e.g. back from a message box or the variables window
    });

    button("Button6")->click();

    EXPECT_EQ(handledCommands(), std::vector<int>{0x0F});
    EXPECT_EQ(edit("Edit4")->text(), QStringLiteral("1"));
}

TEST_F(TForm7Run, ResumeContinuesAtTheLineNumberInTheBox)
{
    openScript(writeScript("list.txt", {"0F", "21       Data", "10"}));
    edit("Edit4")->setText(QStringLiteral("1"));

    button("Button8")->click();

    ASSERT_EQ(first().handledRequests().size(), 2U);
    EXPECT_EQ(first().handledRequests()[0].command, 0x21);
    EXPECT_EQ(first().handledRequests()[0].data, "Data");
    EXPECT_EQ(first().handledRequests()[1].command, 0x10);
    EXPECT_EQ(edit("Edit4")->text(), QStringLiteral("0"));
}

TEST_F(TForm7Run, StepExecutesOneLine)
{
    openScript(writeScript("list.txt", {"0F", "10"}));

    button("Button11")->click();

    EXPECT_EQ(handledCommands(), std::vector<int>{0x0F});
    EXPECT_EQ(edit("Edit4")->text(), QStringLiteral("1"));
}

TEST_F(TForm7Run, DeclaredVariablesFillTheGridAndLockStopResumeStep)
{
    openScript(writeScript("vars.txt", {"%DeclareBeg", "%New i", "%New s", "%DeclareEnd",
                                        "%Set i = \"5\"", "%Print i"}));

    button("Button6")->click();

    EXPECT_EQ(m_variables->cell(1, 0), QStringLiteral("1"));
    EXPECT_EQ(m_variables->cell(1, 1), QStringLiteral("i"));
    EXPECT_EQ(m_variables->cell(1, 2), QStringLiteral("5"));
    EXPECT_EQ(m_variables->cell(2, 1), QStringLiteral("s"));
    EXPECT_EQ(memoLines().last(), QStringLiteral(";i=5"));
    EXPECT_FALSE(button("Button7")->isEnabled());
    EXPECT_FALSE(button("Button8")->isEnabled());
    EXPECT_FALSE(button("Button11")->isEnabled());
    EXPECT_TRUE(button("Button6")->isEnabled());

    button("Button10")->click();
    EXPECT_EQ(m_variables->cell(3, 0), QStringLiteral("3"));
    m_variables->close();

    // A second run adds rows again; nothing is cleared.
    const int rowsAfterFirstRun = m_variables->rowCount();
    button("Button6")->click();
    EXPECT_EQ(m_variables->rowCount(), rowsAfterFirstRun + 2);
    EXPECT_FALSE(button("Button7")->isEnabled());
}

TEST_F(TForm7Run, OpeningAFileForgetsTheVariables)
{
    openScript(writeScript("vars.txt", {"%DeclareBeg", "%New i", "%DeclareEnd"}));
    button("Button6")->click();
    ASSERT_EQ(m_form->interpreter().variableCount(), 1);

    openScript(writeScript("other.txt", {"0F"}));

    EXPECT_EQ(m_form->interpreter().variableCount(), 0);
    EXPECT_EQ(m_form->interpreter().scriptPath(), m_form->scriptFile());
}

TEST_F(TForm7Run, AMissingScriptFileEndsTheRunWithAMessage)
{
    openScript((m_dir / "missing.txt").string());

    button("Button6")->click();

    EXPECT_FALSE(m_dialogs->messages().empty());
    EXPECT_TRUE(first().handledRequests().empty());
    EXPECT_TRUE(button("Button6")->isEnabled());
}

} // namespace
} // namespace quorvex::ui::testing
