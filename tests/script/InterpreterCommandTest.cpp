// Command lines, RunCommand, comments, resume and step, stop, re-entry and two registrars.
#include "InterpreterTestFixture.h"

#include "link/Link.h"

namespace quorvex::script::testing {
namespace {

using CommandTest = InterpreterFixture;

std::vector<std::pair<int, std::string>> requestsOf(const emulator::Registrar& registrar)
{
    std::vector<std::pair<int, std::string>> requests;
    for (const emulator::HandledRequest& request : registrar.handledRequests())
        requests.emplace_back(request.command, request.data);
    return requests;
}

using Requests = std::vector<std::pair<int, std::string>>;

TEST_F(CommandTest, CommandLinesSendCodeAndDataAndShowTheExchange)
{
    run({"0F", "  21Hello  ", "   ", "2"});

    EXPECT_EQ(requestsOf(first()), (Requests{{0x0F, ""}, {0x21, "Hello"}, {0x21, ""}}));
    ASSERT_EQ(host.memo().size(), 6u);
    EXPECT_EQ(host.memo()[0].rfind("PC: ", 0), 0u);
    EXPECT_EQ(host.memo()[1].rfind("FP: ", 0), 0u);
    EXPECT_EQ(host.statusText().size(), 18u);
    EXPECT_EQ(host.codeText(), "2");
    EXPECT_EQ(host.messages(), std::vector<std::string>{"Конец файла!"});
}

TEST_F(CommandTest, NoOutputSuppressesExchangeLinesAndTurnsCommentsIntoCommands)
{
    host.setNoOutput(true);

    run({"+1Note", "0F"});

    EXPECT_TRUE(host.memo().empty());
    EXPECT_EQ(host.statusText(), "");
    // '+' is no hexadecimal digit: the code becomes 0.
    EXPECT_EQ(requestsOf(first()), (Requests{{0x00, "Note"}, {0x0F, ""}}));
    EXPECT_EQ(host.messages().front(), "Неверный код команды!");
}

TEST_F(CommandTest, CommentsAndIgnoredLinesSendNothing)
{
    run({"+ note", "; 0F", "xSet i = \"1\""});

    EXPECT_EQ(host.memo().front(), "Комментарий::  note!!!");
    // «xSet…» is a command line: 'x' is no hexadecimal digit, so the code stays 0.
    EXPECT_EQ(requestsOf(first()), (Requests{{0x00, "et i = \"1\""}}));
    EXPECT_EQ(host.messages().front(), "Неверный код команды!");
}

TEST_F(CommandTest, OverlongLineIsReadAsSeveralLines)
{
    run({";" + std::string(298, 'x') + "0Fdata"});

    EXPECT_EQ(requestsOf(first()), (Requests{{0x0F, "data"}}));
    EXPECT_EQ(interpreter.lineCounter(), 2);
}

TEST_F(CommandTest, RunCommandJoinsItsArgumentsAndWritesNothing)
{
    run(declaring({"v", "q"}, {"%Set v = \"7\"", "%Set q = \"\"x\"\"", "%RunCommand (74)",
                               "%RunCommand (38, \"text\", 5)", "%RunCommand ( 48 , v, q ,  )"}));

    EXPECT_EQ(requestsOf(first()), (Requests{{74, ""}, {38, "text,5"}, {48, "7,x,"}}));
    EXPECT_TRUE(host.memo().empty());
    EXPECT_EQ(host.codeText(), "");
    EXPECT_EQ(host.statusText(), "");
}

TEST_F(CommandTest, TimeOutOfTheRegistrarEndsTheRunOrderly)
{
    first().faults().silent = true;

    const RunEnd end = run({"0F", "21"});

    EXPECT_EQ(end, RunEnd::TimedOut);
    EXPECT_EQ(host.messages().back(), "Ошибка выполнения команды. Таймаут");
    EXPECT_EQ(host.lineNumberText(), "1");
    EXPECT_FALSE(interpreter.scriptFileOpen());
}

TEST_F(CommandTest, ResumeSkipsCountedLinesAndTakesDataFromTheTenthCharacter)
{
    interpreter.setScriptPath(writeTextFile(
        "resume.txt", joinLines({"0F", "21Hello", "; skipped", "+ remark", "4A       DATA", "x"})));
    host.setLineNumberText("1");

    const RunEnd end = interpreter.Resume();

    EXPECT_EQ(end, RunEnd::EndOfFile);
    EXPECT_EQ(requestsOf(first()), (Requests{{0x21, ""}, {0x4A, "DATA"}}));
    EXPECT_EQ(host.memo()[2], "Комментарий::  remark!!!");
    EXPECT_EQ(host.lineNumberText(), "0");
    EXPECT_FALSE(interpreter.scriptFileOpen());
}

TEST_F(CommandTest, StepExecutesOneLinePassingOverShortOnes)
{
    interpreter.setScriptPath(writeTextFile("step.txt", joinLines({"0F", "", "x", "21", ";"})));
    host.setLineNumberText("1");

    EXPECT_EQ(interpreter.Step(), RunEnd::StepDone);
    EXPECT_EQ(requestsOf(first()), (Requests{{0x21, ""}}));
    EXPECT_EQ(host.lineNumberText(), "4");

    EXPECT_EQ(interpreter.Step(), RunEnd::StepDone); // the ';' line ends the step
    EXPECT_EQ(interpreter.Step(), RunEnd::EndOfFile);
    EXPECT_EQ(host.lineNumberText(), "0");
    EXPECT_EQ(first().handledRequests().size(), 1u);
}

TEST_F(CommandTest, ResumeAndStepEndOrderlyOnATimeOut)
{
    interpreter.setScriptPath(writeTextFile("silent.txt", joinLines({"0F", "21", "4A"})));
    first().faults().silent = true;

    EXPECT_EQ(interpreter.Resume(), RunEnd::TimedOut);
    EXPECT_EQ(host.lineNumberText(), "1");
    EXPECT_FALSE(interpreter.scriptFileOpen());
    EXPECT_EQ(interpreter.Step(), RunEnd::TimedOut);
    EXPECT_EQ(host.lineNumberText(), "2");
    EXPECT_FALSE(interpreter.scriptFileOpen());

    EXPECT_EQ(host.messages(), (std::vector<std::string>{"Ошибка выполнения команды. Таймаут",
                                                         "Ошибка выполнения команды. Таймаут"}));
    EXPECT_TRUE(host.memo().empty());
}

TEST_F(CommandTest, ResumeAndStepWithoutOutputSendPlusLinesAndWriteNoExchange)
{
    interpreter.setScriptPath(writeTextFile("quiet.txt", joinLines({"+F       note", "4A"})));
    host.setNoOutput(true);

    EXPECT_EQ(interpreter.Step(), RunEnd::StepDone);
    host.setLineNumberText("0");
    EXPECT_EQ(interpreter.Resume(), RunEnd::EndOfFile);

    // '+' is no hexadecimal digit: the code becomes 0.
    EXPECT_EQ(requestsOf(first()), (Requests{{0x00, "note"}, {0x00, "note"}, {0x4A, ""}}));
    EXPECT_TRUE(host.memo().empty());
    EXPECT_EQ(host.statusText(), "00 00 00 00 00 3A ");
}

TEST_F(CommandTest, StepOnACommentShowsItAndSendsNothing)
{
    interpreter.setScriptPath(writeTextFile("comment.txt", joinLines({"+ remark", "0F"})));

    EXPECT_EQ(interpreter.Step(), RunEnd::StepDone);

    EXPECT_EQ(host.memo(), std::vector<std::string>{"Комментарий::  remark!!!"});
    EXPECT_TRUE(first().handledRequests().empty());
    EXPECT_EQ(host.lineNumberText(), "1");
}

TEST_F(CommandTest, NoRepaintSkipsTheFullRepaintsOfRunsAndResumes)
{
    interpreter.setScriptPath(writeTextFile("repaint.txt", joinLines({"0F", "21"})));
    struct Case {
        bool noRepaint;
        int repaints; // after each command line and at the end of the file, for both
    };
    for (const Case c : {Case{false, 6}, Case{true, 0}}) {
        host = ScriptConsoleHost{};
        host.setNoRepaint(c.noRepaint);

        EXPECT_EQ(interpreter.Run(), RunEnd::EndOfFile);
        EXPECT_EQ(interpreter.Resume(), RunEnd::EndOfFile);

        EXPECT_EQ(host.repaints(), c.repaints) << c.noRepaint;
    }
}

TEST_F(CommandTest, ResumeAndStepNameACommandThatWasNeverSent)
{
    const std::string overlong = "21       " + std::string(190, 'x');
    interpreter.setScriptPath(writeTextFile("refused.txt", joinLines({"0F", overlong, "0F"})));
    const std::string message =
        link::refusalMessage(link::Refusal::DataTooLong) + " Строка 2: " + overlong;

    host.setLineNumberText("1");
    EXPECT_EQ(interpreter.Resume(), RunEnd::Failed);
    host.setLineNumberText("1");
    EXPECT_EQ(interpreter.Step(), RunEnd::Failed);

    EXPECT_EQ(host.messages(), (std::vector<std::string>{message, message}));
    EXPECT_TRUE(first().handledRequests().empty());
    EXPECT_EQ(host.lineNumberText(), "2");
}

TEST_F(CommandTest, ResumeRefusesALineNumberThatIsNoNumber)
{
    interpreter.setScriptPath(writeTextFile("bad.txt", "0F\n"));
    host.setLineNumberText("abc");

    EXPECT_EQ(interpreter.Resume(), RunEnd::Failed);
    EXPECT_EQ(host.messages(), std::vector<std::string>{"Ошибка преобразования в число: abc"});
    EXPECT_TRUE(first().handledRequests().empty());
}

TEST_F(CommandTest, StopEndsTheRunAfterTheCurrentCommandAndDoesNotAffectTheNextRun)
{
    host.setOnProcessMessages([this] {
        if (first().handledRequests().size() == 1)
            interpreter.RequestStop();
    });
    const std::vector<std::string> script{"0F", "21", "4A"};

    EXPECT_EQ(run(script), RunEnd::Stopped);
    EXPECT_EQ(first().handledRequests().size(), 1u);
    EXPECT_EQ(host.lineNumberText(), "1");

    host.setOnProcessMessages({});
    EXPECT_EQ(run(script), RunEnd::EndOfFile);
    EXPECT_EQ(first().handledRequests().size(), 4u);
}

TEST_F(CommandTest, StopEndsAResumeAfterItsNextCommand)
{
    interpreter.setScriptPath(writeTextFile("resume_stop.txt", joinLines({"0F", "21", "4A"})));
    host.setOnProcessMessages([this] { interpreter.RequestStop(); });

    EXPECT_EQ(interpreter.Resume(), RunEnd::Stopped);
    EXPECT_EQ(first().handledRequests().size(), 1u);
}

TEST_F(CommandTest, AbandonEndsAScriptLanguageRunThatIgnoresStopAndNotTheNextRun)
{
    const std::vector<std::string> script{
        "%DeclareBeg",    "%New i",           "%DeclareEnd",        "%Set i = \"0\"",
        "%While (i < 5)", "%RunCommand (74)", "%Oper (i, 1, 0, i)", "%EndWhile"};
    host.setOnProcessMessages([this] {
        if (first().handledRequests().size() == 2) {
            interpreter.RequestStop();
            interpreter.abandonRun();
        }
    });

    EXPECT_EQ(run(script), RunEnd::Stopped);
    EXPECT_EQ(first().handledRequests().size(), 2u);

    host.setOnProcessMessages({});
    interpreter.abandonRun(); // nothing in progress: no effect on the next run
    EXPECT_EQ(run(script), RunEnd::EndOfFile);
    EXPECT_EQ(first().handledRequests().size(), 7u);
}

TEST_F(CommandTest, NothingStartsWhileARunIsInProgress)
{
    std::vector<RunEnd> nested;
    host.setOnProcessMessages([&] {
        if (nested.empty()) {
            nested.push_back(interpreter.Run());
            nested.push_back(interpreter.Resume());
            nested.push_back(interpreter.Step());
            interpreter.resetVariables();
            interpreter.closeScriptFileIfIdle();
        }
    });

    const RunEnd end = run(declaring({"i"}, {"%Set i = \"2\"", "%Print i"}));

    EXPECT_EQ(nested, (std::vector<RunEnd>{RunEnd::Refused, RunEnd::Refused, RunEnd::Refused}));
    EXPECT_EQ(end, RunEnd::EndOfFile);
    EXPECT_EQ(host.memo(), std::vector<std::string>{";i=2"});
    EXPECT_FALSE(interpreter.inProgress());
}

TEST_F(CommandTest, SecondRegistrarGetsEveryCommandOnlyWhenEnabledAndConnected)
{
    run(declaring({}, {"%EnableSecond", "%RunCommand (74)"}));
    EXPECT_FALSE(interpreter.secondSwitch());

    connectSecond();
    run(declaring({}, {"%RunCommand (74)", "%EnableSecond", "%RunCommand (75)", "0F",
                       "%DisableSecond", "21"}));

    EXPECT_EQ(requestsOf(second()), (Requests{{75, ""}, {0x0F, ""}}));
    EXPECT_FALSE(interpreter.secondSwitch());
    EXPECT_FALSE(link::processLink().secondPortSelected());
}

TEST_F(CommandTest, ValueMismatchIsReportedAndTheRunGoesOn)
{
    connectSecond();
    first().setAnswerData(74, "1,2,3");
    second().setAnswerData(74, "1,2,4");

    const RunEnd end = run(declaring({}, {"%EnableSecond", "%RunCommand (74)", "0F"}));

    EXPECT_EQ(end, RunEnd::EndOfFile);
    EXPECT_EQ(report.lines.size(), 5u); // the report's lines are ExecuteOnBoth's test
}

TEST_F(CommandTest, FieldCountMismatchEndsTheRunAtOnce)
{
    connectSecond();
    first().setAnswerData(74, "1,2");
    second().setAnswerData(74, "1,2,3");

    const RunEnd end = run({"%DeclareBeg", "%DeclareEnd", "%EnableSecond", "4A", "0F"});

    EXPECT_EQ(end, RunEnd::CountMismatch);
    EXPECT_EQ(report.lines[1], "Код команды: 4Ah(74)");
    EXPECT_EQ(report.lines[2], "Не совпадает количество параметров результата: ");
    EXPECT_EQ(requestsOf(first()), (Requests{{74, ""}}));
    EXPECT_TRUE(host.memo().empty()); // the run ended before the exchange lines
    EXPECT_TRUE(interpreter.scriptFileOpen());
    EXPECT_TRUE(host.messages().empty());

    interpreter.closeScriptFileIfIdle();
    EXPECT_FALSE(interpreter.scriptFileOpen());
}

TEST_F(CommandTest, SecondRegistrarTimeOutEndsTheRunAtOnce)
{
    connectSecond();
    second().faults().silent = true;

    const RunEnd end = run({"%DeclareBeg", "%DeclareEnd", "%EnableSecond", "0F", "21"});

    EXPECT_EQ(end, RunEnd::TimedOut);
    EXPECT_EQ(host.messages(), std::vector<std::string>{"Ошибка выполнения команды. Таймаут"});
    EXPECT_TRUE(interpreter.scriptFileOpen());
    EXPECT_EQ(first().handledRequests().size(), 1u);
}

} // namespace
} // namespace quorvex::script::testing
