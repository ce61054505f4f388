// The exact expectation of matches for random picks.

#include "core/backtest/match_odds.h"
#include "core/game/game.h"

#include <gtest/gtest.h>

#include <numeric>
#include <stdexcept>

using namespace mirkano;

TEST(MatchOdds, KnownValuesForSixPicks)
{
    EXPECT_EQ(binomial(43, 6), 6'096'454u);
    EXPECT_EQ(binomial(43, 21), 1'052'049'481'860u);
    EXPECT_EQ(binomial(5, 7), 0u);
    const auto p = matchProbabilities(6);
    EXPECT_NEAR(p[3], 0.02549, 0.000005);
    EXPECT_DOUBLE_EQ(p[3], 155'400.0 / 6'096'454.0);  // C(6,3) · C(37,3)
    EXPECT_DOUBLE_EQ(p[6], 1.0 / 6'096'454.0);
    EXPECT_DOUBLE_EQ(p[5], 6.0 * 37.0 / 6'096'454.0);
}

TEST(MatchOdds, EveryPickCountSumsToOne)
{
    for (int picks = 0; picks <= 43; ++picks) {
        SCOPED_TRACE(picks);
        const auto p = matchProbabilities(picks);
        EXPECT_NEAR(std::accumulate(p.begin(), p.end(), 0.0), 1.0, 1e-12);
        for (int k = 0; k <= 6; ++k) {
            // k matches need k picks and leave picks − k among the 37 others.
            const bool possible = k <= picks && picks - k <= 37;
            EXPECT_EQ(p[std::size_t(k)] > 0, possible) << k;
        }
    }
    EXPECT_DOUBLE_EQ(matchProbabilities(0)[0], 1.0);
    EXPECT_DOUBLE_EQ(matchProbabilities(43)[6], 1.0);
    // Twelve picks: C(6,6) · C(37,6) / C(43,12).
    EXPECT_DOUBLE_EQ(matchProbabilities(12)[6], 2'324'784.0 / 15'338'678'264.0);
    EXPECT_THROW(matchProbabilities(-1), std::out_of_range);
    EXPECT_THROW(matchProbabilities(44), std::out_of_range);
}

TEST(MatchOdds, EveryGameFromItsPoolAndMainNumbers)
{
    // Loto 7: 7 of 37; Mini Loto: 5 of 31. Every pick count sums to 1, and
    // one ticket's best class is exactly the game's class chance.
    const struct {
        GameId game;
        double allMatch;  // k matches for k picks: 1 / C(N, k)
    } cases[] = {
        {GameId::Loto6, 1.0 / 6'096'454.0},
        {GameId::Loto7, 1.0 / 10'295'472.0},
        {GameId::MiniLoto, 1.0 / 169'911.0},
    };
    for (const auto& c : cases) {
        const Game& g = game(c.game);
        SCOPED_TRACE(g.cliName.toString().toStdString());
        EXPECT_DOUBLE_EQ(matchProbabilities(g.mains, c.game)[std::size_t(g.mains)], c.allMatch);
        for (int picks = 0; picks <= g.pool; ++picks) {
            const auto p = matchProbabilities(picks, c.game);
            ASSERT_EQ(int(p.size()), g.mains + 1);
            EXPECT_NEAR(std::accumulate(p.begin(), p.end(), 0.0), 1.0, 1e-12) << picks;
            const auto best = bestClassProbabilities(picks, c.game);
            ASSERT_EQ(int(best.size()), g.prizeClassCount() + 1);
            EXPECT_LE(std::accumulate(best.begin(), best.end(), 0.0), 1.0 + 1e-12) << picks;
            if (picks < g.mains) {
                EXPECT_EQ(std::accumulate(best.begin(), best.end(), 0.0), 0.0) << picks;
            }
        }
        const auto one = bestClassProbabilities(g.mains, c.game);
        for (int cls = 1; cls <= g.prizeClassCount(); ++cls)
            EXPECT_NEAR(one[std::size_t(cls)], g.prizeProbability(cls), 1e-12 * g.prizeProbability(cls)) << cls;
        // Every number picked: the top class is certain.
        EXPECT_NEAR(bestClassProbabilities(g.pool, c.game)[1], 1.0, 1e-12);
        EXPECT_THROW(matchProbabilities(g.pool + 1, c.game), std::out_of_range);
    }
}
