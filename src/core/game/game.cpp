#include "core/game/game.h"

#include <algorithm>

namespace mirkano {

namespace {

constexpr PrizeClass kLoto6Prizes[] = {
    {6, 0, 1},  // 1等: all six
    {5, 1, 1},  // 2等: five and the bonus
    {5, 0, 0},  // 3等: five
    {4, 0, 1},  // 4等: four
    {3, 0, 1},  // 5等: three
};
constexpr PrizeClass kLoto7Prizes[] = {
    {7, 0, 2},  // 1等: all seven
    {6, 1, 2},  // 2等: six and either bonus
    {6, 0, 0},  // 3等: six
    {5, 0, 2},  // 4等: five
    {4, 0, 2},  // 5等: four
    {3, 1, 2},  // 6等: three and one or both bonuses
};
constexpr PrizeClass kMiniLotoPrizes[] = {
    {5, 0, 1},  // 1等: all five
    {4, 1, 1},  // 2等: four and the bonus
    {4, 0, 0},  // 3等: four
    {3, 0, 1},  // 4等: three
};

const Game kGames[] = {
    {GameId::Loto6, u"ロト6", u"loto6", 43, 6, 1, kLoto6Prizes, u"Mirkano.mdb", u"ミルカノ.ini"},
    {GameId::Loto7, u"ロト7", u"loto7", 37, 7, 2, kLoto7Prizes, u"Mirkano7.mdb", u"ミルカノ7.ini"},
    {GameId::MiniLoto, u"ミニロト", u"miniloto", 31, 5, 1, kMiniLotoPrizes, u"MirkanoMini.mdb", u"ミルカノミニ.ini"},
};

}  // namespace

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

const Game& game(GameId id) { return kGames[std::size_t(id)]; }

std::span<const Game> games() { return kGames; }

std::optional<GameId> gameByCliName(QStringView name)
{
    for (const Game& g : kGames)
        if (g.cliName == name)
            return g.id;
    return std::nullopt;
}

}  // namespace mirkano
