// quorvex-run: runs one script from the command line against a registrar, as "Выполнить" of
// the script window does, printing the message memo to standard output.
#include "emulator/EmulatedLine.h"
#include "link/Link.h"
#include "link/Session.h"
#include "platform/Dialogs.h"
#include "platform/qt/TextCodec.h"
#include "script/ComparisonReport.h"
#include "script/Interpreter.h"
#include "script/ReportDocument.h"
#include "script/RtfWriter.h"
#include "script/ScriptConsoleHost.h"
#include "serial/PortRegistry.h"
#include "serial/qt/QtSerialLine.h"

#include <QCoreApplication>

#include <cstdio>
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
    R"(Usage: quorvex-run [OPTIONS] SCRIPT

Runs the script file SCRIPT against a registrar the way the button "Выполнить" of the
window "Команды и скрипты" does, from its first line to its end.

Options:
  --port NAME          port of the first registrar (default EMU1): a name from the port
                       list (EMU1, EMU2 are the built-in emulated registrars, ttyS0 is
                       /dev/ttyS0) or a device path such as /dev/pts/3
  --speed BAUD         its speed in baud (default 19200)
  --second NAME        connect a second registrar on this port; commands of the script go
                       to it as well after %EnableSecond, and differences are reported
  --second-speed BAUD  its speed in baud (default 19200)
  --log FILE           write the exchange log to FILE
  --answer-end MODE    quiet (default): an exchange ends at the first 100 ms without a
                       byte after the answer; etx: at once at the ETX of an answer whose
                       checksum is good, or at a NAK. The bytes on the wire are the same;
                       etx saves about 100 ms per command. Quorvex itself takes the mode
                       from the key AnswerEnd in section [Communication] of fpinit.ini
  --quiet              as the check box "Не выводить данные": no exchange lines, and '+'
                       lines are sent as command lines
  --report FILE        write the comparison report to FILE as RTF instead of to stderr
  --help               show this text

Output: the lines of the message memo go to standard output, one per line (UTF-8); the
texts of message boxes and, without --report, the comparison report go to standard error.

Exit status:
  0  the run reached the end of the file ("Конец файла!") and no difference was reported
  1  the run ended early: a script error, a command that could not be sent, a registrar
     time-out, or answers of the two registrars with different field counts
  2  bad options, a script file that cannot be read, or a port that cannot be opened
  3  the run reached the end of the file, but the two registrars' answers differed (the
     differences are on standard error or in the --report file)
)";

struct Options {
    std::string port = "EMU1";
    int speed = 19200;
    std::optional<std::string> secondPort;
    int secondSpeed = 19200;
    std::optional<std::string> logFile;
    link::AnswerEnd answerEnd = link::AnswerEnd::Quiet;
    bool quiet = false;
    std::optional<std::string> reportFile;
    std::string script;
    bool help = false;
};

std::string utf8(const std::string& cp1251)
{
    return platform::fromCp1251(cp1251).toStdString();
}

void complain(const std::string& message)
{
    std::cerr << "quorvex-run: " << message << "\n";
}

std::optional<int> parseBaud(const std::string& text)
{
    if (text.empty() || text.size() > 7 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int value = std::stoi(text);
    return value > 0 ? std::optional<int>(value) : std::nullopt;
}

// Fills `options`; false (after a message) when the command line is not usable.
bool parseOptions(int argc, char** argv, Options& options)
{
    auto valueOf = [&](int& i, const std::string& option) -> std::optional<std::string> {
        if (i + 1 >= argc) {
            complain("option " + option + " needs a value");
            return std::nullopt;
        }
        return std::string(argv[++i]);
    };
    auto baudOf = [&](int& i, const std::string& option, int& target) {
        const auto text = valueOf(i, option);
        if (!text)
            return false;
        const auto baud = parseBaud(*text);
        if (!baud) {
            complain("option " + option + ": not a speed in baud: " + *text);
            return false;
        }
        target = *baud;
        return true;
    };
    auto textOf = [&](int& i, const std::string& option, auto& target) {
        const auto text = valueOf(i, option);
        if (!text)
            return false;
        target = *text;
        return true;
    };
    bool haveScript = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            return true;
        } else if (arg == "--port") {
            if (!textOf(i, arg, options.port))
                return false;
        } else if (arg == "--speed") {
            if (!baudOf(i, arg, options.speed))
                return false;
        } else if (arg == "--second") {
            if (!textOf(i, arg, options.secondPort))
                return false;
        } else if (arg == "--second-speed") {
            if (!baudOf(i, arg, options.secondSpeed))
                return false;
        } else if (arg == "--log") {
            if (!textOf(i, arg, options.logFile))
                return false;
        } else if (arg == "--answer-end") {
            const auto text = valueOf(i, arg);
            if (!text)
                return false;
            const auto mode = link::parseAnswerEnd(*text);
            if (!mode) {
                complain("option " + arg + ": not quiet or etx: " + *text);
                return false;
            }
            options.answerEnd = *mode;
        } else if (arg == "--report") {
            if (!textOf(i, arg, options.reportFile))
                return false;
        } else if (arg == "--quiet") {
            options.quiet = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            complain("unknown option " + arg);
            return false;
        } else if (haveScript) {
            complain("only one script file can be run: " + arg);
            return false;
        } else {
            options.script = arg;
            haveScript = true;
        }
    }
    if (!haveScript) {
        complain("no script file given");
        return false;
    }
    return true;
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

// Passes report lines on and notes whether any difference was reported.
class NotingReport final : public script::ComparisonReport {
public:
    explicit NotingReport(script::ComparisonReport& target) : m_target(target) {}
    void AppendReportLine(const std::string& text, script::Rgb colour) override
    {
        m_reported = true;
        m_target.AppendReportLine(text, colour);
    }
    [[nodiscard]] bool reported() const { return m_reported; }

private:
    script::ComparisonReport& m_target;
    bool m_reported = false;
};

// The memo to standard output, message boxes to standard error; nothing is kept.
class TerminalHost final : public script::ScriptConsoleHost {
public:
    TerminalHost() { setKeepTexts(false); }
    void addMemoLine(const std::string& line) override { std::cout << utf8(line) << "\n"; }
    void showMessage(const std::string& text) override { std::cerr << utf8(text) << "\n"; }
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

bool connectPorts(const Options& options)
{
    if (link::OpenFirstPort(options.port, options.speed) == -1) {
        complain(utf8(link::lastOpenFailure()));
        return false;
    }
    if (options.secondPort) {
        if (link::OpenSecondPort(*options.secondPort, options.secondSpeed) == -1) {
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

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::cerr << "Try 'quorvex-run --help'.\n";
        return kExitUsage;
    }
    if (options.help) {
        std::cout << kHelp;
        return kExitDone;
    }
    if (!readable(options.script)) {
        complain("cannot read the script file " + options.script);
        return kExitUsage;
    }

    StderrDialogs dialogs;
    platform::setDialogs(&dialogs);
    emulator::registerEmulatedPorts(serial::portRegistry());
    serial::installRealSerialFallback(serial::portRegistry());
    if (options.logFile)
        link::SetLogName(logNameFor(*options.logFile));
    link::processLink().setAnswerEnd(options.answerEnd);
    if (!connectPorts(options))
        return kExitUsage;

    StderrReport stderrReport;
    script::ReportDocument document;
    NotingReport report(options.reportFile ? static_cast<script::ComparisonReport&>(document)
                                           : stderrReport);
    script::setComparisonReport(&report);

    TerminalHost host;
    host.setNoOutput(options.quiet);
    script::Interpreter interpreter(host);
    interpreter.setScriptPath(options.script);
    const script::RunEnd end = interpreter.Run();
    std::cout.flush();

    int status = exitCodeFor(end, report.reported());
    if (options.reportFile && !script::saveRtf(*options.reportFile, document.lines())) {
        complain("cannot write the report file " + *options.reportFile);
        status = kExitRunFailed;
    }
    script::setComparisonReport(nullptr);
    platform::setDialogs(nullptr);
    return status;
}
