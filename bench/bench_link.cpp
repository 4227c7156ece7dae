// Commands per second through SendCommand against the in-process emulated registrar (virtual
// time), and the cost of the frame codec alone.
#include "emulator/EmulatedLine.h"
#include "emulator/Registrar.h"
#include "link/Frame.h"
#include "link/Link.h"

#include <benchmark/benchmark.h>

namespace {

using namespace quorvex;

class EmulatedLink {
public:
    EmulatedLink()
    {
        m_registry.addVirtualPort("EMU", [this](const std::string&, int) {
            return emulator::makeEmulatedLine(m_registrar);
        });
        if (m_link.OpenFirstPort("EMU", 19200) < 0)
            throw std::runtime_error("cannot open the emulated port");
    }
    link::Link& link() { return m_link; }

private:
    emulator::Registrar m_registrar;
    serial::PortRegistry m_registry;
    link::Link m_link{m_registry};
};

void runCommands(benchmark::State& state, int command, const std::string& data)
{
    EmulatedLink emulated;
    std::uint32_t errors = 0;
    for (auto _ : state) {
        (void)emulated.link().SendCommand(
            nullptr, [&](link::RetData& r) { errors |= r.ErrorFlags & 0xFF000000u; }, 0, command,
            data);
    }
    if (errors != 0)
        state.SkipWithError("link error during the run");
    state.SetItemsProcessed(state.iterations());
}

void BM_SendCommand_Status(benchmark::State& state)
{
    runCommands(state, 0x4A, "W");
}
BENCHMARK(BM_SendCommand_Status);

void BM_SendCommand_DateTime(benchmark::State& state)
{
    runCommands(state, 0x3E, "");
}
BENCHMARK(BM_SendCommand_DateTime);

void BM_SendCommand_Diagnostics(benchmark::State& state)
{
    runCommands(state, 0x5A, "");
}
BENCHMARK(BM_SendCommand_Diagnostics);

void BM_FrameCodec_RequestAndAnswer(benchmark::State& state)
{
    const std::string answerData(100, 'a');
    const link::Bytes answer = link::buildAnswerFrame(0x21, 0x4A, answerData, {});
    link::AnswerReceiver receiver;
    for (auto _ : state) {
        benchmark::DoNotOptimize(link::buildRequestFrame(0x21, 0x4A, "W"));
        receiver.reset();
        for (std::uint8_t b : answer)
            receiver.feed(b);
        benchmark::DoNotOptimize(receiver.checksumOk());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FrameCodec_RequestAndAnswer);

} // namespace

BENCHMARK_MAIN();
