// The value of a ticket per draw and the next draw's ceiling, as
// `mirkano-cli value` and the window 期待値 compute them, on each game's real
// prize data and on 32,767 draws with prize data: value/<game>/real,
// value/<game>/synthetic32767. Linear in the draws.

#include "prize_inputs.h"

#include "core/money/ticket_value.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace mirkano;
using namespace mirkano::bench;

namespace {

const bool registered = [] {
    for (const PrizeInput& in : kPrizeInputs) {
        benchmark::RegisterBenchmark((std::string("value/") + in.name).c_str(),
                                     [in](benchmark::State& state) {
                                         const Input& i = in.input();
                                         const PrizeTable& prizes = in.prizes();
                                         if (prizes.empty()) {
                                             state.SkipWithError("no prize data bundled for this game");
                                             return;
                                         }
                                         for (auto _ : state)
                                             benchmark::DoNotOptimize(ticketValues(in.game, i.history, prizes));
                                         state.SetItemsProcessed(state.iterations() * std::int64_t(i.history.size()));
                                     })
            ->Unit(benchmark::kMillisecond)
            ->MeasureProcessCPUTime();
    }
    return true;
}();

}  // namespace
