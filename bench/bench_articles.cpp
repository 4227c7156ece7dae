// Loading an article file of 11,500 lines: reading and splitting it, and filling the sales
// window's grid with it (what opening the window does once the file is chosen). Target: well
// under a second, 200 ms on the development machine.
#include "fiscal/ArticleFile.h"
#include "fiscal/ui/SalesWindow.h"
#include "tests/support/platform/RecordingDialogs.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int kLines = 11'500;

// Lines like "А;1234;12;345.67;Товар номер 1234;" in Windows-1251.
const std::string& articleFile()
{
    static const std::string path = [] {
        const std::string file =
            (std::filesystem::temp_directory_path() / "quorvex-bench-articles.art").string();
        std::ofstream out(file, std::ios::binary);
        for (int i = 1; i <= kLines; ++i)
            out << "\xC0;" << i << ';' << i % 99 + 1 << ';' << i % 1000 << '.' << i % 100 / 10
                << i % 10 << ";\xD2\xEE\xE2\xE0\xF0 \xED\xEE\xEC\xE5\xF0 " << i << ";\n";
        return file;
    }();
    return path;
}

void BM_ReadArticleFile(benchmark::State& state)
{
    for (auto _ : state) {
        const auto rows = quorvex::fiscal::readArticleFile(articleFile(), kLines);
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_ReadArticleFile)->Unit(benchmark::kMillisecond);

void BM_FillSalesGrid(benchmark::State& state)
{
    quorvex::platform::ScopedRecordingDialogs dialogs;
    quorvex::ui::SalesWindow form;
    for (auto _ : state) {
        const bool loaded = form.loadArticleFile(articleFile());
        benchmark::DoNotOptimize(loaded);
    }
    state.counters["rows"] = static_cast<double>(quorvex::ui::SalesWindow::kGridRows - 1);
}
BENCHMARK(BM_FillSalesGrid)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(articleFile().c_str());
    return 0;
}
