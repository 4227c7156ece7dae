#pragma once
// How a run, resume or step ends from deep inside a statement, and the guard that marks one
// as in progress. Internal to the interpreter's sources.
#include "script/Interpreter.h"
#include "script/ScriptHost.h"

namespace quorvex::script {

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

} // namespace quorvex::script
