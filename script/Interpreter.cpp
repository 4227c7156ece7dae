// The interpreter's lifecycle, line reading and the error paths its statements share.
#include "script/Interpreter.h"

#include "script/RunEnding.h"

#include "link/ResultState.h"
#include "platform/NativePath.h"
#include "script/TextFunctions.h"

#include <ctime>

namespace quorvex::script {

namespace {

const char* const kEndOfFileMessage = "Конец файла!";

} // namespace

Interpreter::Interpreter(ScriptHost& host)
    : m_host(host), m_random(static_cast<unsigned>(std::time(nullptr)))
{
}

Interpreter::~Interpreter()
{
    closeScript();
}

// "Выполнить". A second run, resume or step started from the host's message processing while
// one is in progress is refused: the running one owns the file and the run state.
RunEnd Interpreter::Run()
{
    clearAbandonIfIdle();
    if (m_inProgress)
        return RunEnd::Refused;
    InProgressScope scope(m_inProgress, m_host);
    if (!reopenScript())
        return m_lastEnd = RunEnd::OpenFailed;
    m_host.setStopResumeStepEnabled(true);
    m_stopRequested = false;
    m_random.seed(static_cast<unsigned>(std::time(nullptr)));
    resetRunState();
    try {
        runLines();
    } catch (const RunEnding& ending) {
        if (ending.orderly)
            endOrderly();
        m_lastEnd = ending.end;
    }
    return m_lastEnd;
}

void Interpreter::closeScript()
{
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

// A request to abandon applies to the run in progress only, never to the next one.
void Interpreter::clearAbandonIfIdle()
{
    if (!m_inProgress)
        m_abandonRequested = false;
}

void Interpreter::abandonRun()
{
    if (m_inProgress)
        m_abandonRequested = true;
}

// Ignored while a run is in progress: its blocks hold indices into the variable table.
void Interpreter::resetVariables()
{
    if (m_inProgress)
        return;
    m_variables.clear();
    m_declarationPrefix.clear();
}

void Interpreter::closeScriptFileIfIdle()
{
    if (!m_inProgress)
        closeScript();
}

void Interpreter::seedRandom()
{
    seedRandom(static_cast<unsigned>(std::time(nullptr)));
}

// Opens the chosen file; when it cannot be opened, says so and leaves everything else alone.
bool Interpreter::reopenScript()
{
    std::FILE* file = m_scriptPath.empty() ? nullptr : platform::openFile(m_scriptPath, "rb");
    if (file == nullptr) {
        m_host.showMessage("Невозможно открыть файл скрипта: " + m_scriptPath);
        return false;
    }
    closeScript();
    m_file = file;
    return true;
}

void Interpreter::resetRunState()
{
    m_lineCounter = 0;
    m_searchPending = false;
    m_pendingSearch.clear();
    m_declarationClosed = false;
    m_ifBlocks.clear();
    m_ifDepth = -1;
    m_whileBlocks.clear();
    m_whileDepth = -1;
    m_variables.clear();
    m_declarationPrefix.clear();
    m_phase = RunPhase::Start;
}

void Interpreter::runLines()
{
    for (;;) {
        if (!readNextLine()) {
            m_host.showMessage(kEndOfFileMessage);
            m_host.setLineNumberText("0");
            throw RunEnding{RunEnd::EndOfFile, true};
        }
        executeLine(m_rawLine);
    }
}

// Notes where the line starts (or searches for it), reads and counts it. False at the end.
bool Interpreter::readNextLine()
{
    m_linePosition = std::ftell(m_file);
    if (m_searchPending) {
        long position = m_linePosition;
        (void)SearchInFile(m_pendingSearch, m_file, position); // not found: at the end
        m_linePosition = position;
        m_searchPending = false;
        m_pendingSearch.clear();
    }
    std::string line;
    if (!readCountedLine(line))
        return false;
    m_rawLine = trimTrailingControls(line);
    return true;
}

bool Interpreter::readCountedLine(std::string& line)
{
    if (!readScriptLine(m_file, line))
        return false;
    ++m_lineCounter;
    showLineCounter();
    if (m_abandonRequested)
        throw RunEnding{RunEnd::Stopped, true};
    return true;
}

void Interpreter::showLineCounter()
{
    m_host.setLineNumberText(std::to_string(m_lineCounter));
    m_host.repaintLineNumber();
    m_host.processPendingMessages();
}

void Interpreter::executeLine(const std::string& rawLine)
{
    m_trimmedLine = trimText(rawLine);
    if (m_trimmedLine.empty())
        return;
    const ClassifiedLine line = classifyLine(m_trimmedLine);
    switch (line.kind) {
    case LineKind::Ignored:
        return;
    case LineKind::Comment:
        executeComment(m_trimmedLine);
        return;
    case LineKind::Command:
        executeCommandLine(m_trimmedLine);
        return;
    default:
        executeStatement(line);
        return;
    }
}

void Interpreter::executeComment(const std::string& trimmed)
{
    if (m_host.noOutput()) {
        executeCommandLine(trimmed);
        return;
    }
    m_host.addMemoLine("Комментарий:: " + trimmed.substr(1) + "!!!");
}

// Code characters into the code box, the rest into the data box, then the command on one or
// both registrars; the exchange lines are those of the first registrar's answer.
void Interpreter::executeCommandLine(const std::string& trimmed)
{
    m_host.setCodeText(trimmed.substr(0, 2));
    m_host.setDataText(trimmed.size() > 2 ? trimmed.substr(2) : std::string());
    m_host.processPendingMessages();
    const std::string data = m_host.dataText();

    std::string pcLine;
    std::string fpLine;
    ExecuteHooks hooks;
    hooks.onFirstAnswer = [&pcLine, &fpLine](const link::RetData& answer) {
        pcLine = exchangeLinePc(answer);
        fpLine = exchangeLineFp(answer);
    };
    const ExecuteOutcome outcome = ExecuteOnBoth(m_host.currentCommandCode(), data, m_secondSwitch,
                                                 ReportFormat::Script, m_resultLists, hooks);
    handleCommandOutcome(outcome);

    if (!m_host.noOutput()) {
        m_host.addMemoLine(pcLine);
        m_host.addMemoLine(fpLine);
        m_host.setStatusText(statusText(link::resultState().copy));
    }
    m_host.processPendingMessages();
    if (m_stopRequested)
        throw RunEnding{RunEnd::Stopped, true};
    if (!m_host.noRepaint())
        m_host.repaintForm();
}

void Interpreter::handleCommandOutcome(ExecuteOutcome outcome)
{
    switch (outcome) {
    case ExecuteOutcome::Done:
        return;
    case ExecuteOutcome::FirstTimedOut:
        endWithMessage(noAnswerMessage(), RunEnd::TimedOut, true);
    case ExecuteOutcome::SecondTimedOut:
        endWithMessage(noAnswerMessage(), RunEnd::TimedOut, false);
    case ExecuteOutcome::CountsDiffer:
        throw RunEnding{RunEnd::CountMismatch, false};
    case ExecuteOutcome::Refused:
        endWithMessage(namingLine(link::refusalMessage(link::processLink().lastRefusal())),
                       RunEnd::Failed, true);
    }
}

void Interpreter::endOrderly()
{
    if (!m_host.noRepaint())
        m_host.repaintForm();
    closeScript();
}

void Interpreter::jumpTo(long position)
{
    std::fseek(m_file, position, SEEK_SET);
}

void Interpreter::failPhase(const char* message)
{
    m_phase = RunPhase::Failed;
    endWithMessage(message, RunEnd::Failed, true);
}

void Interpreter::endWithMessage(const std::string& message, RunEnd end, bool orderly)
{
    m_host.showMessage(message);
    throw RunEnding{end, orderly};
}

void Interpreter::failAtOnce(const std::string& message)
{
    m_host.addMemoLine(m_rawLine);
    endWithMessage(message, RunEnd::Failed, false);
}

// Capacities and blocks closed without being opened: the run ends at once, the message names
// the line so the script can be fixed.
void Interpreter::failNamingLine(const std::string& what)
{
    endWithMessage(namingLine(what), RunEnd::Failed, false);
}

std::string Interpreter::namingLine(const std::string& what) const
{
    return what + " Строка " + std::to_string(m_lineCounter) + ": " + m_trimmedLine;
}

} // namespace quorvex::script
