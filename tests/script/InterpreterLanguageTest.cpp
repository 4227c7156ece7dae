// Statements of the script language: declarations, Set, Print, Oper, While, If, Delay.
#include "InterpreterTestFixture.h"

namespace quorvex::script::testing {
namespace {

using LanguageTest = InterpreterFixture;

TEST_F(LanguageTest, WhileLoopRunsBodyThreeTimesAndPrintsFinalValue)
{
    const RunEnd end = run({"%DeclareBeg", "%New i", "%DeclareEnd", "%Set i = \"0\"",
                            "%While (i < 3)", "%Oper (i, 1, 0, i)", "%EndWhile", "%Print i"});

    EXPECT_EQ(end, RunEnd::EndOfFile);
    EXPECT_EQ(host.memo(), std::vector<std::string>{";i=3"});
    EXPECT_EQ(host.messages(), std::vector<std::string>{"Конец файла!"});
    EXPECT_EQ(host.lineNumberText(), "0");
    EXPECT_FALSE(interpreter.scriptFileOpen());
}

TEST_F(LanguageTest, SetAssignsQuotedTextVariablesAndAnswerFieldsButNotBareNumbers)
{
    first().setAnswerData(0x4A, "11,22,33");

    run(declaring({"a", "b", "c", "d", "e"},
                  {"%Set a = 5", "%Set b = \"5\"", "%Set c = b", "%RunCommand (74)",
                   "%Set d = %Ret2", "%Set e = %Ret7"}));

    EXPECT_EQ(valueOf("a"), "");
    EXPECT_EQ(valueOf("b"), "5");
    EXPECT_EQ(valueOf("c"), "5");
    EXPECT_EQ(valueOf("d"), "33");
    EXPECT_EQ(valueOf("e"), ""); // beyond the answer's fields
    EXPECT_EQ(host.variableCell(2, 2), "5");
    EXPECT_EQ(host.variableCell(4, 2), "33");
    EXPECT_EQ(host.messages(), std::vector<std::string>{"Конец файла!"});
}

TEST_F(LanguageTest, DeclarationPrefixIsPartOfTheNameAndGridRowsAreFilled)
{
    const RunEnd end = run({"%DeclareBeg v", "%New x", "%Newest", "%DeclareEnd", "%Set x = \"1\""});

    EXPECT_EQ(end, RunEnd::Failed);
    ASSERT_EQ(interpreter.variableCount(), 2);
    EXPECT_EQ(interpreter.variables()[0].Name, "vx");
    EXPECT_EQ(interpreter.variables()[1].Name, "vest");
    EXPECT_EQ(host.variableRows(), 2);
    EXPECT_EQ(host.variableCell(2, 0), "2");
    EXPECT_EQ(host.variableCell(2, 1), "vest");
    EXPECT_EQ(lastMessage(), "Ошибка - присвоение несуществующей переменной.");
    EXPECT_EQ(interpreter.phase(), RunPhase::Failed);
}

TEST_F(LanguageTest, WhileFalseAtFirstRunsBodyOnceAndIsSkippedWhenMetAgain)
{
    run(declaring({"o", "n"}, {"%Set o = \"0\"", "%Set n = \"0\"", "%While (o < 3)",
                               "%Oper (o, 1, 0, o)", "%While (n > 100)", "%Oper (n, 1, 0, n)",
                               "%EndWhile", "%EndWhile", "%Print o", "%Print n"}));

    EXPECT_EQ(host.memo(), (std::vector<std::string>{";o=3", ";n=1"}));
}

TEST_F(LanguageTest, IfRunsThenBranchWhenTrueAndElseBranchWhenFalse)
{
    auto script = [](const char* value) {
        return declaring({"a", "t", "e"},
                         {std::string("%Set a = \"") + value + "\"", "%If (a > 1)", "%Then",
                          "%Print t", "%Else", "%Print e", "%EndIf", "%Print a"});
    };

    run(script("2"));
    EXPECT_EQ(host.memo(), (std::vector<std::string>{";t=", ";a=2"}));

    host.clearMemo();
    run(script("0"));
    EXPECT_EQ(host.memo(), (std::vector<std::string>{";e=", ";a=0"}));
}

TEST_F(LanguageTest, IfInsideLoopReusesItsBlockAndJumpsToKnownBranches)
{
    run(declaring({"i", "hit", "miss"},
                  {"%Set i = \"0\"", "%Set hit = \"0\"", "%Set miss = \"0\"", "%While (i < 4)",
                   "%If (i == 2)", "%Then", "%Oper (hit, 1, 0, hit)", "%Else",
                   "%Oper (miss, 1, 0, miss)", "%EndIf", "%Oper (i, 1, 0, i)", "%EndWhile",
                   "%Print hit", "%Print miss"}));

    EXPECT_EQ(host.memo(), (std::vector<std::string>{";hit=1", ";miss=3"}));
    EXPECT_EQ(lastMessage(), "Конец файла!");
}

TEST_F(LanguageTest, NestedIfWithElseKeepsEachBlockAtItsDepth)
{
    run(declaring({"i", "a", "b", "c"}, {"%Set i = \"0\"",
                                         "%Set a = \"0\"",
                                         "%Set b = \"0\"",
                                         "%Set c = \"0\"",
                                         "%While (i < 4)",
                                         "%If (i < 2)",
                                         "%Then",
                                         "%If (i == 0)",
                                         "%Then",
                                         "%Oper (a, 1, 0, a)",
                                         "%Else",
                                         "%Oper (b, 1, 0, b)",
                                         "%EndIf",
                                         "%Else",
                                         "%Oper (c, 1, 0, c)",
                                         "%EndIf",
                                         "%Oper (i, 1, 0, i)",
                                         "%EndWhile",
                                         "%Print a",
                                         "%Print b",
                                         "%Print c"}));

    EXPECT_EQ(host.memo(), (std::vector<std::string>{";a=1", ";b=1", ";c=2"}));
    EXPECT_EQ(host.messages(), std::vector<std::string>{"Конец файла!"});
}

TEST_F(LanguageTest, NestedWhileLoopsBothIterate)
{
    run(declaring({"i", "j", "total"},
                  {"%Set i = \"0\"", "%Set total = \"0\"", "%While (i < 3)", "%Set j = \"0\"",
                   "%While (j < 2)", "%Oper (total, 1, 0, total)", "%Oper (j, 1, 0, j)",
                   "%EndWhile", "%Oper (i, 1, 0, i)", "%EndWhile", "%Print total", "%Print i"}));

    EXPECT_EQ(host.memo(), (std::vector<std::string>{";total=6", ";i=3"}));
}

TEST_F(LanguageTest, DeclarationClosedMarkLastsUntilAFlowStatement)
{
    const std::string misplaced = "Ошибка - неверное расположение описания данных.";
    const std::string outside =
        "Ошибка - ошибка в описаниях. Оператор New расположен вне секции описаний.";
    struct Case {
        const char* line;
        const std::string& message; // of the «%New b» that follows
    };
    const Case cases[] = {
        {"%Set a = \"1\"", misplaced},   {"%Delay 1", misplaced},       {"0F", misplaced},
        {"+ note", misplaced},           {"; note", misplaced},         {"%Print a", outside},
        {"%Oper (1, 2, 0, a)", outside}, {"%RunCommand (74)", outside}, {"%EnableSecond", outside},
        {"%DisableSecond", outside},     {"%If (1 < 2)", outside},      {"%While (1 > 2)", outside},
    };

    for (const Case& c : cases) {
        host = ScriptConsoleHost{};
        run({"%DeclareBeg", "%New a", "%DeclareEnd", c.line, "%New b"});
        EXPECT_EQ(lastMessage(), c.message) << c.line;
    }
}

TEST_F(LanguageTest, PrintInsideTheDeclarationSectionClosesIt)
{
    const RunEnd end = run({"%DeclareBeg", "%New a", "%Print a", "%New b"});

    EXPECT_EQ(end, RunEnd::Failed);
    EXPECT_EQ(host.memo(), std::vector<std::string>{";a="});
    EXPECT_EQ(lastMessage(),
              "Ошибка - ошибка в описаниях. Оператор New расположен вне секции описаний.");
}

TEST_F(LanguageTest, FalseIfWithoutElseSearchesToTheEndOfTheFile)
{
    run(declaring({"a"}, {"%If (1 > 2)", "%Then", "%Print a", "%EndIf", "%Print a"}));

    EXPECT_TRUE(host.memo().empty());
    EXPECT_EQ(host.messages(), std::vector<std::string>{"Конец файла!"});
}

TEST_F(LanguageTest, ComparisonOperatorsAtTheBoundary)
{
    struct Case {
        const char* condition;
        const char* memo;
    };
    const Case cases[] = {{"(5 > 5)", ";f="},
                          {"(5 >= 5)", ";t="},
                          {"(5 <= 4)", ";f="},
                          {"(4 < 5)", ";t="},
                          {"(5 == 5)", ";t="}};
    for (const Case& c : cases) {
        host.clearMemo();
        run(declaring({"t", "f"}, {std::string("%If ") + c.condition, "%Then", "%Print t", "%Else",
                                   "%Print f", "%EndIf"}));
        EXPECT_EQ(host.memo(), std::vector<std::string>{c.memo}) << c.condition;
    }
}

TEST_F(LanguageTest, StringOperationsAndEqualityThroughOper)
{
    run(declaring({"r", "q", "eq", "len", "keep"},
                  {"%Set q = \"\"quoted\"\"", "%Set keep = \"old\"", "%Oper (\"abc\", \"d\", 5, r)",
                   "%Oper (q, 12, 5, q)", "%Oper (r, \"abcd\", 10, eq)", "%Oper (r, 0, 9, len)",
                   "%Oper (1, 2, 12, keep)"}));

    EXPECT_EQ(valueOf("r"), "abcd");
    EXPECT_EQ(valueOf("q"), "quoted12"); // a variable holding quotes counts as a string
    EXPECT_EQ(valueOf("eq"), "1");
    EXPECT_EQ(valueOf("len"), "4");
    EXPECT_EQ(valueOf("keep"), "old");
    EXPECT_EQ(lastMessage(), "Конец файла!");
    EXPECT_EQ(host.variableCell(1, 2), ""); // Oper leaves the grid alone
}

TEST_F(LanguageTest, DelaySleepsOnTheProcessClock)
{
    run(declaring({}, {"%Delay 500", "%Delay   20  "}));

    EXPECT_EQ(clock.sleeps, (std::vector<int>{500, 20}));
}

TEST_F(LanguageTest, PrintShowsAnswerFieldsAndEveryVariableOfTheName)
{
    first().setAnswerData(0x4A, "7,8");

    run({"%DeclareBeg", "%New x", "%New x", "%DeclareEnd", "%Set x = \"1\"", "%RunCommand (74)",
         "%Print %Ret1", "%Print x"});

    EXPECT_EQ(host.memo(), (std::vector<std::string>{";%Ret1=8", ";x=1", ";x="}));
}

TEST_F(LanguageTest, ScriptEndingAtDeclareEndCanBeRunAgain)
{
    const std::vector<std::string> script{"%DeclareBeg", "%New a", "%DeclareEnd"};

    run(script);
    run(script);

    EXPECT_EQ(host.messages(), (std::vector<std::string>{"Конец файла!", "Конец файла!"}));
}

TEST_F(LanguageTest, DeclareBegDisablesStopResumeAndStepUntilTheNextRun)
{
    run({"%DeclareBeg", "%DeclareEnd"});
    EXPECT_FALSE(host.stopResumeStepEnabled());

    run({"0F"});
    EXPECT_TRUE(host.stopResumeStepEnabled());
}

TEST_F(LanguageTest, KeywordsOfTheSecondGroupWorkAfterAnyFirstCharacter)
{
    run(declaring({"i"}, {"%Set i = \"1\"", "xPrint i", ";Print i"}));

    EXPECT_EQ(host.memo(), (std::vector<std::string>{";i=1", ";i=1"}));

    // Outside a declaration section «xWhile…» is refused as a While statement, not sent.
    run({"xWhile (i < 3)"});
    EXPECT_EQ(lastMessage(),
              "Ошибка - ошибка в описаниях. Оператор New расположен вне секции описаний.");
    EXPECT_TRUE(first().handledRequests().empty());
}

} // namespace
} // namespace quorvex::script::testing
