// The greedy construction and the annealing that shrinks a wheel. The state
// counts, for every m-subset of the free points (by its colex rank), how
// many blocks meet it in t or more points, and keeps the uncovered ones in a
// list so that a move can aim at one of them.

#include "core/wheel/wheel_search.h"

#include "core/wheel/wheel_input.h"

#include <algorithm>
#include <cmath>


namespace mirkano::wheel {

namespace {

using Clock = std::chrono::steady_clock;

// A small, fully specified generator (SplitMix64), so that the same seed
// gives the same steps with every standard library.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    std::size_t below(std::size_t n) { return std::size_t(next() % n); }
    double unit() { return double(next() >> 11) * 0x1.0p-53; }
    // A random point of a non-empty mask.
    int pointOf(Mask m)
    {
        int skip = int(below(std::size_t(popcount(m))));
        for (; skip > 0; --skip)
            m &= m - 1;
        return std::countr_zero(m);
    }

private:
    std::uint64_t m_state;
};

class CoverState {
public:
    explicit CoverState(const CoverShape& s)
        : m_s(s), m_all(lowBits(s.n)), m_count(kBinom(s.n, s.m), 0), m_pos(m_count.size(), kNone)
    {
        m_uncovered.reserve(m_count.size());
        for (std::uint32_t r = 0; r < m_count.size(); ++r)
            markUncovered(r);
    }

    const std::vector<std::uint32_t>& uncovered() const { return m_uncovered; }
    const CoverShape& shape() const { return m_s; }
    Mask all() const { return m_all; }

    // Every m-subset the block meets in t or more points.
    template <typename F>
    void forEachCovered(Mask b, F&& f) const
    {
        for (int i = m_s.t; i <= std::min(m_s.k, m_s.m); ++i)
            forEachSubset(b, i, [&](Mask a) {
                forEachSubset(m_all & ~b, m_s.m - i, [&](Mask c) { f(std::uint32_t(colexRank(a | c))); });
            });
    }

    void add(Mask b)
    {
        forEachCovered(b, [&](std::uint32_t r) { increment(r); });
    }
    void remove(Mask b)
    {
        forEachCovered(b, [&](std::uint32_t r) { decrement(r); });
    }
    // Subsets that only this block covers.
    std::uint64_t onlyCoveredBy(Mask b) const
    {
        std::uint64_t n = 0;
        forEachCovered(b, [&](std::uint32_t r) { n += m_count[r] == 1; });
        return n;
    }
    std::uint64_t gainOf(Mask b) const
    {
        std::uint64_t n = 0;
        forEachCovered(b, [&](std::uint32_t r) { n += m_count[r] == 0; });
        return n;
    }

    // Moving point x out of block b and y into it changes exactly the
    // subsets {x} ∪ A ∪ C (lost) and {y} ∪ A ∪ C (won), A a (t−1)-subset of
    // b − x, C an (m−t)-subset of the points outside b and y.
    template <typename F>
    void forEachChanged(Mask b, int x, int y, F&& f) const
    {
        const Mask bx = Mask(1) << x, by = Mask(1) << y;
        forEachSubset(b & ~bx, m_s.t - 1, [&](Mask a) {
            forEachSubset(m_all & ~b & ~by, m_s.m - m_s.t, [&](Mask c) {
                f(std::uint32_t(colexRank(a | c | bx)), std::uint32_t(colexRank(a | c | by)));
            });
        });
    }
    long delta(Mask b, int x, int y) const
    {
        long d = 0;
        forEachChanged(b, x, y, [&](std::uint32_t lost, std::uint32_t won) {
            d += (m_count[lost] == 1) - (m_count[won] == 0);
        });
        return d;
    }
    void move(Mask b, int x, int y)
    {
        forEachChanged(b, x, y, [&](std::uint32_t lost, std::uint32_t won) {
            decrement(lost);
            increment(won);
        });
    }

private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    void markUncovered(std::uint32_t r)
    {
        m_pos[r] = std::uint32_t(m_uncovered.size());
        m_uncovered.push_back(r);
    }
    void increment(std::uint32_t r)
    {
        if (m_count[r]++ == 0) {
            const std::uint32_t last = m_uncovered.back();
            m_uncovered[m_pos[r]] = last;
            m_pos[last] = m_pos[r];
            m_uncovered.pop_back();
            m_pos[r] = kNone;
        }
    }
    void decrement(std::uint32_t r)
    {
        if (--m_count[r] == 0)
            markUncovered(r);
    }

    CoverShape m_s;
    Mask m_all;
    std::vector<std::uint16_t> m_count;
    std::vector<std::uint32_t> m_pos;
    std::vector<std::uint32_t> m_uncovered;
};

// The m-subset of a colex rank.
Mask unrank(std::uint64_t r, int n, int m)
{
    Mask s = 0;
    for (int i = m; i >= 1; --i) {
        int p = i - 1;
        while (p + 1 < n && kBinom(p + 1, i) <= r)
            ++p;
        r -= kBinom(p, i);
        s |= Mask(1) << p;
    }
    return s;
}

void poll(const SearchControl& c, std::size_t bestSize)
{
    if (c.cancelled && c.cancelled())
        throw SearchCancelled{};
    if (c.progress) {
        const auto now = Clock::now();
        const double budget = std::chrono::duration<double>(c.deadline - c.started).count();
        const double used = std::chrono::duration<double>(now - c.started).count();
        c.progress(bestSize, c.deadline == Clock::time_point::max() || budget <= 0 ? 0.0 : std::min(1.0, used / budget));
    }
}

bool pastDeadline(const SearchControl& c) { return Clock::now() >= c.deadline; }

// A random block that meets s in t points and fills its other places with
// random points, taken first from s itself when `fromTarget`.
Mask sampleBlock(const CoverShape& sh, Mask target, Mask all, Rng& rng, bool fromTarget)
{
    Mask b = 0;
    Mask pool = target;
    for (int i = 0; i < sh.t; ++i) {
        const int p = rng.pointOf(pool);
        b |= Mask(1) << p;
        pool &= ~(Mask(1) << p);
    }
    while (popcount(b) < sh.k) {
        Mask from = fromTarget && (pool & ~b) ? pool & ~b : all & ~b;
        b |= Mask(1) << rng.pointOf(from);
    }
    return b;
}

}  // namespace

std::uint64_t shapeSeed(const CoverShape& s)
{
    return 0x6D69726B616E6FULL ^ (std::uint64_t(s.n) << 24 | std::uint64_t(s.k) << 16 | std::uint64_t(s.t) << 8 | std::uint64_t(s.m));
}

std::vector<Mask> greedyCover(const CoverShape& s, const SearchControl& control)
{
    // Every place of a ticket guaranteed: the only wheel is every k-subset.
    if (s.t == s.k && s.m == s.k) {
        std::vector<Mask> all;
        forEachSubset(lowBits(s.n), s.k, [&](Mask b) { all.push_back(b); });
        return all;
    }
    CoverState state(s);
    Rng rng(shapeSeed(s));
    std::vector<Mask> blocks;
    constexpr int kCandidates = 16;
    while (!state.uncovered().empty()) {
        poll(control, blocks.size());
        if (pastDeadline(control))
            throw SearchFailed{};
        if (blocks.size() >= kMaxWheelTickets)
            throw SearchFailed{true};
        const Mask target = unrank(state.uncovered()[rng.below(state.uncovered().size())], s.n, s.m);
        Mask best = 0;
        std::uint64_t bestGain = 0;
        for (int c = 0; c < kCandidates; ++c) {
            const Mask b = sampleBlock(s, target, state.all(), rng, c % 2 == 0);
            const std::uint64_t gain = state.gainOf(b);
            if (gain > bestGain) {
                bestGain = gain;
                best = b;
            }
        }
        state.add(best);
        blocks.push_back(best);
    }
    return blocks;
}

Improvement improveCover(const CoverShape& s, std::vector<Mask> start, const SearchControl& control)
{
    Improvement result{std::move(start), true};
    const std::uint64_t bound = lowerBound(s);
    Rng rng(shapeSeed(s) * 31 + 7);
    // The subsets one move touches, and the blocks it looks at.
    const std::uint64_t touched = kBinom(s.k - 1, s.t - 1) * kBinom(s.n - s.k - 1, s.m - s.t);
    while (result.blocks.size() > bound && result.blocks.size() > 1) {
        // The annealing's effort per size is fixed in moves, so that its result
        // does not depend on the machine's speed.
        const std::uint64_t perMove = 2 * touched + result.blocks.size() + 8;
        const std::uint64_t moves = std::clamp<std::uint64_t>(300'000'000 / perMove, 20'000, 200'000);
        // Start from the wheel without its weakest block.
        CoverState state(s);
        std::vector<Mask> blocks = result.blocks;
        for (Mask b : blocks)
            state.add(b);
        std::size_t weakest = 0;
        std::uint64_t least = ~std::uint64_t(0);
        for (std::size_t i = 0; i < blocks.size(); ++i)
            if (const std::uint64_t only = state.onlyCoveredBy(blocks[i]); only < least) {
                least = only;
                weakest = i;
            }
        state.remove(blocks[weakest]);
        blocks.erase(blocks.begin() + std::ptrdiff_t(weakest));

        const double t0 = 1.0, t1 = 0.2;
        bool found = state.uncovered().empty();
        for (std::uint64_t i = 0; i < moves && !found; ++i) {
            if (i % 256 == 0) {
                poll(control, result.blocks.size());
                if (pastDeadline(control)) {
                    result.complete = false;
                    return result;
                }
            }
            const Mask target = unrank(state.uncovered()[rng.below(state.uncovered().size())], s.n, s.m);
            // Mostly a block that already meets the target the most, else any.
            std::size_t pick = rng.below(blocks.size());
            if (rng.unit() < 0.8) {
                int most = -1;
                std::size_t ties = 0;
                for (std::size_t j = 0; j < blocks.size(); ++j) {
                    const int meet = popcount(blocks[j] & target);
                    if (meet > most) {
                        most = meet;
                        ties = 1;
                        pick = j;
                    } else if (meet == most && rng.below(++ties) == 0) {
                        pick = j;
                    }
                }
            }
            const Mask b = blocks[pick];
            const int x = rng.pointOf(b & ~target);
            const int y = rng.pointOf(target & ~b);
            const long d = state.delta(b, x, y);
            const double temperature = t0 * std::pow(t1 / t0, double(i) / double(moves));
            if (d <= 0 || rng.unit() < std::exp(-double(d) / temperature)) {
                state.move(b, x, y);
                blocks[pick] = (b & ~(Mask(1) << x)) | (Mask(1) << y);
                found = state.uncovered().empty();
            }
        }
        if (!found)
            break;
        result.blocks = std::move(blocks);
    }
    return result;
}

}  // namespace mirkano::wheel
