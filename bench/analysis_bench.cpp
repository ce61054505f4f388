// Building every analysis sheet, and the start-up tables, from the bundled
// history and from the longest history the draw numbers allow; and writing
// each sheet as the command-line tool's JSON. Each should grow linearly with
// the number of draws. The prediction is measured as the window uses it: the
// opening (tables, predictions and four sheets) and one option change
// (predictions and sheets from the tables built).

#include "bench_inputs.h"

#include "core/analysis/analysis.h"
#include "core/predict/prediction_sheets.h"
#include "core/sheet/sheet_json.h"

#include <benchmark/benchmark.h>

#include <ostream>
#include <streambuf>
#include <string>

using namespace mirkano;
using namespace mirkano::bench;

namespace {

// A stream that counts the bytes written to it and keeps none.
class CountingBuf : public std::streambuf {
public:
    std::int64_t bytes = 0;

protected:
    std::streamsize xsputn(const char*, std::streamsize n) override
    {
        bytes += n;
        return n;
    }
    int_type overflow(int_type c) override
    {
        ++bytes;
        return c;
    }
};

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
    // The JSON output alone, of a sheet built once.
    for (const Analysis& a : analyses()) {
        benchmark::RegisterBenchmark((std::string("json/") + a.id + '/' + inputName).c_str(),
                                     [input, &a](benchmark::State& state) {
                                         const Input& in = input();
                                         const Sheet sheet = a.build(in.history, in.tables);
                                         CountingBuf buf;
                                         std::ostream out(&buf);
                                         for (auto _ : state)
                                             writeSheetJson(out, sheet,
                                                            {{QStringLiteral("analysis"), QString::fromLatin1(a.id)},
                                                             {QStringLiteral("caption"), a.facts.caption}});
                                         state.SetBytesProcessed(buf.bytes);
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

// Every builder on every game's histories: <analysis id>/<input>, the
// other games' inputs named after the game (frequency/loto7/real).
void registerBuilders(const GameInput& in)
{
    for (const Analysis& a : analyses(in.game)) {
        benchmark::RegisterBenchmark((std::string(a.id) + '/' + in.name).c_str(),
                                     [input = in.input, build = a.build](benchmark::State& state) {
                                         const Input& in = input();
                                         for (auto _ : state)
                                             benchmark::DoNotOptimize(build(in.history, in.tables));
                                         state.SetItemsProcessed(state.iterations() *
                                                                 std::int64_t(in.history.size()));
                                     })
            ->Unit(benchmark::kMillisecond);
    }
}

const bool registered = [] {
    for (const GameInput& in : kGameInputs)
        registerBuilders(in);
    for (const NamedInput& in : kInputs)
        registerAll(in.name, in.input);
    return true;
}();

}  // namespace
