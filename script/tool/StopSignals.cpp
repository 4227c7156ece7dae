#include "script/tool/StopSignals.h"

#include <csignal>

namespace quorvex::script {

namespace {

volatile std::sig_atomic_t g_stopSignal = 0;

// Only notes the signal: the engine looks at it between lines and around every exchange.
void noteStopSignal(int signal)
{
    g_stopSignal = signal;
}

} // namespace

void installStopSignals()
{
#ifdef _WIN32
    // The C runtime puts the default action back before it calls the handler, so a second
    // signal ends the process.
    std::signal(SIGINT, noteStopSignal);
    std::signal(SIGTERM, noteStopSignal);
#else
    struct sigaction action {};
    action.sa_handler = noteStopSignal;
    sigemptyset(&action.sa_mask);
    // SA_RESETHAND: the second signal finds the default action and ends the process at once.
    // SA_RESTART: a read or write the signal arrives in goes on.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
#endif
}

int stopSignal()
{
    return g_stopSignal;
}

int exitStatusForSignal(int signal)
{
    return 128 + signal;
}

} // namespace quorvex::script
