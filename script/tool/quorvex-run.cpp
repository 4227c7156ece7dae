// quorvex-run: runs script files from the command line against a registrar, as "Выполнить" of
// the script window does, printing the message memo to standard output.
#include "emulator/EmulatedLine.h"
#include "emulator/Replay.h"
#include "link/Connect.h"
#include "link/ExchangeDecode.h"
#include "link/ExchangeLogReader.h"
#include "link/Link.h"
#include "link/Session.h"
#include "platform/Dialogs.h"
#include "platform/FileReplace.h"
#include "platform/qt/TextCodec.h"
#include "script/ComparisonReport.h"
#include "script/Interpreter.h"
#include "script/ReportDocument.h"
#include "script/RtfWriter.h"
#include "script/ScriptConsoleHost.h"
#include "script/tool/JUnitReport.h"
#include "script/tool/RunOptions.h"
#include "serial/PortRegistry.h"
#include "serial/qt/QtSerialLine.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSysInfo>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

namespace {

using namespace quorvex;

constexpr int kExitDone = 0;
constexpr int kExitRunFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitDifferences = 3;

const char* const kHelp =
    R"(Usage: quorvex-run [OPTIONS] SCRIPT...

Runs each script file SCRIPT against a registrar the way the button "Выполнить" of the
window "Команды и скрипты" does, from its first line to its end; several files run in
the order given, on the same connection.

Options:
  --port NAME          port of the first registrar (default EMU1): a name from the port
                       list (EMU1, EMU2 are the built-in emulated registrars, ttyS0 is
                       /dev/ttyS0) or a device path such as /dev/pts/3
  --speed BAUD         its speed in baud (default 19200)
  --second NAME        connect a second registrar on this port; commands of the script go
                       to it as well after %EnableSecond, and differences are reported
  --second-speed BAUD  its speed in baud (default 19200)
  --second-log LOG     the second registrar is a replay of the exchange log LOG (written
                       by --log or by [LogFile] Log=1): each request gets the answer
                       recorded for it (the n-th same request the n-th answer, the last
                       one repeats); a request never recorded is refused and named on
                       standard error
  --compare-all        compare every command of the scripts, not only those after
                       %EnableSecond (%DisableSecond still switches it off)
  --ignore CC[:N]      leave field N (counted from 0) of the answer of command CC (hex)
                       out of the comparison, or its whole answer without :N; repeatable
  --log FILE           write the exchange log to FILE
  --answer-end MODE    quiet (default): an exchange ends at the first 100 ms without a
                       byte after the answer; etx: at once at the ETX of an answer whose
                       checksum is good, or at a NAK. The bytes on the wire are the same;
                       etx saves about 100 ms per command. Quorvex itself takes the mode
                       from the key AnswerEnd in section [Communication] of fpinit.ini
  --quiet              as the check box "Не выводить данные": no exchange lines, and '+'
                       lines are sent as command lines
  --trace              write every exchange to standard error as it ends, one line each:
                       time (hh:mm:ss.zzz), registrar, code and command name, request
                       data, answer fields, status bytes, errors, round trip in ms
  --report FILE        write the comparison report to FILE as RTF instead of to stderr
  --junit FILE         write a JUnit XML report to FILE: one testcase per script file,
                       a failure for each that did not reach its end or whose answers
                       differed, the last 200 memo lines as its system-out
  --help               show this text

Output: the lines of the message memo go to standard output, one per line (UTF-8); the
texts of message boxes and, without --report, the comparison report go to standard error.

Exit status (with several script files, the worst of them: 2, then 1, then 3, then 0):
  0  the run reached the end of the file ("Конец файла!") and no difference was reported
  1  the run ended early: a script error, a command that could not be sent, a registrar
     time-out, or answers of the two registrars with different field counts
  2  bad options, a script file that cannot be read, or a port that cannot be opened
  3  the run reached the end of the file, but the two registrars' answers differed (the
     differences are on standard error or in the --report file)
)";

std::string utf8(const std::string& cp1251)
{
    return platform::fromCp1251(cp1251).toStdString();
}

void complain(const std::string& message)
{
    std::cerr << "quorvex-run: " << message << "\n";
}

// Message boxes of the link's result callbacks go to standard error; questions are declined.
class StderrDialogs final : public platform::Dialogs {
public:
    void showMessage(const std::string& text) override { std::cerr << utf8(text) << "\n"; }
    bool askOkCancel(const std::string&, const std::string&) override { return false; }
    std::optional<std::string> openFileName(const platform::FileDialogOptions&) override
    {
        return std::nullopt;
    }
    std::optional<std::string> saveFileName(const platform::FileDialogOptions&) override
    {
        return std::nullopt;
    }
};

class StderrReport final : public script::ComparisonReport {
public:
    void AppendReportLine(const std::string& text, script::Rgb) override
    {
        std::cerr << utf8(text) << "\n";
    }
};

// Passes report lines on and keeps those of the current script (UTF-8) for its JUnit case.
class NotingReport final : public script::ComparisonReport {
public:
    explicit NotingReport(script::ComparisonReport& target) : m_target(target) {}
    void AppendReportLine(const std::string& text, script::Rgb colour) override
    {
        m_lines.push_back(utf8(text));
        m_target.AppendReportLine(text, colour);
    }
    [[nodiscard]] bool reported() const { return !m_lines.empty(); }
    [[nodiscard]] const std::vector<std::string>& lines() const { return m_lines; }
    void startScript() { m_lines.clear(); }

private:
    script::ComparisonReport& m_target;
    std::vector<std::string> m_lines;
};

constexpr std::size_t kJUnitMemoLines = 200;

// The memo to standard output, message boxes to standard error; the last memo lines (control
// bytes shown as pictures) and the last message are kept for the JUnit report.
class TerminalHost final : public script::ScriptConsoleHost {
public:
    TerminalHost() { setKeepTexts(false); }
    void addMemoLine(const std::string& line) override
    {
        std::cout << utf8(line) << "\n";
        m_recent.push_back(platform::fromCp1251Visible(line).toStdString());
        if (m_recent.size() > kJUnitMemoLines)
            m_recent.pop_front();
    }
    void showMessage(const std::string& text) override
    {
        m_lastMessage = utf8(text);
        std::cerr << m_lastMessage << "\n";
    }
    void startScript()
    {
        m_recent.clear();
        m_lastMessage.clear();
    }
    [[nodiscard]] std::vector<std::string> recentLines() const
    {
        return {m_recent.begin(), m_recent.end()};
    }
    [[nodiscard]] const std::string& lastMessage() const { return m_lastMessage; }

private:
    std::deque<std::string> m_recent;
    std::string m_lastMessage;
};

// The link places its log in the current directory; a path given as absolute is made
// relative to it so that it still names the file the operator meant.
std::string logNameFor(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path relative =
        std::filesystem::path(path).is_absolute()
            ? std::filesystem::relative(path, std::filesystem::current_path(), error)
            : std::filesystem::path(path);
    return error || relative.empty() ? path : relative.string();
}

bool readable(const std::string& path)
{
    return std::ifstream(path, std::ios::binary).good();
}

// The port name under which --second-log's replay is registered.
std::string replayPortName(const std::string& logPath)
{
    return "replay:" + logPath;
}

// Registers the replay of --second-log as a virtual port; false (after a message) when the log
// cannot be read or holds no exchange. What the reader skipped is named, line by line.
bool registerSecondLog(const std::string& logPath)
{
    const auto contents = link::readExchangeLogFile(logPath);
    if (!contents) {
        complain("cannot read the exchange log " + logPath);
        return false;
    }
    for (const link::LogProblem& problem : contents->problems)
        complain(logPath + ":" + std::to_string(problem.line) + ": " + problem.text + " (skipped)");
    if (contents->exchanges.empty()) {
        complain("no exchange to replay in " + logPath);
        return false;
    }
    emulator::registerReplayPort(
        serial::portRegistry(), replayPortName(logPath), *contents,
        [](const emulator::HandledRequest& request) {
            complain("never recorded: " +
                     utf8(emulator::describeRequest(request.command, request.data)));
        });
    return true;
}

std::optional<std::string> secondPortOf(const script::RunOptions& options)
{
    if (options.secondLog)
        return replayPortName(*options.secondLog);
    return options.secondPort;
}

bool connectPorts(const script::RunOptions& options)
{
    if (!link::openRegistrar({link::Registrar::First, options.port, options.speed, {}})) {
        complain(utf8(link::lastOpenFailure()));
        return false;
    }
    if (const auto second = secondPortOf(options)) {
        if (!link::openRegistrar({link::Registrar::Second, *second, options.secondSpeed, {}})) {
            complain("second registrar: " + utf8(link::lastOpenFailure()));
            return false;
        }
        link::session().secondConnected = true;
    }
    return true;
}

int exitCodeFor(script::RunEnd end, bool differencesReported)
{
    if (end != script::RunEnd::EndOfFile)
        return kExitRunFailed;
    return differencesReported ? kExitDifferences : kExitDone;
}

// The worse of two statuses: a usage problem, then a run that ended early, then differences.
int worseStatus(int a, int b)
{
    const auto rank = [](int status) {
        switch (status) {
        case kExitUsage:
            return 3;
        case kExitRunFailed:
            return 2;
        case kExitDifferences:
            return 1;
        default:
            return 0;
        }
    };
    return rank(b) > rank(a) ? b : a;
}

// The comparison report lines of a script, blank ones left out, joined by `separator`.
std::string joinedReport(const std::vector<std::string>& lines, std::size_t limit,
                         const std::string& separator)
{
    std::string text;
    std::size_t taken = 0;
    for (const std::string& line : lines) {
        if (line.find_first_not_of(' ') == std::string::npos)
            continue;
        if (taken++ == limit)
            break;
        text += (text.empty() ? "" : separator) + line;
    }
    return text;
}

// Why a script failed, for its JUnit case; none when it passed.
std::optional<script::JUnitFailure> failureOf(script::RunEnd end, const TerminalHost& host,
                                              const NotingReport& report)
{
    constexpr std::size_t kMessageReportLines = 4;
    if (end == script::RunEnd::EndOfFile && !report.reported())
        return std::nullopt;
    if (end == script::RunEnd::EndOfFile || end == script::RunEnd::CountMismatch)
        return script::JUnitFailure{"differences",
                                    joinedReport(report.lines(), kMessageReportLines, "; "),
                                    joinedReport(report.lines(), report.lines().size(), "\n")};
    if (end == script::RunEnd::TimedOut)
        return script::JUnitFailure{"time-out", host.lastMessage(), {}};
    const link::Refusal refusal = link::processLink().lastRefusal();
    const bool notSent =
        refusal != link::Refusal::None &&
        host.lastMessage().find(utf8(link::refusalMessage(refusal))) != std::string::npos;
    return script::JUnitFailure{notSent ? "not sent" : "script error", host.lastMessage(), {}};
}

std::string utcTimestamp(std::time_t at)
{
    const std::tm utc = *std::gmtime(&at); // one thread: the shared result is read at once
    char text[80];                         // room for any int the fields could hold
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", utc.tm_year + 1900,
                  utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return text;
}

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Runs every script file in turn; `status` becomes the worst of their exit statuses.
script::JUnitSuite runScripts(const script::RunOptions& options, TerminalHost& host,
                              NotingReport& report, int& status)
{
    script::JUnitSuite suite{"quorvex-run",
                             utcTimestamp(std::time(nullptr)),
                             QSysInfo::machineHostName().toStdString(),
                             0,
                             {}};
    const auto second = secondPortOf(options);
    const std::string ports = second ? options.port + " vs " + *second : options.port;
    const Clock::time_point runStart = Clock::now();
    for (const std::string& path : options.scripts) {
        host.startScript();
        report.startScript();
        const Clock::time_point scriptStart = Clock::now();
        script::Interpreter interpreter(host);
        interpreter.setSecondSwitch(options.compareAll);
        interpreter.setScriptPath(path);
        const script::RunEnd end = interpreter.Run();
        std::cout.flush();
        status = worseStatus(status, exitCodeFor(end, report.reported()));
        suite.cases.push_back({path, ports, secondsSince(scriptStart), failureOf(end, host, report),
                               host.recentLines()});
    }
    suite.seconds = secondsSince(runStart);
    return suite;
}

// --trace: each exchange as the exchange monitor shows it, a tab-separated line on stderr.
class TraceObserver final : public link::ExchangeObserver {
public:
    void exchangeFinished(const link::ExchangeRecord& record) override
    {
        const link::DecodedExchange d = link::decodeExchange(record);
        const auto shown = [](const std::string& bytes) {
            return platform::fromCp1251Visible(bytes);
        };
        const QStringList columns = {
            QDateTime::fromMSecsSinceEpoch(record.wallMs).toString(QStringLiteral("hh:mm:ss.zzz")),
            shown(d.registrar),
            shown(d.code) + QLatin1Char(' ') + shown(d.name),
            shown(d.requestData),
            shown(d.answerFields),
            shown(d.status),
            shown(d.errors),
            shown(d.roundTripMs) + QStringLiteral(" ms")};
        std::cerr << columns.join(QLatin1Char('\t')).toStdString() << "\n";
    }
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const script::ParsedRunOptions parsed =
        script::parseRunOptions(std::vector<std::string>(argv + 1, argv + argc));
    const script::RunOptions& options = parsed.options;
    if (!parsed.error.empty()) {
        complain(parsed.error);
        std::cerr << "Try 'quorvex-run --help'.\n";
        return kExitUsage;
    }
    if (options.help) {
        std::cout << kHelp;
        return kExitDone;
    }
    for (const std::string& path : options.scripts) {
        if (!readable(path)) {
            complain("cannot read the script file " + path);
            return kExitUsage;
        }
    }

    StderrDialogs dialogs;
    platform::setDialogs(&dialogs);
    emulator::registerEmulatedPorts(serial::portRegistry());
    serial::installRealSerialFallback(serial::portRegistry());
    if (options.secondLog && !registerSecondLog(*options.secondLog))
        return kExitUsage;
    if (options.logFile)
        link::SetLogName(logNameFor(*options.logFile));
    link::processLink().setAnswerEnd(options.answerEnd);
    script::setComparisonIgnore(options.ignore);
    if (!connectPorts(options))
        return kExitUsage;
    TraceObserver trace;
    if (options.trace)
        link::processLink().addObserver(trace);

    StderrReport stderrReport;
    script::ReportDocument document;
    NotingReport report(options.reportFile ? static_cast<script::ComparisonReport&>(document)
                                           : stderrReport);
    script::setComparisonReport(&report);

    TerminalHost host;
    host.setNoOutput(options.quiet);
    int status = kExitDone;
    const script::JUnitSuite suite = runScripts(options, host, report, status);

    if (options.reportFile) {
        if (const std::error_code error = script::saveRtf(*options.reportFile, document.lines())) {
            complain("cannot write the report file " + *options.reportFile + ": " +
                     platform::reasonText(error));
            status = worseStatus(status, kExitRunFailed);
        }
    }
    if (options.junitFile) {
        if (const std::error_code error =
                platform::replaceFile(*options.junitFile, script::junitXml(suite))) {
            complain("cannot write the JUnit report " + *options.junitFile + ": " +
                     platform::reasonText(error));
            status = worseStatus(status, kExitRunFailed);
        }
    }
    script::setComparisonReport(nullptr);
    script::setComparisonIgnore({});
    link::processLink().removeObserver(trace);
    platform::setDialogs(nullptr);
    return status;
}
