#pragma once
// SIGINT and SIGTERM ask quorvex-run to stop at the end of the exchange in flight, so that its
// reports and the log's session-end line are still written; a second signal ends the process at
// once, as the signal would have without a handler.
namespace quorvex::script {

void installStopSignals();
// The signal that asked to stop, 0 while none has.
[[nodiscard]] int stopSignal();
// 128 + the signal: the exit status a shell reports for a process the signal ended.
[[nodiscard]] int exitStatusForSignal(int signal);

} // namespace quorvex::script
