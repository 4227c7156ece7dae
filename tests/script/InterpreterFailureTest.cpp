// How a run ends on each kind of script error: the message, the raw line in the memo, the
// phase, and whether the file is closed (orderly) or left open (at once).
#include "InterpreterTestFixture.h"

namespace quorvex::script::testing {
namespace {

struct FailureCase {
    const char* name;
    std::vector<std::string> lines;
    std::string message;
    bool rawLineInMemo;
    bool phaseFailed;
    bool orderly;
};

std::ostream& operator<<(std::ostream& out, const FailureCase& c)
{
    return out << c.name;
}

const std::vector<std::string> kSection{"%DeclareBeg", "%New v", "%New s", "%DeclareEnd",
                                        "%Set s = \"abc\""};

std::vector<std::string> inSection(std::vector<std::string> body)
{
    std::vector<std::string> lines = kSection;
    lines.insert(lines.end(), body.begin(), body.end());
    return lines;
}

const char* const kNewOutside =
    "Ошибка - ошибка в описаниях. Оператор New расположен вне секции описаний.";

const FailureCase kCases[] = {
    {"SecondDeclareBeg",
     {"%DeclareBeg", "%DeclareBeg"},
     "Ошибка - ошибка в описаниях. DeclareBeg уже был ранее.",
     false,
     true,
     true},
    {"NewOutsideSection", {"%New a"}, kNewOutside, false, true, true},
    {"WhileBeforeNew", {"%DeclareBeg", "%While (1 < 2)"}, kNewOutside, false, true, true},
    {"OperWithoutDeclarations", {"%Oper (1, 2, 0, x)"}, kNewOutside, false, true, true},
    {"IfBeforeNew",
     {"%DeclareBeg", "%If (1 < 2)"},
     "Ошибка - ошибка в If-Then. Оператор New расположен вне секции описаний.",
     false,
     true,
     true},
    {"PrintBeforeNew", {"%Print x"}, "Ошибка - ошибка в описаниях.", false, true, true},
    {"DeclareEndWithoutBeg",
     {"%DeclareEnd"},
     "Ошибка - ошибка в описаниях. Ошибочное расположение DeclareEnd.",
     false,
     true,
     true},
    {"SetBeforeDeclareEnd",
     {"%DeclareBeg", "%New a", "%Set a = \"1\""},
     "Ошибка - ошибка в описаниях. Секция определений неверна.",
     false,
     true,
     true},
    {"SetWithoutEquals", inSection({"%Set v \"1\""}), "Ошибка - ошибка в операторе Set.", false,
     true, true},
    {"SetWithTwoEquals", inSection({"%Set v = \"a=b\""}), "Ошибка - ошибка в операторе Set.", false,
     true, true},
    {"DeclarationRightAfterDeclareEnd",
     {"%DeclareBeg", "%New a", "%DeclareEnd", "%New b"},
     "Ошибка - неверное расположение описания данных.",
     false,
     false,
     true},
    {"WhileWithoutOperator", inSection({"%While (v = 1)"}),
     "Некорректная операция в операторе While - ошибка!", true, false, false},
    {"IfWithSingleEquals", inSection({"%If (a = b)"}),
     "Некорректная операция в операторе If - ошибка!", true, false, false},
    {"NegativeLiteralOperand", inSection({"%If (-1 < v)"}), "Ошибка переменной!", true, false,
     false},
    {"BadRunCommandArgument", inSection({"%RunCommand (38, 5, bad)"}), "Ошибка первого параметра!",
     true, false, false},
    {"BadFirstOperOperand", inSection({"%Oper (bad, 1, 0, v)"}), "Ошибка первого параметра!", true,
     false, false},
    {"BadSecondOperOperand", inSection({"%Oper (1, bad, 0, v)"}), "Ошибка второго параметра!", true,
     false, false},
    {"OperCodeNotDigits", inSection({"%Oper (1, 2, x, v)"}), "Ошибка операции!", true, false,
     false},
    {"StringInArithmetic", inSection({"%Oper (\"abc\", 1, 0, v)"}), "Ошибка операции!", true, false,
     false},
    {"OperResultNotVariable", inSection({"%Oper (1, 2, 0, nothing)"}),
     "Ошибка результата операции!", true, false, false},
    {"TextThatIsNoNumber", inSection({"%Oper (s, 1, 0, v)"}), "Ошибка преобразования в число: abc",
     true, false, false},
    {"ConditionOnText", inSection({"%While (s < 1)"}), "Ошибка преобразования в число: abc", true,
     false, false},
    {"DivisionByZero", inSection({"%Oper (7, 0, 3, v)"}), "Деление на ноль", true, false, false},
    {"RemainderByZero", inSection({"%Oper (7, 0, 4, v)"}), "Деление на ноль", true, false, false},
    {"BadDelay", {"%Delay abc"}, "Ошибка преобразования в число: abc", true, false, false},
    {"BadRunCommandCode", inSection({"%RunCommand (4A)"}), "Ошибка преобразования в число: 4A",
     true, false, false},
    {"CommandCodeOutOfRange", inSection({"%RunCommand (300)"}),
     link::refusalMessage(link::Refusal::CodeOutOfRange) + " Строка 6: %RunCommand (300)", false,
     false, true},
    {"CommandDataTooLong", inSection({"21" + std::string(190, 'x')}),
     link::refusalMessage(link::Refusal::DataTooLong) + " Строка 6: 21" + std::string(190, 'x'),
     false, false, true},
    {"EndWhileWithoutWhile", inSection({"%EndWhile"}),
     "Ошибка - EndWhile без While. Строка 6: %EndWhile", false, false, false},
    {"ElseWithoutIf", inSection({"%Else"}), "Ошибка - Else без If. Строка 6: %Else", false, false,
     false},
    {"EndIfWithoutIf", inSection({"+", "%EndIf"}), "Ошибка - EndIf без If. Строка 7: %EndIf", false,
     false, false},
};

class FailureTest : public InterpreterFixture, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FailureTest, EndsTheRunWithItsMessage)
{
    const FailureCase& c = GetParam();

    const RunEnd end = run(c.lines);

    EXPECT_EQ(end, RunEnd::Failed);
    EXPECT_EQ(host.messages(), std::vector<std::string>{c.message});
    EXPECT_EQ(lastMemoLine() == c.lines.back(), c.rawLineInMemo);
    EXPECT_EQ(interpreter.phase() == RunPhase::Failed, c.phaseFailed);
    EXPECT_EQ(interpreter.scriptFileOpen(), !c.orderly);
    EXPECT_EQ(host.lineNumberText(), std::to_string(c.lines.size()));
    EXPECT_EQ(first().handledRequests().size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Table, FailureTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

using CapacityTest = InterpreterFixture;

TEST_F(CapacityTest, HundredVariablesFitAndTheHundredAndFirstEndsTheRun)
{
    std::vector<std::string> lines{"%DeclareBeg"};
    for (int i = 1; i <= 101; ++i)
        lines.push_back("%New v" + std::to_string(i));

    run(lines);

    EXPECT_EQ(interpreter.variableCount(), 100);
    EXPECT_EQ(lastMessage(), "Ошибка - больше 100 переменных. Строка 102: %New v101");
}

TEST_F(CapacityTest, RunCommandTakesTwentyArgumentsButNotTwentyOne)
{
    std::string twenty = "%RunCommand (74";
    for (int i = 0; i < 20; ++i)
        twenty += ", " + std::to_string(i);

    run(inSection({twenty + ")", twenty + ", 20)"}));

    ASSERT_FALSE(first().handledRequests().empty());
    EXPECT_EQ(first().handledRequests().back().data,
              "0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19");
    EXPECT_EQ(lastMessage().rfind("Ошибка - больше 20 параметров в RunCommand. Строка 7", 0), 0u);
}

TEST_F(CapacityTest, RepeatedCharactersBeyondTheLimitEndTheRunInsteadOfExhaustingMemory)
{
    run(inSection({"%Oper (65, 2000000000, 8, v)"}));

    EXPECT_EQ(lastMessage().rfind("Ошибка - результат операции длиннее", 0), 0u);
    EXPECT_EQ(valueOf("v"), "");
}

TEST_F(CapacityTest, UnopenableScriptNamesTheFileAndChangesNothing)
{
    host.setLineNumberText("7");
    interpreter.setScriptPath("/nonexistent/dir/script.txt");

    EXPECT_EQ(interpreter.Run(), RunEnd::OpenFailed);
    EXPECT_EQ(interpreter.Resume(), RunEnd::OpenFailed);

    EXPECT_EQ(
        host.messages(),
        (std::vector<std::string>{"Невозможно открыть файл скрипта: /nonexistent/dir/script.txt",
                                  "Невозможно открыть файл скрипта: /nonexistent/dir/script.txt"}));
    EXPECT_EQ(host.lineNumberText(), "7");
}

} // namespace
} // namespace quorvex::script::testing
