// Script interpreter figures: statements per second of a While/Oper loop without commands,
// and the peak memory of command-list runs of 1,000 and 1,000,000 lines against the emulator
// (it must not grow with the length of the script).
#include "emulator/EmulatedLine.h"
#include "link/Link.h"
#include "script/Interpreter.h"
#include "script/ScriptConsoleHost.h"
#include "serial/PortRegistry.h"

#include "bench/support/HeapCount.h"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/resource.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <new>
#include <string>

namespace {

using namespace quorvex;

std::string writeScript(const std::string& name, const std::string& head, const std::string& line,
                        long repeat, const std::string& tail)
{
    const std::string path = "/tmp/quorvex_bench_" + name + ".txt";
    std::ofstream out(path, std::ios::binary);
    out << head;
    for (long i = 0; i < repeat; ++i)
        out << line;
    out << tail;
    return path;
}

void connectEmulator()
{
    static const bool connected = [] {
        emulator::registerEmulatedPorts(serial::portRegistry());
        return link::OpenFirstPort("EMU1", 19200) != -1;
    }();
    if (!connected)
        std::abort();
}

long maxRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void BM_WhileOperLoop(benchmark::State& state)
{
    const long passes = state.range(0);
    const std::string path =
        writeScript("loop",
                    "%DeclareBeg\n%New i\n%New s\n%DeclareEnd\n%Set i = \"0\"\n%Set s = \"0\"\n"
                    "%While (i < " +
                        std::to_string(passes) +
                        ")\n%Oper (i, 1, 0, i)\n%Oper (s, i, 0, s)\n"
                        "%EndWhile\n",
                    "", 0, "");
    script::ScriptConsoleHost host;
    host.setKeepTexts(false);
    script::Interpreter interpreter(host);
    interpreter.setScriptPath(path);
    long statements = 0;
    for (auto _ : state) {
        if (interpreter.Run() != script::RunEnd::EndOfFile)
            state.SkipWithError("the loop script did not run to its end");
        statements += interpreter.lineCounter() == 0 ? 0 : 6 + 4 * passes;
    }
    state.counters["statements/s"] =
        benchmark::Counter(static_cast<double>(statements), benchmark::Counter::kIsRate);
    std::remove(path.c_str());
}
BENCHMARK(BM_WhileOperLoop)->Arg(100000)->Unit(benchmark::kMillisecond);

// The emulator keeps a history of handled requests for tests; it is cleared now and then so
// that only the interpreter and the link are measured.
void BM_CommandListMemory(benchmark::State& state)
{
    connectEmulator();
    const long lines = state.range(0);
    const std::string path = writeScript("commands" + std::to_string(lines), "", "0F\n", lines, "");
    script::ScriptConsoleHost host;
    host.setKeepTexts(false);
    host.setNoRepaint(true);
    emulator::Registrar& registrar = emulator::processRegistrar(1);
    host.setOnProcessMessages([&registrar] {
        if (registrar.handledRequests().size() >= 1000) {
            const emulator::Identity identity = registrar.identity();
            registrar.reset(identity);
        }
    });
    script::Interpreter interpreter(host);
    interpreter.setScriptPath(path);
    const std::size_t liveBefore = bench::restartHeapPeak();
    for (auto _ : state) {
        if (interpreter.Run() != script::RunEnd::EndOfFile)
            state.SkipWithError("the command script did not run to its end");
    }
    state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lines) * state.iterations(),
                                                   benchmark::Counter::kIsRate);
    state.counters["peak_extra_heap_bytes"] =
        static_cast<double>(bench::heapPeakBytes() - liveBefore);
    state.counters["maxrss_kb"] = static_cast<double>(maxRssKb());
    std::remove(path.c_str());
}
BENCHMARK(BM_CommandListMemory)
    ->Arg(1000)
    ->Arg(1000000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
