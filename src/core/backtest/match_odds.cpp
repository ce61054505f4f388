#include "core/backtest/match_odds.h"

#include <algorithm>
#include <stdexcept>

namespace mirkano {

namespace {

long double ratio(std::uint64_t ways, std::uint64_t all)
{
    return static_cast<long double>(ways) / static_cast<long double>(all);
}

}  // namespace

std::uint64_t binomial(int n, int k)
{
    return choose(n, k);
}

std::vector<double> matchProbabilities(int picks, GameId gameId)
{
    const Game& g = game(gameId);
    const int n = g.pool, k = g.mains;
    if (picks < 0 || picks > n)
        throw std::out_of_range("matchProbabilities: picks outside 0 … pool");
    // m of the k drawn among the picks, the other picks − m among the N − k
    // numbers not drawn, over every way to choose the picks.
    const std::uint64_t all = binomial(n, picks);
    std::vector<double> p(std::size_t(k) + 1);
    for (int m = 0; m <= k; ++m)
        p[std::size_t(m)] = double(ratio(binomial(k, m) * binomial(n - k, picks - m), all));
    return p;
}

std::vector<double> bestClassProbabilities(int picks, GameId gameId)
{
    const Game& g = game(gameId);
    const auto p = matchProbabilities(picks, gameId);
    std::vector<double> c(std::size_t(g.prizeClassCount()) + 1);
    if (picks < g.mains)
        return c;
    // With m main numbers among the picks, the other picks − m lie among the
    // N − k numbers not drawn as main numbers, of which the bonuses are some:
    // h of them among the picks with a hypergeometric chance. The best ticket
    // holds the m matches and, of its k − m other numbers, as many of those
    // h bonuses as make the best class.
    const int others = g.pool - g.mains;
    for (int m = 0; m <= g.mains; ++m) {
        if (p[std::size_t(m)] == 0)
            continue;
        const int rest = picks - m;
        const std::uint64_t all = binomial(others, rest);
        for (int h = 0; h <= std::min(g.bonuses, rest); ++h) {
            const std::uint64_t ways = binomial(g.bonuses, h) * binomial(others - g.bonuses, rest - h);
            if (ways == 0)
                continue;
            int best = 0;
            for (int b = 0; b <= std::min(h, g.mains - m); ++b)
                if (const int cls = g.prizeClassOf(m, b); cls != 0 && (best == 0 || cls < best))
                    best = cls;
            if (best != 0)
                c[std::size_t(best)] += p[std::size_t(m)] * double(ratio(ways, all));
        }
    }
    return c;
}

}  // namespace mirkano
