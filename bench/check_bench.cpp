// The ticket check and the prediction test over the bundled history, and
// over the longest history the draw numbers allow (the real draws repeated
// up to 回数 32767). Both are one pass: the prediction test grows the
// engine's draw table draw by draw instead of rebuilding it for every draw,
// so it should stay well under a second on the real history.

#include "core/backtest/backtest.h"
#include "core/check/ticket_check.h"
#include "core/history/history_csv.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace mirkano;

namespace {

const History& realHistory()
{
    static const History h = readHistoryCsv(QStringLiteral(MIRKANO_SAMPLE_CSV));
    return h;
}

const History& longestHistory()
{
    static const History h = [] {
        const History& real = realHistory();
        History out;
        out.reserve(kMaxDrawNo);
        for (int n = 1; n <= kMaxDrawNo; ++n) {
            DrawRecord d = real[std::size_t(n - 1) % real.size()];
            d.drawNo = n;
            out.push_back(d);
        }
        return out;
    }();
    return h;
}

using HistoryFn = const History& (*)();

ReflectFlags allOn()
{
    ReflectFlags f;
    f.on.fill(true);
    return f;
}

void registerAll(const char* name, HistoryFn history)
{
    benchmark::RegisterBenchmark((std::string("ticket_check/") + name).c_str(), [history](benchmark::State& state) {
        const History& h = history();
        for (auto _ : state)
            benchmark::DoNotOptimize(buildTicketCheckSheet(checkTicket(h, {4, 8, 10, 25, 28, 33})));
        state.SetItemsProcessed(state.iterations() * std::int64_t(h.size()));
    })->Unit(benchmark::kMicrosecond);
    for (const auto& [flagsName, flags] : {std::pair{"off", ReflectFlags{}}, std::pair{"all", allOn()}}) {
        benchmark::RegisterBenchmark((std::string("backtest/") + flagsName + '/' + name).c_str(),
                                     [history, flags = flags](benchmark::State& state) {
                                         const History& h = history();
                                         for (auto _ : state)
                                             benchmark::DoNotOptimize(buildBacktestSheet(runBacktest(h, flags)));
                                         state.SetItemsProcessed(state.iterations() * std::int64_t(h.size()));
                                     })
            ->Unit(benchmark::kMillisecond);
    }
}

const bool registered = [] {
    registerAll("real", &realHistory);
    registerAll("longest32767", &longestHistory);
    return true;
}();

}  // namespace
