#include "core/backtest/match_odds.h"

#include "core/game/game.h"

#include "core/history/history.h"

#include <algorithm>
#include <stdexcept>

namespace mirkano {

std::uint64_t binomial(int n, int k)
{
    return choose(n, k);
}

std::array<double, kDrawnMain + 1> matchProbabilities(int picks)
{
    if (picks < 0 || picks > kMaxNumber)
        throw std::out_of_range("matchProbabilities: picks outside 0 … 43");
    // k of the six drawn among the picks, the other picks − k among the 37
    // numbers not drawn, over every way to choose the picks.
    const long double all = static_cast<long double>(binomial(kMaxNumber, picks));
    std::array<double, kDrawnMain + 1> p{};
    for (int k = 0; k <= kDrawnMain; ++k)
        p[std::size_t(k)] = double(static_cast<long double>(binomial(kDrawnMain, k) *
                                                            binomial(kMaxNumber - kDrawnMain, picks - k)) / all);
    return p;
}

std::array<double, 6> bestClassProbabilities(int picks)
{
    const auto m = matchProbabilities(picks);
    std::array<double, 6> c{};
    if (picks < kDrawnMain)
        return c;
    // With five main numbers among the picks, the other picks − 5 lie among
    // the 37 numbers not drawn as main numbers, one of which is the bonus.
    const double bonusHeld = double(picks - 5) / double(kMaxNumber - kDrawnMain);
    c[1] = m[6];
    c[2] = m[5] * bonusHeld;
    c[3] = m[5] * (1.0 - bonusHeld);
    c[4] = m[4];
    c[5] = m[3];
    return c;
}

}  // namespace mirkano
