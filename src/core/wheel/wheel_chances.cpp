// The exact chances of a set of tickets over every draw, and of as many
// random tickets.

#include "core/wheel/wheel_chances.h"

#include "core/wheel/subsets.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace mirkano {

using wheel::kBinom;
using wheel::Mask;

namespace {

constexpr int kMaxClasses = 16;

// One draw's main numbers x against every ticket: the best class without a
// bonus held (the return value), and per class c the numbers left undrawn on
// the tickets that a bonus among them would lift to c (hitMasks[c]). The
// inner loop of the chances: kept apart so that it can be compiled a second
// time with the processor's population-count instruction.
template <typename Popcount>
inline int scoreDrawWith(Popcount popcount, const Mask* masks, std::size_t n, Mask x, const int* base, const int* hit,
                         int worst, Mask* hitMasks)
{
    int best = worst;
    for (std::size_t i = 0; i < n; ++i) {
        const int m = popcount(masks[i] & x);
        best = std::min(best, base[m]);
        hitMasks[hit[m]] |= masks[i] & ~x;
    }
    return best;
}

using ScoreFn = int (*)(const Mask*, std::size_t, Mask, const int*, const int*, int, Mask*);

int scoreDraw(const Mask* masks, std::size_t n, Mask x, const int* base, const int* hit, int worst, Mask* hitMasks)
{
    return scoreDrawWith([](Mask m) { return wheel::popcount(m); }, masks, n, x, base, hit, worst, hitMasks);
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
__attribute__((target("popcnt"))) int scoreDrawPopcnt(const Mask* masks, std::size_t n, Mask x, const int* base,
                                                       const int* hit, int worst, Mask* hitMasks)
{
    int best = worst;
    for (std::size_t i = 0; i < n; ++i) {
        const int m = __builtin_popcountll(masks[i] & x);
        best = std::min(best, base[m]);
        hitMasks[hit[m]] |= masks[i] & ~x;
    }
    return best;
}
#endif

ScoreFn scoreFunction()
{
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    if (__builtin_cpu_supports("popcnt"))
        return &scoreDrawPopcnt;
#endif
    return &scoreDraw;
}

}  // namespace

WheelChances wheelChances(const Game& g, std::span<const std::vector<int>> tickets)
{
    const int classes = g.prizeClassCount();
    WheelChances out;
    out.classCounts.assign(std::size_t(classes), 0);
    out.total = g.outcomes();
    // Classes by main matches, without a bonus held (base) and with one (hit); 0 none → worst.
    const int worst = classes + 1;
    if (classes > kMaxClasses)
        throw std::invalid_argument("wheelChances: too many prize classes");
    int base[64], hit[64];
    for (int i = 0; i <= g.mains; ++i) {
        base[i] = g.prizeClassOf(i, 0) ? g.prizeClassOf(i, 0) : worst;
        hit[i] = g.prizeClassOf(i, 1) ? g.prizeClassOf(i, 1) : worst;
    }
    std::vector<Mask> masks;
    Mask all = 0;
    for (const std::vector<int>& t : tickets) {
        Mask m = 0;
        for (int n : t)
            m |= Mask(1) << (n - 1);
        masks.push_back(m);
        all |= m;
    }
    const int v = wheel::popcount(all);
    const int left = g.pool - g.mains;  // the numbers the bonuses come from
    std::vector<std::uint64_t> counts(std::size_t(worst) + 1, 0);
    const ScoreFn score = scoreFunction();
    Mask hitMasks[kMaxClasses + 2];
    for (int j = 0; j <= std::min(g.mains, v); ++j) {
        const std::uint64_t weight = kBinom(g.pool - v, g.mains - j);
        if (weight == 0)
            continue;
        wheel::forEachSubset(all, j, [&](Mask x) {
            std::fill(hitMasks, hitMasks + worst + 1, Mask(0));
            const int best = score(masks.data(), masks.size(), x, base, hit, worst, hitMasks);
            // Classes better than the best without a bonus, each won when a
            // bonus falls on one of its tickets' numbers left undrawn.
            Mask reached = 0;
            int before = 0;
            for (int c = 1; c < best; ++c) {
                const Mask mc = hitMasks[c];
                if (!(mc & ~reached))
                    continue;
                reached |= mc;
                const int after = wheel::popcount(reached);
                counts[std::size_t(c)] += weight * (kBinom(left - before, g.bonuses) - kBinom(left - after, g.bonuses));
                before = after;
            }
            counts[std::size_t(best)] += weight * kBinom(left - before, g.bonuses);
        });
    }
    for (int c = 1; c <= classes; ++c)
        out.classCounts[std::size_t(c - 1)] = counts[std::size_t(c)];
    out.noneCount = counts[std::size_t(worst)];
    return out;
}

std::vector<double> randomTicketChances(const Game& g, std::uint64_t n)
{
    const int classes = g.prizeClassCount();
    std::vector<double> out;
    // P(every one of n tickets misses class c or better) = (1 − Q_c)ⁿ, and
    // P(best = c) = (1 − Q_{c−1})ⁿ − (1 − Q_c)ⁿ, written as
    // (1 − Q_{c−1})ⁿ · −expm1(n · log1p(−p_c / (1 − Q_{c−1}))) so that a
    // tiny class keeps its digits.
    const long double tickets = static_cast<long double>(n);
    long double q = 0, missedBefore = 1;
    for (int c = 1; c <= classes; ++c) {
        const long double p = static_cast<long double>(g.prizeOutcomes(c)) / static_cast<long double>(g.outcomes());
        out.push_back(double(missedBefore * -std::expm1(tickets * std::log1p(-p / (1 - q)))));
        q += p;
        missedBefore = std::exp(tickets * std::log1p(-q));
    }
    out.push_back(double(missedBefore));
    return out;
}

}  // namespace mirkano
