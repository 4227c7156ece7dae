// Start-up time as a user sees it: from starting the process until the main window is shown and
// its first paint is done. The program starts itself again a number of times (default 10); each
// child builds the application the way Quorvex does (platform services, all sixteen windows,
// the main window centred and shown, which reads fpinit.ini and lists the ports) and notes when
// each phase ended on the system-wide monotonic clock, so the parent can measure from just
// before it started the child, dynamic loading included.
//
//   bench_startup [RUNS]        without a display the windows are drawn offscreen
#include "app/AppWindows.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "platform/qt/WindowPlacement.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

extern char** environ;

namespace {

using namespace quorvex;

constexpr const char* kChildFlag = "--child";
constexpr int kDefaultRuns = 10;
constexpr int kGiveUpMs = 10000;

enum Phase { MainEntered, ServicesReady, WindowsCreated, Shown, Painted, PhaseCount };
const std::array<const char*, PhaseCount> kPhaseNames = {
    "main() entered", "application and services", "sixteen windows created", "main window shown",
    "first paint done"};

std::int64_t monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// Notes the end of the main window's first paint: the queued call runs once the paint event
// has been handled.
class FirstPaintWatch : public QObject {
public:
    explicit FirstPaintWatch(std::int64_t& paintedNs) : m_paintedNs(paintedNs) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, this, [this] {
                m_paintedNs = monotonicNs();
                QApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::int64_t& m_paintedNs;
    bool m_seen = false;
};

// The child: one start-up, its phase times written to `resultPath`, one number per line.
int runChild(int argc, char** argv, const std::string& resultPath)
{
    std::array<std::int64_t, PhaseCount> ns{};
    ns[MainEntered] = monotonicNs();
    ui::GuardedApplication application(argc, argv);
    ui::installPlatformServices();
    ns[ServicesReady] = monotonicNs();
    const ui::AppWindows windows = ui::createWindows();
    std::unique_ptr<ui::MainWindow> mainWindow(windows.main);
    ns[WindowsCreated] = monotonicNs();
    FirstPaintWatch watch(ns[Painted]);
    mainWindow->installEventFilter(&watch);
    mainWindow->adjustSize();
    platform::centreOnScreen(*mainWindow);
    mainWindow->show();
    ns[Shown] = monotonicNs();
    QTimer::singleShot(kGiveUpMs, &application, [] { QApplication::exit(1); });
    const int status = QApplication::exec();
    std::ofstream out(resultPath);
    for (const std::int64_t value : ns)
        out << value << "\n";
    return status;
}

// Starts one child in `directory` and returns the phase times in ms since just before it was
// started, or nothing when it failed.
std::vector<double> runOnce(const std::string& self, const std::string& directory)
{
    const std::string resultPath = directory + "/phases.txt";
    std::filesystem::remove(resultPath);
    std::vector<std::string> args = {self, kChildFlag, resultPath};
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    const std::int64_t started = monotonicNs();
    pid_t pid = 0;
    if (posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return {};
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    std::ifstream in(resultPath);
    std::vector<double> ms;
    std::int64_t value = 0;
    while (in >> value)
        ms.push_back(static_cast<double>(value - started) / 1e6);
    return ms.size() == PhaseCount ? ms : std::vector<double>{};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == kChildFlag)
        return runChild(argc, argv, argv[2]);

    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRuns;
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") &&
        !std::getenv("WAYLAND_DISPLAY"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);

    // The children start where an empty fpinit.ini lets the main window come up.
    char pattern[] = "/tmp/quorvex-bench-startup-XXXXXX";
    const std::string directory = ::mkdtemp(pattern) ? pattern : "/tmp";
    std::ofstream(directory + "/fpinit.ini").put('\n');
    const std::string self = std::filesystem::canonical("/proc/self/exe").string();
    std::filesystem::current_path(directory);

    std::vector<std::vector<double>> byPhase(PhaseCount);
    for (int i = 0; i < runs; ++i) {
        const std::vector<double> ms = runOnce(self, directory);
        if (ms.empty()) {
            std::fprintf(stderr, "bench_startup: run %d failed\n", i + 1);
            return 1;
        }
        for (int p = 0; p < PhaseCount; ++p)
            byPhase[p].push_back(ms[p]);
    }
    std::filesystem::remove_all(directory);

    std::printf("Start-up over %d runs (QT_QPA_PLATFORM=%s), ms since the process was started:\n",
                runs, std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "");
    std::printf("%-28s %9s %9s %9s\n", "phase ended", "median", "min", "max");
    for (int p = 0; p < PhaseCount; ++p) {
        const auto [low, high] = std::minmax_element(byPhase[p].begin(), byPhase[p].end());
        std::printf("%-28s %9.1f %9.1f %9.1f\n", kPhaseNames[p], median(byPhase[p]), *low, *high);
    }
    return 0;
}
