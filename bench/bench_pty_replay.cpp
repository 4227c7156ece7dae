// A 10,000-command script run by quorvex-run's engine (the interpreter on the process link, etx
// answer end) over a pseudo-terminal, once against quorvex-emu and once against
// quorvex-emu --replay of a log of the same commands. Both runs are measured in one process;
// the replayed run is meant to take less than 1.5 times the emulated one.
#include "emulator/EmulatedLine.h"
#include "link/ExchangeLog.h"
#include "link/Link.h"
#include "script/Interpreter.h"
#include "script/ScriptConsoleHost.h"
#include "serial/PortRegistry.h"
#include "serial/qt/QtSerialLine.h"
#include "tests/serial/qt/PtyEmulatorProcess.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>

namespace {

using namespace quorvex;
using Clock = std::chrono::steady_clock;

constexpr int kCommands = 10'000;
constexpr int kBaud = 115200;

struct Request {
    int code;
    std::string data;
};

// Status, diagnostics and display texts, the texts varied so the log holds many requests.
std::vector<Request> requests()
{
    std::vector<Request> list;
    for (int i = 0; list.size() < kCommands; ++i) {
        list.push_back({0x4A, "W"});
        list.push_back({0x5A, "0"});
        list.push_back({0x21, "Line" + std::to_string(i % 1000)});
        list.push_back({0x0F, ""});
    }
    list.resize(kCommands);
    return list;
}

std::string scriptText(const std::vector<Request>& list)
{
    std::string text;
    char code[8];
    for (const Request& r : list) {
        std::snprintf(code, sizeof code, "%02X", static_cast<unsigned>(r.code));
        text += code + r.data + "\n";
    }
    return text;
}

// The exchange log of the requests sent to an in-process emulated registrar.
void recordLog(const std::vector<Request>& list, const std::filesystem::path& directory)
{
    serial::PortRegistry ports;
    emulator::registerEmulatedPorts(ports);
    link::Link link(ports);
    link.exchangeLog().setDirectoryProvider([directory] { return directory.string(); });
    link.SetLogName("recorded.log");
    link.setAnswerEnd(link::AnswerEnd::Etx);
    (void)link.OpenFirstPort("EMU1", kBaud);
    for (const Request& r : list)
        (void)link.SendCommand(
            nullptr, [](link::RetData&) {}, 0, r.code, r.data);
    link.CloseFirstPort();
}

// Seconds the interpreter takes to run the script against quorvex-emu with these options;
// negative when the emulator did not start or the run did not reach the end.
double runSeconds(const std::string& script, const std::vector<std::string>& emulatorOptions,
                  const std::filesystem::path& directory)
{
    testing::PtyEmulatorProcess emulator(QUORVEX_EMU_PATH, emulatorOptions, directory.string());
    if (emulator.devicePath().empty() || link::OpenFirstPort(emulator.devicePath(), kBaud) == -1)
        return -1;
    script::ScriptConsoleHost host;
    host.setKeepTexts(false);
    host.setNoOutput(true);
    script::Interpreter interpreter(host);
    interpreter.setScriptPath(script);
    const auto start = Clock::now();
    const script::RunEnd end = interpreter.Run();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    link::CloseFirstPort();
    return end == script::RunEnd::EndOfFile ? seconds : -1;
}

void BM_ReplayAgainstEmulator(benchmark::State& state)
{
    char pattern[] = "/tmp/quorvex-bench-replay-XXXXXX";
    const std::filesystem::path directory = ::mkdtemp(pattern) ? pattern : "/tmp";
    const std::vector<Request> list = requests();
    recordLog(list, directory);
    const std::string script = (directory / "run.txt").string();
    std::ofstream(script, std::ios::binary) << scriptText(list);
    const std::string log = (directory / "recorded.log").string();

    double emulated = 0;
    double replayed = 0;
    for (auto _ : state) {
        emulated = runSeconds(script, {}, directory);
        replayed = runSeconds(script, {"--replay", log}, directory);
    }
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
    if (emulated <= 0 || replayed <= 0) {
        state.SkipWithError("a run did not reach the end of its script");
        return;
    }
    state.counters["commands"] = kCommands;
    state.counters["emulator_s"] = emulated;
    state.counters["replay_s"] = replayed;
    state.counters["replay_per_emulator"] = replayed / emulated;
}

} // namespace

BENCHMARK(BM_ReplayAgainstEmulator)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    serial::installRealSerialFallback(serial::portRegistry());
    link::processLink().setAnswerEnd(link::AnswerEnd::Etx);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
