// quorvex-run: runs script files from the command line against a registrar, as "Выполнить" of
// the script window does, printing the message memo to standard output.
#include "emulator/EmulatedLine.h"
#include "emulator/Replay.h"
#include "link/Connect.h"
#include "link/ExchangeDecode.h"
#include "link/ExchangeLog.h"
#include "link/Link.h"
#include "link/ResultState.h"
#include "link/Session.h"
#include "platform/Dialogs.h"
#include "platform/FileReplace.h"
#include "platform/qt/TextCodec.h"
#include "script/ComparisonReport.h"
#include "script/Interpreter.h"
#include "script/RecordingComparison.h"
#include "script/ReportDocument.h"
#include "script/RtfWriter.h"
#include "script/ScriptConsoleHost.h"
#include "script/tool/JUnitReport.h"
#include "script/tool/RunHelp.h"
#include "script/tool/RunOptions.h"
#include "script/tool/ScriptFiles.h"
#include "script/tool/StopSignals.h"
#include "serial/PortRegistry.h"
#include "serial/qt/RealSerialLine.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSysInfo>

#include <chrono>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

namespace {

using namespace quorvex;
using script::JUnitProblem;

constexpr int kExitDone = 0;
constexpr int kExitRunFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitDifferences = 3;

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
// bytes shown as pictures) and the last message are kept for the JUnit report. A stop signal
// abandons the running script at its next line, after the exchange in flight.
class TerminalHost final : public script::ScriptConsoleHost {
public:
    TerminalHost()
    {
        setKeepTexts(false);
        setOnProcessMessages([this] {
            if (script::stopSignal() != 0 && m_interpreter)
                m_interpreter->abandonRun();
        });
    }
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
    void startScript(script::Interpreter* interpreter)
    {
        m_interpreter = interpreter;
        m_recent.clear();
        m_lastMessage.clear();
    }
    void scriptEnded() { m_interpreter = nullptr; }
    [[nodiscard]] std::vector<std::string> recentLines() const
    {
        return {m_recent.begin(), m_recent.end()};
    }
    [[nodiscard]] const std::string& lastMessage() const { return m_lastMessage; }

private:
    script::Interpreter* m_interpreter = nullptr;
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

// The port name under which --second-log's replay is registered.
std::string replayPortName(const std::string& logPath)
{
    return "replay:" + logPath;
}

// Registers the replay of --second-log as a virtual port and makes it the recording the
// comparison knows of. False (after a message) when the log cannot be read, holds no exchange or
// has lines that cannot be used: a comparison needs the whole recording. Each recorded answer
// is used once; a request asked more often than recorded is a difference, like one never
// recorded.
bool registerSecondLog(const std::string& logPath)
{
    const emulator::LoadedReplay loaded =
        emulator::loadReplay(logPath, logPath, emulator::ReplayAnswers::WhenUsedUp::Unrecorded);
    for (const std::string& message : loaded.messages)
        complain(message);
    if (!loaded.answers)
        return false;
    if (!loaded.whole) {
        complain(logPath + ": a recording to compare against must be whole: cut the damaged "
                           "entries off or record again");
        return false;
    }
    auto recording = std::make_shared<script::RecordedSecondRegistrar>();
    emulator::registerReplayPort(
        serial::portRegistry(), replayPortName(logPath), loaded.answers,
        [recording](const emulator::HandledRequest& request, std::size_t timesRecorded) {
            complain(utf8(emulator::describeUnrecorded(request, timesRecorded)));
            recording->noteUnrecorded(request.command, request.data, timesRecorded);
        });
    script::setRecordedSecond(std::move(recording));
    // The log of this run holds only what the live registrar said.
    link::processLink().setSecondPortLogged(false);
    return true;
}

std::optional<std::string> secondPortOf(const script::RunOptions& options)
{
    if (options.secondLog)
        return replayPortName(*options.secondLog);
    return options.secondPort;
}

// Opens both registrars; the reason why not, empty when they are open.
std::string connectPorts(const script::RunOptions& options)
{
    if (!link::openRegistrar({link::Registrar::First, options.port, options.speed, {}}))
        return utf8(link::lastOpenFailure());
    if (const auto second = secondPortOf(options)) {
        if (!link::openRegistrar({link::Registrar::Second, *second, options.secondSpeed, {}}))
            return "second registrar: " + utf8(link::lastOpenFailure());
        link::session().secondConnected = true;
    }
    return {};
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

JUnitProblem errorOf(std::string type, std::string message)
{
    return {JUnitProblem::Kind::Error, std::move(type), std::move(message), {}};
}

// Why a script that ran did not pass, for its JUnit case; none when it passed.
std::optional<JUnitProblem> problemOf(script::RunEnd end, const TerminalHost& host,
                                      const NotingReport& report)
{
    constexpr std::size_t kMessageReportLines = 4;
    switch (end) {
    case script::RunEnd::EndOfFile:
    case script::RunEnd::CountMismatch:
        if (end == script::RunEnd::EndOfFile && !report.reported())
            return std::nullopt;
        return JUnitProblem{JUnitProblem::Kind::Failure, "differences",
                            joinedReport(report.lines(), kMessageReportLines, "; "),
                            joinedReport(report.lines(), report.lines().size(), "\n")};
    case script::RunEnd::TimedOut:
        // A registrar given up as busy (SYN past the busy limit) is no time-out.
        return errorOf((link::resultState().copy.ErrorFlags & link::ERR_BUSY) != 0 ? "busy"
                                                                                   : "time-out",
                       host.lastMessage());
    case script::RunEnd::Stopped:
        return errorOf("interrupted",
                       "interrupted by signal " + std::to_string(script::stopSignal()));
    case script::RunEnd::OpenFailed:
        return errorOf("unreadable script", host.lastMessage());
    default:
        break;
    }
    const link::Refusal refusal = link::processLink().lastRefusal();
    const bool notSent =
        refusal != link::Refusal::None &&
        host.lastMessage().find(utf8(link::refusalMessage(refusal))) != std::string::npos;
    return errorOf(notSent ? "not sent" : "script error", host.lastMessage());
}

int exitStatusOf(script::RunEnd end, bool differencesReported)
{
    switch (end) {
    case script::RunEnd::EndOfFile:
        return differencesReported ? kExitDifferences : kExitDone;
    case script::RunEnd::OpenFailed:
        return kExitUsage;
    default:
        return kExitRunFailed;
    }
}

// Local time with its offset from UTC, e.g. 2026-12-09T09:30:00+01:00.
std::string localTimestamp()
{
    const QDateTime now = QDateTime::currentDateTime();
    return now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODate).toStdString();
}

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
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

// One run of quorvex-run once its options are understood: where its outputs go, what it ran.
class Run {
public:
    explicit Run(const script::RunOptions& options)
        : m_options(options),
          m_report(options.reportFile ? static_cast<script::ComparisonReport&>(m_document)
                                      : m_stderrReport),
          m_suite{"quorvex-run", localTimestamp(), QSysInfo::machineHostName().toStdString(), 0, {}}
    {
        const auto second = secondPortOf(options);
        m_ports = second ? options.port + " vs " + *second : options.port;
    }

    // The output files and the log must be writable before anything is sent. False after a
    // message when one is not.
    bool checkOutputs()
    {
        const auto check = [](const std::optional<std::string>& path, const char* what) {
            if (!path)
                return true;
            const std::error_code error = platform::checkReplaceable(*path);
            if (error)
                complain(std::string("cannot write the ") + what + " " + *path + ": " +
                         platform::reasonText(error));
            return !error;
        };
        if (!check(m_options.junitFile, "JUnit report") ||
            !check(m_options.reportFile, "report file"))
            return false;
        if (!m_options.logFile)
            return true;
        link::SetLogName(logNameFor(*m_options.logFile));
        if (const std::error_code error = link::processLink().exchangeLog().check()) {
            complain("cannot write the exchange log " + *m_options.logFile + ": " +
                     platform::reasonText(error));
            return false;
        }
        // Said once; the run goes on, but ends with status 1: its log is not whole.
        link::processLink().exchangeLog().setFailureListener([this](const link::LogFailure& f) {
            complain((f.kind == link::LogFailure::Kind::CannotOpen
                          ? "cannot open the exchange log "
                          : "cannot write the exchange log ") +
                     f.path + ": " + platform::reasonText(f.reason) + "; the log is not whole");
            m_logFailed = true;
        });
        return true;
    }

    // Every case ends as an error without a run: the registrars could not be reached.
    void notRun(const script::ScriptFiles& scripts, const std::string& why)
    {
        for (const script::ScriptFile& file : scripts.files())
            m_suite.cases.push_back({file.name, m_ports, 0, errorOf("not run", why), {}});
        m_status = kExitUsage;
    }

    // Runs every script file in turn, until a stop signal.
    void runScripts(const script::ScriptFiles& scripts)
    {
        script::setComparisonReport(&m_report);
        m_host.setNoOutput(m_options.quiet);
        const Clock::time_point runStart = Clock::now();
        for (const script::ScriptFile& file : scripts.files()) {
            if (script::stopSignal() != 0)
                m_suite.cases.push_back(
                    {file.name,
                     m_ports,
                     0,
                     JUnitProblem{
                         JUnitProblem::Kind::Skipped, {}, "not run: the run was interrupted", {}},
                     {}});
            else if (!file.problem.empty())
                unreadable(file);
            else
                runScript(file);
        }
        m_suite.seconds = secondsSince(runStart);
        script::setComparisonReport(nullptr);
    }

    // Ends the sessions (the log's session-end lines), writes the report and the JUnit file,
    // flushes standard output; the exit status.
    int finish()
    {
        link::CloseSecondPort();
        link::CloseFirstPort();
        if (m_options.reportFile)
            save(*m_options.reportFile, "report file", [&](const std::string& path) {
                return script::saveRtf(path, m_document.lines());
            });
        if (m_options.junitFile)
            save(*m_options.junitFile, "JUnit report", [&](const std::string& path) {
                return platform::replaceFile(path, script::junitXml(m_suite));
            });
        std::cout.flush();
        if (m_logFailed)
            m_status = worseStatus(m_status, kExitRunFailed);
        return script::stopSignal() != 0 ? script::exitStatusForSignal(script::stopSignal())
                                         : m_status;
    }

private:
    void unreadable(const script::ScriptFile& file)
    {
        complain(file.problem);
        m_suite.cases.push_back(
            {file.name, m_ports, 0, errorOf("unreadable script", file.problem), {}});
        m_status = worseStatus(m_status, kExitUsage);
    }

    void runScript(const script::ScriptFile& file)
    {
        m_report.startScript();
        const Clock::time_point scriptStart = Clock::now();
        script::Interpreter interpreter(m_host);
        m_host.startScript(&interpreter);
        interpreter.setSecondSwitch(m_options.compareAll);
        interpreter.setScriptPath(file.path);
        const script::RunEnd end = interpreter.Run();
        m_host.scriptEnded();
        std::cout.flush();
        m_status = worseStatus(m_status, exitStatusOf(end, m_report.reported()));
        m_suite.cases.push_back({file.name, m_ports, secondsSince(scriptStart),
                                 problemOf(end, m_host, m_report), m_host.recentLines()});
    }

    template <typename Writer> void save(const std::string& path, const char* what, Writer write)
    {
        if (const std::error_code error = write(path)) {
            complain(std::string("cannot write the ") + what + " " + path + ": " +
                     platform::reasonText(error));
            m_status = worseStatus(m_status, kExitRunFailed);
        }
    }

    const script::RunOptions& m_options;
    StderrReport m_stderrReport;
    script::ReportDocument m_document;
    NotingReport m_report;
    TerminalHost m_host;
    script::JUnitSuite m_suite;
    std::string m_ports;
    int m_status = kExitDone;
    bool m_logFailed = false;
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
        std::cout << script::runHelp();
        return kExitDone;
    }
    script::installStopSignals();
    Run run(options);
    if (!run.checkOutputs())
        return kExitUsage;
    const script::ScriptFiles scripts(options.scripts);

    StderrDialogs dialogs;
    platform::setDialogs(&dialogs);
    emulator::registerEmulatedPorts(serial::portRegistry());
    serial::installRealSerialFallback(serial::portRegistry());
    link::processLink().setAnswerEnd(options.answerEnd);
    link::processLink().setBusyLimit(options.busyLimitSeconds);
    script::setComparisonIgnore(options.ignore);
    TraceObserver trace;
    if (options.trace)
        link::processLink().addObserver(trace);

    if (options.secondLog && !registerSecondLog(*options.secondLog)) {
        run.notRun(scripts, "the exchange log " + *options.secondLog + " cannot be replayed");
    } else if (const std::string failure = connectPorts(options); !failure.empty()) {
        complain(failure);
        run.notRun(scripts, failure);
    } else {
        run.runScripts(scripts);
    }
    const int status = run.finish();
    link::processLink().removeObserver(trace);
    platform::setDialogs(nullptr);
    return status;
}
