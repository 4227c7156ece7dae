// A command script in the script window against the emulated registrar EMU1, offscreen, next to
// the same script in the engine alone (as quorvex-run runs it), in both answer-end modes; the
// window's run again with the exchange monitor open, in both answer-end modes with the exchange
// log off and on; and the window's memory after 100,000 and after 1,000,000 lines (the memo
// keeps the last 100,000).
// Targets: the window within 3x of the engine in etx mode; with the monitor open, within 1.2x of
// the run without it in every mode; memory after 1,000,000 lines within 1.2x of memory after
// 100,000.
//   QT_QPA_PLATFORM=offscreen build/bench/bench_window_script [--short | --monitor]
// --short leaves out the 1,000,000-line run; --monitor runs only the monitor's part.
#include "emulator/EmulatedLine.h"
#include "link/Link.h"
#include "link/Session.h"
#include "link/ui/ExchangeMonitor.h"
#include "script/Interpreter.h"
#include "script/ScriptConsoleHost.h"
#include "script/ui/ScriptWindow.h"
#include "serial/PortRegistry.h"
#include "tests/support/platform/RecordingDialogs.h"

#include <QApplication>
#include <QPushButton>

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace {

using namespace quorvex;
using Clock = std::chrono::steady_clock;

// Best of several runs: a busy machine only ever makes a run slower.
constexpr int kRepeats = 5;

std::string commandScript(long lines)
{
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("quorvex-bench-window-" + std::to_string(lines) + ".txt"))
                                 .string();
    std::ofstream out(path, std::ios::binary);
    for (long i = 0; i < lines; ++i)
        out << "4AW\r\n";
    return path;
}

double seconds(const std::function<void()>& run)
{
    const auto start = Clock::now();
    run();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The processor time the program spent: on a machine shared with other work, what the monitor
// adds shows here, while the wall clock also counts the others' turns.
double processorSeconds(const std::function<void()>& run)
{
    const std::clock_t start = std::clock();
    run();
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

double engineRun(const std::string& path)
{
    script::ScriptConsoleHost host;
    host.setKeepTexts(false);
    script::Interpreter interpreter(host);
    interpreter.setScriptPath(path);
    return seconds([&] {
        if (interpreter.Run() != script::RunEnd::EndOfFile)
            std::fprintf(stderr, "the engine's run did not reach the end of the file\n");
    });
}

// Clears the memo, opens the script with "Открыть файл" and runs it with "Выполнить", as an
// operator does; the seconds it took by the clock given. Every run starts from an empty memo.
double windowRun(ui::ScriptWindow& window, platform::RecordingDialogs& dialogs,
                 const std::string& path,
                 const std::function<double(const std::function<void()>&)>& clock = seconds)
{
    window.findChild<QPushButton*>(QStringLiteral("clearMessagesButton"))->click();
    dialogs.queueOpenFile(path);
    window.findChild<QPushButton*>(QStringLiteral("openFileButton"))->click();
    dialogs.clear();
    return clock([&] { window.findChild<QPushButton*>(QStringLiteral("runButton"))->click(); });
}

// Resident memory once the allocator has given back what it holds free: the memory in use.
long residentKb()
{
    malloc_trim(0);
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const bool shortRun = argc > 1 && std::strcmp(argv[1], "--short") == 0;
    const bool monitorOnly = argc > 1 && std::strcmp(argv[1], "--monitor") == 0;

    platform::ScopedRecordingDialogs dialogs;
    link::session().programDirectory = std::filesystem::temp_directory_path().string();
    emulator::registerEmulatedPorts(serial::portRegistry());
    if (link::OpenFirstPort("EMU1", 115200) == -1) {
        std::fprintf(stderr, "EMU1 did not open\n");
        return 1;
    }
    ui::ScriptWindow window;
    window.show();
    window.refreshOnActivation();

    const std::string tenThousand = commandScript(10'000);
    const std::pair<const char*, link::AnswerEnd> modes[] = {{"etx", link::AnswerEnd::Etx},
                                                             {"quiet", link::AnswerEnd::Quiet}};
    std::printf("10,000 status commands (4AW) against EMU1, best of %d runs each\n", kRepeats);
    for (const auto& [name, mode] : modes) {
        if (monitorOnly)
            break;
        link::processLink().setAnswerEnd(mode);
        double engine = 1e9;
        double inWindow = 1e9;
        for (int i = 0; i < kRepeats; ++i) {
            engine = std::min(engine, engineRun(tenThousand));
            inWindow = std::min(inWindow, windowRun(window, *dialogs, tenThousand));
        }
        std::printf("  %-5s engine %.3f s, window %.3f s, window / engine %.2f\n", name, engine,
                    inWindow, inWindow / engine);
    }

    // The monitor's cost, in processor time: runs with it open and closed take turns.
    const std::string logPath =
        (std::filesystem::temp_directory_path() / "quorvex-bench-window.log").string();
    for (const bool logged : {false, true}) {
        link::SetLogName(logged ? logPath : "");
        for (const auto& [name, mode] : modes) {
            link::processLink().setAnswerEnd(mode);
            double closed = 1e9;
            double open = 1e9;
            ui::ExchangeMonitor monitor;
            for (int i = 0; i < kRepeats; ++i) {
                closed =
                    std::min(closed, windowRun(window, *dialogs, tenThousand, processorSeconds));
                monitor.open();
                QCoreApplication::processEvents(); // on the screen before the run starts
                open = std::min(open, windowRun(window, *dialogs, tenThousand, processorSeconds));
                monitor.hide();
                monitor.model().clear();
            }
            std::printf("  %-5s log %-3s window %.3f s of processor time, with the exchange "
                        "monitor open %.3f s, ratio %.2f\n",
                        name, logged ? "on" : "off", closed, open, open / closed);
        }
    }
    link::SetLogName("");
    std::filesystem::remove(logPath);
    link::processLink().setAnswerEnd(link::AnswerEnd::Etx);
    if (monitorOnly) {
        std::filesystem::remove(tenThousand);
        return 0;
    }

    const std::string hundredThousand = commandScript(100'000);
    const double run100k = windowRun(window, *dialogs, hundredThousand);
    const long rss100k = residentKb();
    std::printf("window, 100,000 lines: %.2f s, resident %ld kB\n", run100k, rss100k);
    if (!shortRun) {
        const std::string million = commandScript(1'000'000);
        const double run1m = windowRun(window, *dialogs, million);
        const long rss1m = residentKb();
        std::printf("window, 1,000,000 lines: %.2f s, resident %ld kB, / 100,000 lines %.2f\n",
                    run1m, rss1m, static_cast<double>(rss1m) / static_cast<double>(rss100k));
        std::filesystem::remove(million);
    }
    std::filesystem::remove(tenThousand);
    std::filesystem::remove(hundredThousand);
    return 0;
}
