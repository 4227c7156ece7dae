#include "script/Interpreter.h"

#include "script/ScriptEngine.h"

#include <ctime>

namespace quorvex::script {

struct Interpreter::State {
    explicit State(ScriptHost& host) : engine(host) {}
    ScriptEngine engine;
};

Interpreter::Interpreter(ScriptHost& host) : m_state(std::make_unique<State>(host)) {}

Interpreter::~Interpreter() = default;

void Interpreter::setScriptPath(const std::string& path)
{
    m_state->engine.scriptPath = path;
}

const std::string& Interpreter::scriptPath() const
{
    return m_state->engine.scriptPath;
}

RunEnd Interpreter::Run()
{
    clearAbandonIfIdle();
    return m_state->engine.run();
}

void Interpreter::RequestStop()
{
    m_state->engine.stopRequested = true;
}

// A request to abandon applies to the run in progress only, never to the next one.
void Interpreter::clearAbandonIfIdle()
{
    if (!m_state->engine.inProgress)
        m_state->engine.abandonRequested = false;
}

void Interpreter::abandonRun()
{
    if (m_state->engine.inProgress)
        m_state->engine.abandonRequested = true;
}

void Interpreter::clearStopRequest()
{
    m_state->engine.stopRequested = false;
}

bool Interpreter::stopRequested() const
{
    return m_state->engine.stopRequested;
}

RunEnd Interpreter::Resume()
{
    clearAbandonIfIdle();
    return m_state->engine.resume();
}

RunEnd Interpreter::Step()
{
    clearAbandonIfIdle();
    return m_state->engine.step();
}

// Ignored while a run is in progress: its blocks hold indices into the variable table.
void Interpreter::resetVariables()
{
    if (!m_state->engine.inProgress)
        m_state->engine.resetVariables();
}

void Interpreter::closeScriptFileIfIdle()
{
    if (!m_state->engine.inProgress)
        m_state->engine.closeScript();
}

void Interpreter::seedRandom()
{
    seedRandom(static_cast<unsigned>(std::time(nullptr)));
}

void Interpreter::seedRandom(unsigned seed)
{
    m_state->engine.random.seed(seed);
}

bool Interpreter::secondSwitch() const
{
    return m_state->engine.secondSwitch;
}

void Interpreter::setSecondSwitch(bool on)
{
    m_state->engine.secondSwitch = on;
}

bool Interpreter::inProgress() const
{
    return m_state->engine.inProgress;
}

RunEnd Interpreter::lastEnd() const
{
    return m_state->engine.lastEnd;
}

RunPhase Interpreter::phase() const
{
    return m_state->engine.phase;
}

int Interpreter::lineCounter() const
{
    return m_state->engine.lineCounter;
}

bool Interpreter::scriptFileOpen() const
{
    return m_state->engine.fileOpen();
}

int Interpreter::variableCount() const
{
    return static_cast<int>(m_state->engine.variables.size());
}

const std::vector<ScriptVariable>& Interpreter::variables() const
{
    return m_state->engine.variables;
}

} // namespace quorvex::script
