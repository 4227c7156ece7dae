#pragma once
// The script interpreter behind the buttons "Выполнить", "Стоп", "Продолжить" and "Шаг" of the
// script window. It reads the script file line by line (never loading it whole), talks to the
// window through ScriptHost and sends commands through ExecuteOnBoth / SendCommand of the
// process's link. Every text is Windows-1251 bytes.
#include "script/ScriptHost.h"

#include <cstdio>
#include <memory>
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
    Failed,        // a script error (message shown)
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
    void setScriptPath(const std::string& path);
    [[nodiscard]] const std::string& scriptPath() const;

    // "Выполнить": runs the script language from the first line until the run ends.
    RunEnd Run();
    // "Стоп": ends a run after its next command line, a resume after its next command.
    void RequestStop();
    void clearStopRequest();
    // Ends a run, resume or step at its next line, whatever it is running (the window closes).
    void abandonRun();
    [[nodiscard]] bool stopRequested() const;
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
    void seedRandom(unsigned seed);

    // The second-registrar switch (EnableSecond / DisableSecond); persists between runs.
    [[nodiscard]] bool secondSwitch() const;
    void setSecondSwitch(bool on);

    // True while Run, Resume or Step is executing (also inside the host's message processing).
    [[nodiscard]] bool inProgress() const;
    [[nodiscard]] RunEnd lastEnd() const;
    [[nodiscard]] RunPhase phase() const;
    [[nodiscard]] int lineCounter() const;
    [[nodiscard]] bool scriptFileOpen() const;

    // The variables declared by the current or last run, in declaration order.
    [[nodiscard]] int variableCount() const;
    [[nodiscard]] const std::vector<ScriptVariable>& variables() const;

private:
    void clearAbandonIfIdle();
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace quorvex::script
