// The wheel: its exact chances over every draw of a game (Loto 6 with
// tickets spread over the whole field of 43 numbers: all 6,096,454 main
// draws, the bonus counted), and the construction for 8 … 20 numbers and the
// common guarantees within the default budget of 10 s, with the size reached
// and the lower bound as counters.

#include "core/wheel/wheel_builder.h"
#include "core/wheel/wheel_chances.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>

using namespace mirkano;

namespace {

// n tickets of Loto 6 spread over all 43 numbers by a fixed stride.
std::vector<std::vector<int>> wholeFieldTickets(int n)
{
    std::vector<std::vector<int>> tickets;
    std::uint64_t state = 12345;
    for (int i = 0; i < n; ++i) {
        std::vector<int> t;
        while (t.size() < 6) {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            const int x = int((state >> 33) % 43) + 1;
            if (std::find(t.begin(), t.end(), x) == t.end())
                t.push_back(x);
        }
        std::sort(t.begin(), t.end());
        tickets.push_back(t);
    }
    return tickets;
}

void BM_WheelChancesWholeField(benchmark::State& state)
{
    const auto tickets = wholeFieldTickets(int(state.range(0)));
    const Game& g = game(GameId::Loto6);
    for (auto _ : state)
        benchmark::DoNotOptimize(wheelChances(g, tickets));
}
BENCHMARK(BM_WheelChancesWholeField)->Name("wheel_chances/loto6/whole_field")->Arg(100)->Unit(benchmark::kMillisecond);

void BM_WheelBuild(benchmark::State& state)
{
    WheelInput in;
    for (int n = 1; n <= state.range(0); ++n)
        in.numbers.push_back(n);
    in.match = int(state.range(1));
    in.drawn = int(state.range(2));
    std::size_t size = 0;
    std::uint64_t bound = 0;
    for (auto _ : state) {
        const Wheel w = buildWheel(in);
        size = w.tickets.size();
        bound = w.lowerBound;
    }
    state.counters["tickets"] = double(size);
    state.counters["lower_bound"] = double(bound);
}
void wheelCases(benchmark::internal::Benchmark* b)
{
    constexpr int kGuarantees[][2] = {{3, 3}, {3, 4}, {4, 4}, {3, 6}, {4, 6}, {5, 6}};
    for (int v = 8; v <= 20; ++v)
        for (const auto& g : kGuarantees)
            b->Args({v, g[0], g[1]});
}
BENCHMARK(BM_WheelBuild)->Name("wheel_build/loto6")->Apply(wheelCases)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
