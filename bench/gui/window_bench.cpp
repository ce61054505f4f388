// Opening every analysis window the way the desktop program does — builder,
// layout and the first paint of the real grid widget into an offscreen image —
// on the bundled history and on 32,767 draws; and the desktop program's
// memory with every window open. Run with QT_QPA_PLATFORM=offscreen.
//
// desktop_all_windows/<input> reports the resident memory of the whole
// process once the main window has loaded the history file and opened every
// window; run it alone (--benchmark_filter=desktop_all_windows/real) so that
// nothing else has grown the process before.

#include "../bench_inputs.h"

#include "core/analysis/analysis.h"
#include "core/history/history_store.h"
#include "gui/sheet/analysis_window.h"
#include "gui/sheet/grid_units.h"
#include "gui/shell/main_frm.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMdiArea>
#include <QTemporaryDir>

#include <fstream>
#include <string>

using namespace mirkano;
using namespace mirkano::bench;

namespace mirkano::bench {
// print/<analysis id>/<input>, print/prediction/real: see print_bench.cpp.
void registerPrintBenchmarks();
}  // namespace mirkano::bench

namespace {

// A line of /proc/self/status ("VmRSS", "VmHWM") in MiB.
double statusMiB(const std::string& key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key + ':', 0) == 0)
            return std::stod(line.substr(key.size() + 1)) / 1024.0;
    return 0;
}

void openWindow(benchmark::State& state, InputFn input, const Analysis& a)
{
    const Input& in = input();
    QMdiArea area;
    area.resize(1600, 1200);
    area.show();
    for (auto _ : state) {
        auto* w = new AnalysisWindow(a);
        area.addSubWindow(w);
        w->load(in.history, in.tables);
        w->show();
        QImage image(w->size(), QImage::Format_ARGB32_Premultiplied);
        w->render(&image);
        benchmark::DoNotOptimize(image.bits());
        delete w;
    }
}

void allWindows(benchmark::State& state, InputFn input)
{
    const Input& in = input();
    QTemporaryDir dir;
    const QString path = dir.filePath(kHistoryFileName);
    saveHistory(path, in.history);
    for (auto _ : state) {
        MainFrm frame(path);
        if (!frame.load()) {
            state.SkipWithError("the history file did not load");
            return;
        }
        frame.resize(1600, 1200);
        frame.show();
        for (const Analysis& a : analyses()) {
            AnalysisWindow* w = frame.openAnalysis(QString::fromLatin1(a.id));
            QImage image(w->size(), QImage::Format_ARGB32_Premultiplied);
            w->render(&image);
        }
        QApplication::processEvents();
        state.counters["rss_MiB"] = statusMiB("VmRSS");
        state.counters["peak_MiB"] = statusMiB("VmHWM");
        frame.close();
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setFont(uiFont());
    // window/<analysis id>/<input>, every game (window/frequency/loto7/real).
    for (const GameInput& in : kGameInputs)
        for (const Analysis& a : analyses(in.game))
            benchmark::RegisterBenchmark((std::string("window/") + a.id + '/' + in.name).c_str(),
                                         [input = in.input, &a](benchmark::State& s) { openWindow(s, input, a); })
                ->Unit(benchmark::kMillisecond);
    for (const NamedInput& in : kInputs) {
        benchmark::RegisterBenchmark((std::string("desktop_all_windows/") + in.name).c_str(),
                                     [input = in.input](benchmark::State& s) { allWindows(s, input); })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    }
    registerPrintBenchmarks();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
