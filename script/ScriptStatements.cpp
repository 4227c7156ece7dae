// Declarations, Delay, Set, Print, the second-registrar switch and RunCommand.
#include "script/Interpreter.h"

#include "platform/NumberText.h"
#include "script/RunEnding.h"

#include "link/ResultState.h"
#include "link/Session.h"
#include "platform/Clock.h"
#include "script/TextFunctions.h"

namespace quorvex::script {

namespace {

const char* const kDeclarationMisplaced = "Ошибка - неверное расположение описания данных.";
const char* const kNewOutsideSection =
    "Ошибка - ошибка в описаниях. Оператор New расположен вне секции описаний.";
const char* const kIfOutsideSection =
    "Ошибка - ошибка в If-Then. Оператор New расположен вне секции описаний.";
const char* const kPrintOutsideSection = "Ошибка - ошибка в описаниях.";
const char* const kFirstParameterError = "Ошибка первого параметра!";

bool isDeclaration(LineKind kind)
{
    return kind == LineKind::DeclareBeg || kind == LineKind::New || kind == LineKind::DeclareEnd;
}

std::string withoutQuotes(const std::string& quoted)
{
    return quoted.size() >= 2 ? quoted.substr(1, quoted.size() - 2) : std::string();
}

} // namespace

void Interpreter::executeStatement(const ClassifiedLine& line)
{
    if (m_declarationClosed && isDeclaration(line.kind))
        endWithMessage(kDeclarationMisplaced, RunEnd::Failed, true);
    switch (line.kind) {
    case LineKind::DeclareBeg:
        declareBegin(line.afterKeyword);
        return;
    case LineKind::New:
        declareNew(line.afterKeyword);
        return;
    case LineKind::DeclareEnd:
        declareEnd();
        return;
    case LineKind::Delay:
        delay();
        return;
    case LineKind::Set:
        assign();
        return;
    case LineKind::EnableSecond:
        m_declarationClosed = false;
        if (link::session().secondConnected)
            m_secondSwitch = true;
        return;
    case LineKind::DisableSecond:
        m_declarationClosed = false;
        m_secondSwitch = false;
        return;
    default:
        break;
    }
    requireFlowPhase(line.kind);
    m_declarationClosed = false;
    switch (line.kind) {
    case LineKind::Print:
        print(line.afterKeyword);
        return;
    case LineKind::RunCommand:
        runCommand(line.afterKeyword);
        return;
    case LineKind::Oper:
        oper(line.afterKeyword);
        return;
    case LineKind::While:
        beginWhile(line.afterKeyword);
        return;
    case LineKind::EndWhile:
        endWhile();
        return;
    case LineKind::If:
        beginIf(line.afterKeyword);
        return;
    case LineKind::Then:
        thenBranch();
        return;
    case LineKind::Else:
        elseBranch();
        return;
    case LineKind::EndIf:
        endIf();
        return;
    default:
        return;
    }
}

// Flow and command statements and Print are accepted once a New or DeclareEnd was seen.
void Interpreter::requireFlowPhase(LineKind kind)
{
    if (m_phase == RunPhase::Declaring || m_phase == RunPhase::Running)
        return;
    if (kind == LineKind::If)
        failPhase(kIfOutsideSection);
    if (kind == LineKind::Print)
        failPhase(kPrintOutsideSection);
    failPhase(kNewOutsideSection);
}

void Interpreter::declareBegin(const std::string& rest)
{
    if (m_phase != RunPhase::Start)
        failPhase("Ошибка - ошибка в описаниях. DeclareBeg уже был ранее.");
    m_declarationClosed = false;
    m_declarationPrefix = trimText(rest);
    m_phase = RunPhase::DeclareOpen;
    // A run of the script language cannot be stopped, resumed or stepped.
    m_host.setStopResumeStepEnabled(false);
    m_host.processPendingMessages();
}

void Interpreter::declareNew(const std::string& rest)
{
    if (m_phase != RunPhase::DeclareOpen && m_phase != RunPhase::Declaring)
        failPhase(kNewOutsideSection);
    m_declarationClosed = false;
    if (m_variables.size() >= static_cast<std::size_t>(kMaxVariables))
        failNamingLine("Ошибка - больше " + std::to_string(kMaxVariables) + " переменных.");
    m_variables.push_back({m_declarationPrefix + trimText(rest), std::string()});
    const int row = static_cast<int>(m_variables.size());
    m_host.addVariableRow();
    m_host.setVariableCell(row, 0, std::to_string(row));
    m_host.setVariableCell(row, 1, m_variables.back().Name);
    m_host.setVariableCell(row, 2, std::string());
    m_host.setVariableCell(row, 3, std::string());
    m_phase = RunPhase::Declaring;
}

void Interpreter::declareEnd()
{
    if (m_phase != RunPhase::DeclareOpen && m_phase != RunPhase::Declaring)
        failPhase("Ошибка - ошибка в описаниях. Ошибочное расположение DeclareEnd.");
    m_declarationClosed = true;
    m_phase = RunPhase::Running;
}

// «%Delay 500»: the number starts at the line's eighth character.
void Interpreter::delay()
{
    const std::string text = m_trimmedLine.size() > 7 ? trimText(m_trimmedLine.substr(7)) : "";
    const std::int32_t milliseconds = integerOf(text);
    if (milliseconds > 0)
        platform::processClock().sleepMs(milliseconds);
}

// «%Set name = value»: the name starts at the fifth character after the marker.
void Interpreter::assign()
{
    if (m_phase != RunPhase::Running)
        failPhase("Ошибка - ошибка в описаниях. Секция определений неверна.");
    const std::string statement = m_trimmedLine.substr(1);
    const std::size_t equals = statement.find('=');
    if (equals == std::string::npos || statement.find('=', equals + 1) != std::string::npos)
        failPhase("Ошибка - ошибка в операторе Set.");
    const std::string name = equals > 4 ? trimText(statement.substr(4, equals - 4)) : "";
    const int target = findVariable(name);
    if (target < 0)
        failPhase("Ошибка - присвоение несуществующей переменной.");

    const std::string valueText = trimText(statement.substr(equals + 1));
    std::string value;
    if (IsStr(valueText)) {
        value = withoutQuotes(valueText);
    } else if (const int field = GetAnsiString(valueText); field >= 0) {
        value = resultField(field);
    } else if (const int source = findVariable(valueText); source >= 0) {
        value = m_variables[source].Value;
    } else {
        return; // a bare number or unknown name assigns nothing
    }
    m_variables[target].Value = value;
    m_host.setVariableCell(target + 1, 2, value);
    m_host.repaintVariables();
    m_phase = RunPhase::Running;
}

void Interpreter::print(const std::string& rest)
{
    const std::string what = trimText(rest);
    if (const int field = GetAnsiString(what); field >= 0)
        m_host.addMemoLine(";" + what + "=" + resultField(field));
    for (const ScriptVariable& variable : m_variables) {
        if (variable.Name == what)
            m_host.addMemoLine(";" + variable.Name + "=" + variable.Value);
    }
    m_phase = RunPhase::Running;
}

// «%RunCommand (38, "text", 5)» sends command 38 with the data «text,5».
void Interpreter::runCommand(const std::string& rest)
{
    const std::string text = trimText(rest);
    const bool hasArguments = text.find(',') != std::string::npos;
    const std::int32_t code = integerOf(trimText(textBetween(text, '(', hasArguments ? ',' : ')')));

    std::string data;
    if (hasArguments) {
        std::string remaining = textAfter(text, ',');
        for (int count = 1;; ++count) {
            if (count > kMaxRunCommandArguments)
                failNamingLine("Ошибка - больше " + std::to_string(kMaxRunCommandArguments) +
                               " параметров в RunCommand.");
            const bool last = remaining.find(',') == std::string::npos;
            const std::string argument = trimText(textBefore(remaining, last ? ')' : ','));
            OperOperand operand;
            if (!classifyOperand(argument, operand))
                failAtOnce(kFirstParameterError);
            data += (count > 1 ? "," : "") + operand.text;
            if (last)
                break;
            remaining = textAfter(remaining, ',');
        }
    }
    handleCommandOutcome(
        ExecuteOnBoth(code, data, m_secondSwitch, ReportFormat::Script, m_resultLists));
}

int Interpreter::findVariable(const std::string& name) const
{
    for (std::size_t i = 0; i < m_variables.size(); ++i) {
        if (m_variables[i].Name == name)
            return static_cast<int>(i);
    }
    return -1;
}

// Field n of the last answer; a field the answer does not have reads as the empty text.
std::string Interpreter::resultField(int index) const
{
    const link::RetData& last = link::resultState().copy;
    if (index < 0 || index >= link::kMaxFields || index >= last.FieldCount)
        return {};
    return last.Fields[static_cast<std::size_t>(index)];
}

// Variable (first match; a quoted value counts as a string), number, or quoted string.
bool Interpreter::classifyOperand(const std::string& text, OperOperand& operand) const
{
    if (const int index = findVariable(text); index >= 0) {
        const std::string& value = m_variables[static_cast<std::size_t>(index)].Value;
        operand.quoted = IsStr(value);
        operand.text = operand.quoted ? withoutQuotes(value) : value;
        return true;
    }
    if (IsNumb(text)) {
        operand = {text, false};
        return true;
    }
    if (IsStr(text)) {
        operand = {withoutQuotes(text), true};
        return true;
    }
    return false;
}

std::int32_t Interpreter::integerOf(const std::string& text)
{
    const auto value = platform::toInt32(text);
    if (!value)
        failAtOnce(platform::conversionError(text));
    return *value;
}

} // namespace quorvex::script
