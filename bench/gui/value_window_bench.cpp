// Opening the window 期待値 as the desktop program does — figures, chart,
// table, layout and the first paint into an offscreen image — on each game's
// real prize data and on 32,767 draws with prize data:
// window/value/<game>/real, window/value/<game>/synthetic32767.

#include "../prize_inputs.h"

#include "gui/money/value_window.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QMdiArea>

#include <string>

using namespace mirkano;
using namespace mirkano::bench;

namespace {

void openValueWindow(benchmark::State& state, const PrizeInput& in)
{
    const Input& i = in.input();
    const PrizeTable& prizes = in.prizes();
    if (prizes.empty()) {
        state.SkipWithError("no prize data bundled for this game");
        return;
    }
    QMdiArea area;
    area.resize(1600, 1200);
    area.show();
    for (auto _ : state) {
        auto* w = new ValueWindow;
        area.addSubWindow(w);
        w->load(i.history, prizes, in.game);
        w->show();
        QImage image(w->size(), QImage::Format_ARGB32_Premultiplied);
        w->render(&image);
        benchmark::DoNotOptimize(image.bits());
        delete w;
    }
}

const bool registered = [] {
    for (const PrizeInput& in : kPrizeInputs)
        benchmark::RegisterBenchmark((std::string("window/value/") + in.name).c_str(),
                                     [in](benchmark::State& s) { openValueWindow(s, in); })
            ->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace
