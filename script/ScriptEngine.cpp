#include "script/ScriptEngine.h"

#include "link/ResultState.h"
#include "script/TextFunctions.h"

#include <ctime>

namespace quorvex::script {

namespace {

const char* const kEndOfFileMessage = "Конец файла!";

} // namespace

ScriptEngine::ScriptEngine(ScriptHost& host)
    : random(static_cast<unsigned>(std::time(nullptr))), m_host(host)
{
}

ScriptEngine::~ScriptEngine()
{
    closeScript();
}

// "Выполнить". A second run, resume or step started from the host's message processing while
// one is in progress is refused: the running one owns the file and the run state.
RunEnd ScriptEngine::run()
{
    if (inProgress)
        return RunEnd::Refused;
    InProgressScope scope(inProgress, m_host);
    if (!reopenScript())
        return lastEnd = RunEnd::OpenFailed;
    m_host.setStopResumeStepEnabled(true);
    stopRequested = false;
    random.seed(static_cast<unsigned>(std::time(nullptr)));
    resetRunState();
    try {
        runLines();
    } catch (const RunEnding& ending) {
        if (ending.orderly)
            endOrderly();
        lastEnd = ending.end;
    }
    return lastEnd;
}

void ScriptEngine::closeScript()
{
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

void ScriptEngine::resetVariables()
{
    variables.clear();
    m_declarationPrefix.clear();
}

// Opens the chosen file; when it cannot be opened, says so and leaves everything else alone.
bool ScriptEngine::reopenScript()
{
    std::FILE* file = scriptPath.empty() ? nullptr : std::fopen(scriptPath.c_str(), "rb");
    if (file == nullptr) {
        m_host.showMessage("Невозможно открыть файл скрипта: " + scriptPath);
        return false;
    }
    closeScript();
    m_file = file;
    return true;
}

void ScriptEngine::resetRunState()
{
    lineCounter = 0;
    m_searchPending = false;
    m_pendingSearch.clear();
    m_declarationClosed = false;
    m_ifBlocks.clear();
    m_ifDepth = -1;
    m_whileBlocks.clear();
    m_whileDepth = -1;
    variables.clear();
    m_declarationPrefix.clear();
    phase = RunPhase::Start;
}

void ScriptEngine::runLines()
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
bool ScriptEngine::readNextLine()
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

bool ScriptEngine::readCountedLine(std::string& line)
{
    if (!readScriptLine(m_file, line))
        return false;
    ++lineCounter;
    showLineCounter();
    if (abandonRequested)
        throw RunEnding{RunEnd::Stopped, true};
    return true;
}

void ScriptEngine::showLineCounter()
{
    m_host.setLineNumberText(std::to_string(lineCounter));
    m_host.repaintLineNumber();
    m_host.processPendingMessages();
}

void ScriptEngine::executeLine(const std::string& rawLine)
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

void ScriptEngine::executeComment(const std::string& trimmed)
{
    if (m_host.noOutput()) {
        executeCommandLine(trimmed);
        return;
    }
    m_host.addMemoLine("Комментарий:: " + trimmed.substr(1) + "!!!");
}

// Code characters into the code box, the rest into the data box, then the command on one or
// both registrars; the exchange lines are those of the first registrar's answer.
void ScriptEngine::executeCommandLine(const std::string& trimmed)
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
    const ExecuteOutcome outcome = ExecuteOnBoth(m_host.currentCommandCode(), data, secondSwitch,
                                                 ReportFormat::Script, resultLists, hooks);
    handleCommandOutcome(outcome);

    if (!m_host.noOutput()) {
        m_host.addMemoLine(pcLine);
        m_host.addMemoLine(fpLine);
        m_host.setStatusText(statusText(link::resultState().copy));
    }
    m_host.processPendingMessages();
    if (stopRequested)
        throw RunEnding{RunEnd::Stopped, true};
    if (!m_host.noRepaint())
        m_host.repaintForm();
}

void ScriptEngine::handleCommandOutcome(ExecuteOutcome outcome)
{
    switch (outcome) {
    case ExecuteOutcome::Done:
        return;
    case ExecuteOutcome::FirstTimedOut:
        endWithMessage(kTimeoutMessage, RunEnd::TimedOut, true);
    case ExecuteOutcome::SecondTimedOut:
        endWithMessage(kTimeoutMessage, RunEnd::TimedOut, false);
    case ExecuteOutcome::CountsDiffer:
        throw RunEnding{RunEnd::CountMismatch, false};
    case ExecuteOutcome::Refused:
        endWithMessage(namingLine(refusalMessage(link::processLink().lastRefusal())),
                       RunEnd::Failed, true);
    }
}

void ScriptEngine::endOrderly()
{
    if (!m_host.noRepaint())
        m_host.repaintForm();
    closeScript();
}

void ScriptEngine::jumpTo(long position)
{
    std::fseek(m_file, position, SEEK_SET);
}

void ScriptEngine::failPhase(const char* message)
{
    phase = RunPhase::Failed;
    endWithMessage(message, RunEnd::Failed, true);
}

void ScriptEngine::endWithMessage(const std::string& message, RunEnd end, bool orderly)
{
    m_host.showMessage(message);
    throw RunEnding{end, orderly};
}

void ScriptEngine::failAtOnce(const std::string& message)
{
    m_host.addMemoLine(m_rawLine);
    endWithMessage(message, RunEnd::Failed, false);
}

// Capacities and blocks closed without being opened: the run ends at once, the message names
// the line so the script can be fixed.
void ScriptEngine::failNamingLine(const std::string& what)
{
    endWithMessage(namingLine(what), RunEnd::Failed, false);
}

std::string ScriptEngine::namingLine(const std::string& what) const
{
    return what + " Строка " + std::to_string(lineCounter) + ": " + m_trimmedLine;
}

} // namespace quorvex::script
