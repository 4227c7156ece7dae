#include "script/tool/RunHelp.h"

namespace quorvex::script {

std::string runHelp()
{
    return R"(Usage: quorvex-run [OPTIONS] SCRIPT...

Runs each script file SCRIPT against a registrar the way the button "Выполнить" of the
window "Команды и скрипты" does, from its first line to its end; several files run in
the order given, on the same connection. A script may come from a pipe (- is not
special: give /dev/stdin); it is read whole before the run.

Options:
  --port NAME          port of the first registrar (default EMU1): a name from the port
                       list (EMU1, EMU2 are the built-in emulated registrars, ttyS0 is
                       /dev/ttyS0) or a device path such as /dev/pts/3
  --speed BAUD         its speed in baud (default 19200)
  --second NAME        connect a second registrar on this port; commands of the script go
                       to it as well after %EnableSecond, and the answers' fields are
                       compared
  --second-speed BAUD  its speed in baud (default 19200)
  --second-log LOG     the second registrar is a replay of the exchange log LOG (written
                       by --log or by [LogFile] Log=1); the n-th same request gets the
                       n-th answer recorded for it. Against a recording the comparison
                       covers the fields, the six status bytes bit by bit and checksum
                       and NAK errors; a request never recorded, or asked more often than
                       recorded, is a difference. A log with lines that cannot be used is
                       refused
  --compare-all        compare every command of the scripts, not only those after
                       %EnableSecond (%DisableSecond still switches it off)
  --ignore CC[:N]      leave field N (counted from 0) of the answer of command CC (hex)
                       out of the comparison, with :status its status bytes, or without
                       either its whole answer; repeatable
  --log FILE           write the exchange log to FILE (with --second-log, only the first
                       registrar's exchanges)
  --answer-end MODE    quiet (default): an exchange ends at the first 100 ms without a
                       byte after the answer; etx: at once at the ETX of an answer whose
                       checksum is good, or at a NAK. The bytes on the wire are the same;
                       etx saves about 100 ms per command. Quorvex itself takes the mode
                       from the key AnswerEnd in section [Communication] of fpinit.ini
  --busy-limit SECONDS how long a registrar may answer with SYN alone before the wait is
                       given up as busy (default 120); Quorvex takes it from the key
                       BusyLimit in section [Communication] of fpinit.ini
  --quiet              as the check box "Не выводить данные": no exchange lines, and '+'
                       lines are sent as command lines
  --trace              write every exchange to standard error as it ends, one line each:
                       time (hh:mm:ss.zzz), registrar, code and command name, request
                       data, answer fields, status bytes, errors, round trip in ms
  --report FILE        write the comparison report to FILE as RTF instead of to stderr
  --junit FILE         write a JUnit XML report to FILE: one testcase per script file,
                       a failure for each whose answers differed, an error for each that
                       could not run to its end (script error, not sent, time-out,
                       unreadable, interrupted), the last 200 memo lines as its system-out
  --help               show this text

The --junit, --report and --log files must be writable before anything is sent. The
report and the JUnit file are replaced whole at the end of the run, also when a port
cannot be opened or the run is interrupted.

Output: the lines of the message memo go to standard output, one per line (UTF-8); the
texts of message boxes and, without --report, the comparison report go to standard error.

SIGINT or SIGTERM stops the run at the end of the exchange in flight; the reports and the
log's session-end line are written, and the exit status is 130 or 143. A second signal
ends the program at once.

Exit status (with several script files, the worst of them: 2, then 1, then 3, then 0):
  0  the run reached the end of the file ("Конец файла!") and no difference was reported
  1  the run ended early: a script error, a command that could not be sent, a registrar
     time-out, or answers of the two registrars with different field counts; or the
     exchange log, a report or the JUnit file could not be written during the run
  2  bad options, a script file that cannot be read (or is a folder), an output that
     cannot be written, a --second-log log that cannot be replayed, or a port that
     cannot be opened
  3  the run reached the end of the file, but the two registrars' answers differed (the
     differences are on standard error or in the --report file)
  130, 143  interrupted by SIGINT or SIGTERM
)";
}

} // namespace quorvex::script
