#include "core/game/game.h"

#include <algorithm>

namespace mirkano {

std::uint64_t choose(int n, int k)
{
    if (k < 0 || k > n)
        return 0;
    k = std::min(k, n - k);
    // Each partial product is itself a binomial coefficient, so the division is exact.
    std::uint64_t c = 1;
    for (int i = 1; i <= k; ++i)
        c = c * std::uint64_t(n - k + i) / std::uint64_t(i);
    return c;
}

int Game::prizeClassOf(int mainMatches, int bonusMatches) const
{
    for (std::size_t c = 0; c < prizes.size(); ++c)
        if (mainMatches == prizes[c].mains && bonusMatches >= prizes[c].bonusMin && bonusMatches <= prizes[c].bonusMax)
            return int(c) + 1;
    return 0;
}

std::uint64_t Game::outcomes() const { return choose(pool, mains) * choose(pool - mains, bonuses); }

std::uint64_t Game::prizeOutcomes(int c) const
{
    if (c < 1 || c > prizeClassCount())
        return 0;
    // Draws (main set, bonus set) that meet a fixed ticket with m main and b
    // bonus matches: m of the ticket's numbers and mains − m others are
    // drawn as mains; of the ticket's mains − m remaining numbers b are drawn
    // as bonuses, the other bonuses from the rest.
    const PrizeClass& p = prizes[std::size_t(c - 1)];
    const int m = p.mains;
    const std::uint64_t mainWays = choose(mains, m) * choose(pool - mains, mains - m);
    std::uint64_t bonusWays = 0;
    for (int b = p.bonusMin; b <= p.bonusMax; ++b)
        bonusWays += choose(mains - m, b) * choose(pool - mains - (mains - m), bonuses - b);
    return mainWays * bonusWays;
}

double Game::prizeProbability(int c) const
{
    return double(static_cast<long double>(prizeOutcomes(c)) / static_cast<long double>(outcomes()));
}

std::span<const Game> games() { return detail::kGames; }

std::optional<GameId> gameByCliName(QStringView name)
{
    for (const Game& g : detail::kGames)
        if (g.cliName == name)
            return g.id;
    return std::nullopt;
}

}  // namespace mirkano
