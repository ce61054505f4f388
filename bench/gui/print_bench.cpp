// Printing every analysis window's sheet, and the prediction window's page,
// into a PDF printer, as the print preview and 印刷 do, on the bundled history
// and on 32,767 draws. Run with QT_QPA_PLATFORM=offscreen.
//
// extra_MiB is how much the process's peak resident memory grew during the
// print: the peak is reset (/proc/self/clear_refs) before each print, so
// what earlier benchmarks used does not hide it. pages is the page count, so
// that the time per page can be read off.

#include "../bench_inputs.h"

#include "core/analysis/analysis.h"
#include "gui/predict/prediction_window.h"
#include "gui/sheet/sheet_print.h"

#include <benchmark/benchmark.h>

#include <QPrinter>
#include <QTemporaryDir>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>

using namespace mirkano;
using namespace mirkano::bench;

namespace mirkano::bench {

namespace {

double peakMiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

void resetPeak()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}

// Runs the print into a fresh PDF printer each iteration and reports the
// growth of the peak memory during the last one.
void measurePrint(benchmark::State& state, QPageLayout::Orientation orientation,
                  const std::function<int(QPrinter&)>& print)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("print.pdf"));
    double extra = 0;
    int pages = 0;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageOrientation(orientation);
        resetPeak();
        const double before = peakMiB();
        pages = print(printer);
        extra = std::max(0.0, peakMiB() - before);
    }
    state.counters["extra_MiB"] = extra;
    state.counters["pages"] = pages;
}

void printAnalysis(benchmark::State& state, InputFn input, const Analysis& a)
{
    const Input& in = input();
    const Sheet sheet = a.build(in.history, in.tables);
    measurePrint(state, preferredOrientation(sheet), [&](QPrinter& printer) {
        printSheet(printer, sheet, {a.facts.caption, historySourceText(in.tables.gameId, in.tables.latestDrawNo)});
        const double scale = printer.logicalDpiX() / 96.0;
        const QRect area = printer.pageLayout().paintRectPixels(printer.logicalDpiX());
        return SheetPages(sheet, QSizeF(area.size()) / scale).count();
    });
}

void printPrediction(benchmark::State& state, InputFn input)
{
    const Input& in = input();
    ReflectFlags flags;
    flags.on.fill(true);
    PredictionWindow window(flags);
    window.load(in.history, in.history.back().drawNo);
    measurePrint(state, QPageLayout::Portrait, [&](QPrinter& printer) {
        window.printTo(printer);
        return 1;
    });
}

}  // namespace

void registerPrintBenchmarks()
{
    for (const NamedInput& in : kInputs)
        for (const Analysis& a : analyses())
            benchmark::RegisterBenchmark((std::string("print/") + a.id + '/' + in.name).c_str(),
                                         [input = in.input, &a](benchmark::State& s) { printAnalysis(s, input, a); })
                ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("print/prediction/real",
                                 [](benchmark::State& s) { printPrediction(s, &realInput); })
        ->Unit(benchmark::kMillisecond);
}

}  // namespace mirkano::bench
