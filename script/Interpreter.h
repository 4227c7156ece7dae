#pragma once
// The script interpreter behind the buttons "Выполнить", "Стоп", "Продолжить" and "Шаг" of the
// script window. It reads the script file line by line (never loading it whole), talks to the
// window through ScriptHost and sends commands through ExecuteOnBoth / SendCommand of the
// process's link. Every text is Windows-1251 bytes.
//
// One class owns the whole run state; its statements live in several sources: lifecycle and
// reading (Interpreter.cpp), declarations, assignment, output and commands
// (ScriptStatements.cpp), Oper (ScriptOper.cpp), While and If (ScriptFlow.cpp), resume and
// step (ScriptResume.cpp).
#include "script/ExecuteOnBoth.h"
#include "script/OperArithmetic.h"
#include "script/ScriptBlocks.h"
#include "script/ScriptHost.h"
#include "script/ScriptLine.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace quorvex::script {

enum class RunPhase { Start, DeclareOpen, Declaring, Running, Failed };

// How the last run, resume or step ended.
enum class RunEnd {
    None,          // nothing has run yet
    EndOfFile,     // "Конец файла!"
    Stopped,       // the stop request ended it after a command
    StepDone,      // a step executed its line (or ended at a ';' or '+' line)
    TimedOut,      // a registrar did not answer
    CountMismatch, // the two registrars' answers had different field counts
    Failed,        // a script error, or a command that could not be sent (message shown)
    OpenFailed,    // the script file could not be opened (message shown)
    Refused,       // asked while a run, resume or step was in progress: nothing done
};

struct ScriptVariable {
    std::string Name;
    std::string Value;
};

constexpr int kMaxVariables = 100;
constexpr int kMaxIfBlocks = 100;
constexpr int kMaxWhileBlocks = 100;
constexpr int kMaxNestingDepth = 100;
constexpr int kMaxRunCommandArguments = 20;

class Interpreter {
public:
    explicit Interpreter(ScriptHost& host);
    ~Interpreter();
    Interpreter(const Interpreter&) = delete;
    Interpreter& operator=(const Interpreter&) = delete;

    // The script file that Run, Resume and Step read ("Открыть файл" sets it).
    void setScriptPath(const std::string& path) { m_scriptPath = path; }
    [[nodiscard]] const std::string& scriptPath() const { return m_scriptPath; }

    // "Выполнить": runs the script language from the first line until the run ends.
    RunEnd Run();
    // "Стоп": ends a run after its next command line, a resume after its next command.
    void RequestStop() { m_stopRequested = true; }
    void clearStopRequest() { m_stopRequested = false; }
    // Ends a run, resume or step at its next line, whatever it is running (the window closes).
    void abandonRun();
    [[nodiscard]] bool stopRequested() const { return m_stopRequested; }
    // "Продолжить": skips the line-number box's count of lines and executes the rest of the
    // file as command lines. "Шаг": the same for one line.
    RunEnd Resume();
    RunEnd Step();

    // "Открыть файл": no variables, empty declaration prefix.
    void resetVariables();
    // Window activation: closes a file left open by a run that ended at once, unless a run,
    // resume or step is in progress; seeds the random generator of Oper 7.
    void closeScriptFileIfIdle();
    void seedRandom();
    void seedRandom(unsigned seed) { m_random.seed(seed); }

    // The second-registrar switch (EnableSecond / DisableSecond); persists between runs.
    [[nodiscard]] bool secondSwitch() const { return m_secondSwitch; }
    void setSecondSwitch(bool on) { m_secondSwitch = on; }

    // The answer fields of the last command on each registrar: script commands and the manual
    // buttons of the window share them, and they persist between runs.
    [[nodiscard]] TwoRegistrarResults& resultLists() { return m_resultLists; }
    [[nodiscard]] const TwoRegistrarResults& resultLists() const { return m_resultLists; }

    // True while Run, Resume or Step is executing (also inside the host's message processing).
    [[nodiscard]] bool inProgress() const { return m_inProgress; }
    [[nodiscard]] RunEnd lastEnd() const { return m_lastEnd; }
    [[nodiscard]] RunPhase phase() const { return m_phase; }
    [[nodiscard]] int lineCounter() const { return m_lineCounter; }
    [[nodiscard]] bool scriptFileOpen() const { return m_file != nullptr; }

    // The variables declared by the current or last run, in declaration order.
    [[nodiscard]] int variableCount() const { return static_cast<int>(m_variables.size()); }
    [[nodiscard]] const std::vector<ScriptVariable>& variables() const { return m_variables; }

private:
    // Lifecycle and reading (Interpreter.cpp).
    void clearAbandonIfIdle();
    void closeScript();
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

    // Error paths shared by the statements (Interpreter.cpp).
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
    using ResumeLineHandler = void (Interpreter::*)(const std::string& line);
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
    std::string m_scriptPath;
    bool m_stopRequested = false;
    // The window is being left: whatever runs ends at its next line, script-language runs too.
    bool m_abandonRequested = false;
    bool m_secondSwitch = false;
    bool m_inProgress = false;
    RunEnd m_lastEnd = RunEnd::None;
    RunPhase m_phase = RunPhase::Start;
    int m_lineCounter = 0;
    std::vector<ScriptVariable> m_variables;
    TwoRegistrarResults m_resultLists;
    OperRandom m_random;

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
