// The whole statistics report (every test of the history and the prediction
// test behind the prediction's record), as `mirkano-cli stats` and the
// window compute it: stats/<game>/real and stats/<game>/synthetic32767. It
// should grow about linearly with the draws. stats_record/<game>/… is the
// prediction record's tail alone, from the prediction test's picks.

#include "bench_inputs.h"

#include "core/stats/stats_report.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace mirkano;
using namespace mirkano::bench;

namespace {

const bool registered = [] {
    for (const GameInput& in : kGameInputs) {
        const Game& g = game(in.game);
        // The inputs' names carry the game except Loto 6's: stats/loto6/real.
        std::string name = in.name;
        if (in.game == GameId::Loto6)
            name = "loto6/" + name;
        benchmark::RegisterBenchmark(("stats/" + name).c_str(),
                                     [input = in.input, game = in.game](benchmark::State& state) {
                                         const Input& i = input();
                                         for (auto _ : state)
                                             benchmark::DoNotOptimize(stats::statsReport(i.history, game, ReflectFlags{}));
                                         state.SetItemsProcessed(state.iterations() *
                                                                 std::int64_t(i.history.size()));
                                     })
            ->Unit(benchmark::kMillisecond)
            ->MeasureProcessCPUTime();
        benchmark::RegisterBenchmark(("stats_record/" + name).c_str(),
                                     [input = in.input, game = in.game, &g](benchmark::State& state) {
                                         const Input& i = input();
                                         std::vector<int> picks, matches;
                                         runBacktest(i.history, game, ReflectFlags{}, std::nullopt,
                                                     [&](const BacktestStep& step) {
                                                         picks.push_back(int(step.predictions.multiple.size()));
                                                         matches.push_back(step.multipleMatches);
                                                     });
                                         for (auto _ : state)
                                             benchmark::DoNotOptimize(
                                                 stats::predictionRecordTest(picks, matches, g.pool, g.mains));
                                     })
            ->Unit(benchmark::kMillisecond)
            ->MeasureProcessCPUTime();
    }
    return true;
}();

}  // namespace
