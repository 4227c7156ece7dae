#pragma once
// The interpreter's machinery behind Interpreter: run state, line reading, statements, flow
// blocks, resume and step. Internal to the script library.
#include "script/ExecuteOnBoth.h"
#include "script/Interpreter.h"
#include "script/OperArithmetic.h"
#include "script/ScriptHost.h"
#include "script/ScriptLine.h"

#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace quorvex::script {

enum class CompareOperator { Less, LessOrEqual, Equal, Greater, GreaterOrEqual };

// A condition operand: a variable (its index, read at every evaluation) or a number.
struct ConditionOperand {
    int variableIndex = -1;
    std::string text; // the variable's name or the number's text
};

struct Condition {
    CompareOperator op = CompareOperator::Less;
    ConditionOperand left;
    ConditionOperand right;
};

struct IfBlock {
    long ifPosition = -1; // key
    long thenPosition = -1;
    bool thenSeen = false;
    long elsePosition = -1;
    bool elseSeen = false;
    int depth = -1;
    Condition condition;
    bool result = false;
};

enum LoopState { LoopNew = 0, Looping = 1, LoopFinished = 3 };

struct WhileBlock {
    long whilePosition = -1; // key
    long endWhilePosition = -1;
    int loopState = LoopNew;
    Condition condition;
    bool result = false;
};

// Thrown by a statement to end the run; the message has been shown by then.
struct RunEnding {
    RunEnd end;
    bool orderly; // repaint and close the file; otherwise leave everything as it is
};

// Marks a run, resume or step as in progress for its whole length, also when it ends by an
// unexpected exception, and tells the host around it.
class InProgressScope {
public:
    InProgressScope(bool& flag, ScriptHost& host) : m_flag(flag), m_host(host)
    {
        m_flag = true;
        m_host.runStarted();
    }
    ~InProgressScope()
    {
        m_flag = false;
        m_host.runEnded();
    }
    InProgressScope(const InProgressScope&) = delete;
    InProgressScope& operator=(const InProgressScope&) = delete;

private:
    bool& m_flag;
    ScriptHost& m_host;
};

class ScriptEngine {
public:
    explicit ScriptEngine(ScriptHost& host);
    ~ScriptEngine();
    ScriptEngine(const ScriptEngine&) = delete;
    ScriptEngine& operator=(const ScriptEngine&) = delete;

    RunEnd run();
    RunEnd resume();
    RunEnd step();

    void closeScript();
    void resetVariables();

    std::string scriptPath;
    bool stopRequested = false;
    // The window is being left: whatever runs ends at its next line, script-language runs too.
    bool abandonRequested = false;
    bool secondSwitch = false;
    bool inProgress = false;
    RunEnd lastEnd = RunEnd::None;
    RunPhase phase = RunPhase::Start;
    int lineCounter = 0;
    std::vector<ScriptVariable> variables;
    TwoRegistrarResults resultLists;
    OperRandom random;

    [[nodiscard]] bool fileOpen() const { return m_file != nullptr; }

private:
    // Lifecycle and reading (ScriptEngine.cpp).
    bool reopenScript();
    void resetRunState();
    void runLines();
    bool readNextLine();
    bool readCountedLine(std::string& line);
    void showLineCounter();
    void executeLine(const std::string& rawLine);
    void executeCommandLine(const std::string& trimmed);
    void executeComment(const std::string& trimmed);
    void endOrderly();
    void jumpTo(long position);

    // Error paths shared by the statements (ScriptEngine.cpp).
    [[noreturn]] void failPhase(const char* message);
    [[noreturn]] void endWithMessage(const std::string& message, RunEnd end, bool orderly);
    [[noreturn]] void failAtOnce(const std::string& message);
    [[noreturn]] void failNamingLine(const std::string& what);
    // what + " Строка <counter>: <trimmed line>".
    [[nodiscard]] std::string namingLine(const std::string& what) const;
    void handleCommandOutcome(ExecuteOutcome outcome);

    // Declarations, assignment, output, commands (ScriptStatements.cpp).
    void executeStatement(const ClassifiedLine& line);
    void declareBegin(const std::string& rest);
    void declareNew(const std::string& rest);
    void declareEnd();
    void delay();
    void assign();
    void print(const std::string& rest);
    void enableSecond();
    void runCommand(const std::string& rest);
    void requireFlowPhase(LineKind kind);
    [[nodiscard]] int findVariable(const std::string& name) const;
    [[nodiscard]] std::string resultField(int index) const;
    [[nodiscard]] bool classifyOperand(const std::string& text, OperOperand& operand) const;
    [[nodiscard]] std::int32_t integerOf(const std::string& text);

    // Oper (ScriptOper.cpp).
    void oper(const std::string& rest);
    void storeOperResult(const OperResult& result, int resultVariable);

    // While and If (ScriptFlow.cpp).
    void parseCondition(const std::string& rest, LineKind kind, Condition& condition);
    [[nodiscard]] bool evaluate(const Condition& condition);
    void beginWhile(const std::string& rest);
    void endWhile();
    void beginIf(const std::string& rest);
    void thenBranch();
    void elseBranch();
    void endIf();
    [[nodiscard]] IfBlock& topIfBlock(const char* keyword);

    // "Продолжить" and "Шаг" (ScriptResume.cpp).
    using ResumeLineHandler = void (ScriptEngine::*)(const std::string& line);
    RunEnd runResumeLines(ResumeLineHandler handleLine);
    void resumeLine(const std::string& line);
    void stepLine(const std::string& line);
    bool prepareResume();
    bool readResumeLine(std::string& line);
    enum class ResumeLine { Ignored, Comment, TooShort, Command };
    ResumeLine classifyResumeLine(const std::string& line) const;
    void showResumeComment(const std::string& line);
    void sendResumeCommand(const std::string& line);

    ScriptHost& m_host;
    std::FILE* m_file = nullptr;
    long m_linePosition = 0;
    std::string m_rawLine;
    std::string m_trimmedLine;
    std::string m_pendingSearch;
    bool m_searchPending = false;
    bool m_declarationClosed = false;
    std::string m_declarationPrefix;
    std::vector<IfBlock> m_ifBlocks;
    int m_ifDepth = -1;
    std::array<int, kMaxNestingDepth> m_ifStack{};
    std::vector<WhileBlock> m_whileBlocks;
    int m_whileDepth = -1;
    std::array<int, kMaxNestingDepth> m_whileStack{};
};

} // namespace quorvex::script
