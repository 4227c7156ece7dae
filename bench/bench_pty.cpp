// Time per command over a pseudo-terminal: the link on the real serial line against the
// quorvex-emu program, in both answer-end modes. A command can take no less than the bytes on
// the wire at the baud rate (nominal on a pseudo-terminal, so nothing), plus, when the answer
// ends quietly, the one 100 ms read that finds the line quiet after the ETX; the overhead
// counters are what the program adds above that minimum. Medians are given beside means: on a
// shared machine a few commands wait for the scheduler, and the mean alone would mostly measure
// that.
#include "link/Frame.h"
#include "link/Link.h"
#include "serial/PortRegistry.h"
#include "serial/qt/QtSerialLine.h"
#include "tests/serial/qt/PtyEmulatorProcess.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <vector>

namespace {

using namespace quorvex;
using Clock = std::chrono::steady_clock;

constexpr double kQuietReadMs = 100.0;
constexpr std::size_t kStatusRequestBytes = 11; // GetStatus with data W
constexpr std::size_t kStatusAnswerBytes = 17;  // answer without data

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double wireMs(std::size_t bytes, int baud)
{
    return static_cast<double>(bytes) * 10 * 1000.0 / baud;
}

double mean(const std::vector<double>& values)
{
    return values.empty() ? 0 : std::accumulate(values.begin(), values.end(), 0.0) / values.size();
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Emulator {
    Emulator()
    {
        char pattern[] = "/tmp/quorvex-bench-pty-XXXXXX";
        directory = ::mkdtemp(pattern) ? pattern : "/tmp";
        process = std::make_unique<testing::PtyEmulatorProcess>(
            QUORVEX_EMU_PATH, std::vector<std::string>{}, directory);
    }
    ~Emulator()
    {
        process.reset();
        std::error_code ignored;
        std::filesystem::remove_all(directory, ignored);
    }
    std::string directory;
    std::unique_ptr<testing::PtyEmulatorProcess> process;
};

// Whole SendCommand of GetStatus through the link. Arguments: baud rate, answer end (0 quiet,
// 1 etx).
void BM_PtySendCommand(benchmark::State& state)
{
    const int baud = static_cast<int>(state.range(0));
    const bool etx = state.range(1) != 0;
    const double minimumMs = etx ? 0.0 : kQuietReadMs;
    Emulator emulator;
    serial::PortRegistry ports;
    serial::installRealSerialFallback(ports);
    link::Link link(ports);
    link.setAnswerEnd(etx ? link::AnswerEnd::Etx : link::AnswerEnd::Quiet);
    if (emulator.process->devicePath().empty() ||
        link.OpenFirstPort(emulator.process->devicePath(), baud) <= 0) {
        state.SkipWithError("quorvex-emu did not start");
        return;
    }
    std::uint32_t errors = 0;
    std::vector<double> commandMs;
    for (auto _ : state) {
        const auto start = Clock::now();
        (void)link.SendCommand(
            nullptr, [](link::RetData&) {}, 0, 0x4A, "W");
        commandMs.push_back(msSince(start));
        errors |= link.retData().ErrorFlags;
    }
    if (errors != 0)
        state.SkipWithError("the emulator answered with an error");
    state.counters["wire_ms"] = wireMs(kStatusRequestBytes + kStatusAnswerBytes, baud);
    state.counters["minimum_ms"] = minimumMs;
    state.counters["median_ms"] = median(commandMs);
    state.counters["overhead_ms"] = mean(commandMs) - minimumMs;
    state.counters["median_overhead_ms"] = median(commandMs) - minimumMs;
}

// The parts of one exchange on the bare line: request out until the ETX of the answer is read,
// and the read that then finds the line quiet.
void BM_PtyLineParts(benchmark::State& state)
{
    Emulator emulator;
    auto line = serial::openRealSerialLine(emulator.process->devicePath(), 115200);
    if (!line) {
        state.SkipWithError("quorvex-emu did not start");
        return;
    }
    const link::Bytes request = link::buildRequestFrame(0x21, 0x4A, "W");
    std::vector<double> toEtxMs;
    std::vector<double> quietReadMs;
    for (auto _ : state) {
        line->flush();
        line->purge();
        const auto start = Clock::now();
        line->write(request.data(), request.size());
        for (;;) {
            const serial::ReadResult r = line->readByte();
            if (r.kind != serial::ReadResult::Kind::Byte || r.byte == link::ETX)
                break;
        }
        toEtxMs.push_back(msSince(start));
        const auto quietStart = Clock::now();
        (void)line->readByte();
        quietReadMs.push_back(msSince(quietStart));
    }
    state.counters["median_request_to_etx_ms"] = median(toEtxMs);
    state.counters["median_quiet_read_ms"] = median(quietReadMs);
    state.counters["median_overhead_ms"] = median(toEtxMs) + median(quietReadMs) - kQuietReadMs;
}

} // namespace

BENCHMARK(BM_PtySendCommand)
    ->ArgNames({"baud", "etx"})
    ->ArgsProduct({{19200, 115200}, {0, 1}})
    ->Iterations(50)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PtyLineParts)->Iterations(20)->UseRealTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
