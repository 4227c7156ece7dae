// Loading a recorded exchange log for replay (quorvex-emu --replay, quorvex-run --second-log):
// a log of 1,000,000 exchanges, about 90 MB, read, paired and made into answers. Targets: at
// most 2 s, and a peak of at most twice the file's size in memory. The heap is counted by
// operator new; the peak resident size (VmHWM, reset before the load) is reported beside it.
#include "emulator/Replay.h"
#include "link/ExchangeLog.h"
#include "link/Frame.h"

#include "bench/support/HeapCount.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>

namespace {

using namespace quorvex;

constexpr long kExchanges = 1'000'000;

std::string answerLine(int command, const std::string& data, std::uint8_t s2)
{
    const link::Bytes frame = link::buildAnswerFrame(0x21, static_cast<std::uint8_t>(command), data,
                                                     {0x80, 0x80, s2, 0x80, 0x80, 0xBA});
    return ";" + std::string(frame.begin(), frame.end());
}

// A session of a day's work: status queries, sales of 500 articles, date and time, the
// diagnostic request; written entry by entry, so writing it costs no memory.
std::string writeLog()
{
    const std::string path = "/tmp/quorvex_bench_replay.log";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    platform::LocalTime time{8, 12, 2026, 9, 0, 0};
    out << link::ExchangeLog::formatEntry(time, "", "START");
    for (long i = 0; i < kExchanges; ++i) {
        time.second = static_cast<int>(i % 60);
        std::string request;
        std::string answer;
        switch (i % 4) {
        case 0:
            request = "4AW";
            answer = answerLine(0x4A, "", 0x80);
            break;
        case 1:
            request = "31\t" + std::to_string(i % 500) + "*1.000";
            answer = answerLine(0x31, "P,1234", 0x88);
            break;
        case 2:
            request = "3E";
            answer = answerLine(0x3E, "08-12-26 09:00:" + std::to_string(10 + i % 50), 0x88);
            break;
        default:
            request = "5A0";
            answer = answerLine(0x5A, "5.00 05Dec26 0900,0000,00000,3A,QV000001", 0x88);
            break;
        }
        out << link::ExchangeLog::formatEntry(time, "21", request)
            << link::ExchangeLog::formatEntry(time, " ", answer);
    }
    out << link::ExchangeLog::formatEntry(time, "END", "");
    return path;
}

// The peak resident size so far, in kB, and a reset of it (Linux).
long peakResidentKb()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        long value = 0;
        if (key == "VmHWM:" && status >> value)
            return value;
    }
    return -1;
}

void resetPeakResident()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

void BM_LoadOneMillionExchanges(benchmark::State& state)
{
    const std::string path = writeLog();
    const double fileBytes = static_cast<double>(std::filesystem::file_size(path));
    double heapPeak = 0;
    double residentGrowth = 0;
    for (auto _ : state) {
        malloc_trim(0);
        resetPeakResident();
        const long residentBefore = peakResidentKb();
        const std::size_t liveBefore = bench::restartHeapPeak();
        {
            const emulator::LoadedReplay loaded =
                emulator::loadReplay(path, path, emulator::ReplayAnswers::WhenUsedUp::Unrecorded);
            if (!loaded.answers || loaded.answers->answerCount() != kExchanges || !loaded.whole)
                state.SkipWithError("the log did not load whole");
            benchmark::DoNotOptimize(loaded.answers.get());
        }
        heapPeak = static_cast<double>(bench::heapPeakBytes() - liveBefore);
        residentGrowth = static_cast<double>(peakResidentKb() - residentBefore) * 1024.0;
    }
    state.counters["file_MB"] = fileBytes / 1e6;
    state.counters["heap_peak_MB"] = heapPeak / 1e6;
    state.counters["heap_peak/file"] = heapPeak / fileBytes;
    state.counters["rss_peak_growth_MB"] = residentGrowth / 1e6;
    std::remove(path.c_str());
}
BENCHMARK(BM_LoadOneMillionExchanges)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
