// Building every analysis sheet, and the start-up tables, from the bundled
// history and from the longest history the draw numbers allow. Each builder
// should grow linearly with the number of draws. The prediction is measured
// as the window uses it: the opening (tables, predictions and four sheets)
// and one option change (predictions and sheets from the tables built).

#include "core/analysis/analysis.h"
#include "core/predict/prediction_sheets.h"
#include "core/shell/history_csv.h"
#include "core/shell/startup_tables.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <string>

using namespace mirkano;

namespace {

// 32,767 complete draws, each seven distinct numbers from a fixed-seed
// generator, so every run measures the same history.
History syntheticHistory()
{
    History h;
    h.reserve(kMaxDrawNo);
    std::uint32_t state = 12345;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (int drawNo = 1; drawNo <= kMaxDrawNo; ++drawNo) {
        DrawRecord d{drawNo, {}};
        std::array<bool, kMaxNumber + 1> used{};
        for (int& n : d.numbers) {
            do
                n = int(next() % kMaxNumber) + 1;
            while (used[std::size_t(n)]);
            used[std::size_t(n)] = true;
        }
        h.push_back(d);
    }
    return h;
}

struct Input {
    History history;
    StartupTables tables;
};

// Loaded on first use, when the benchmarks run rather than during static
// initialisation, and kept for the whole program.
const Input& realInput()
{
    static const Input in = [] {
        Input i{readHistoryCsv(QStringLiteral(MIRKANO_SAMPLE_CSV)), {}};
        i.tables = buildStartupTables(i.history);
        return i;
    }();
    return in;
}

const Input& syntheticInput()
{
    static const Input in = [] {
        Input i{syntheticHistory(), {}};
        i.tables = buildStartupTables(i.history);
        return i;
    }();
    return in;
}

using InputFn = const Input& (*)();

void registerAll(const char* inputName, InputFn input)
{
    benchmark::RegisterBenchmark((std::string("startup_tables/") + inputName).c_str(),
                                 [input](benchmark::State& state) {
                                     const Input& in = input();
                                     for (auto _ : state)
                                         benchmark::DoNotOptimize(buildStartupTables(in.history));
                                     state.SetItemsProcessed(state.iterations() *
                                                             std::int64_t(in.history.size()));
                                 })
        ->Unit(benchmark::kMillisecond);
    for (const Analysis& a : analyses()) {
        benchmark::RegisterBenchmark((std::string(a.id) + '/' + inputName).c_str(),
                                     [input, build = a.build](benchmark::State& state) {
                                         const Input& in = input();
                                         for (auto _ : state)
                                             benchmark::DoNotOptimize(build(in.history, in.tables));
                                         state.SetItemsProcessed(state.iterations() *
                                                                 std::int64_t(in.history.size()));
                                     })
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark((std::string("prediction/open/") + inputName).c_str(),
                                 [input](benchmark::State& state) {
                                     const Input& in = input();
                                     for (auto _ : state) {
                                         const PeriodTables t = buildPeriodTables(in.history);
                                         benchmark::DoNotOptimize(buildPredictionSheets(
                                             t, predict(t, in.tables.latestDrawNo, {})));
                                     }
                                     state.SetItemsProcessed(state.iterations() *
                                                             std::int64_t(in.history.size()));
                                 })
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((std::string("prediction/option_change/") + inputName).c_str(),
                                 [input](benchmark::State& state) {
                                     const Input& in = input();
                                     const PeriodTables t = buildPeriodTables(in.history);
                                     ReflectFlags flags;
                                     for (auto _ : state) {
                                         flags.on[1] = !flags.on[1];
                                         benchmark::DoNotOptimize(buildPredictionSheets(
                                             t, predict(t, in.tables.latestDrawNo, flags)));
                                     }
                                 })
        ->Unit(benchmark::kMicrosecond);
}

const bool registered = [] {
    registerAll("real", &realInput);
    registerAll("synthetic32767", &syntheticInput);
    return true;
}();

}  // namespace
