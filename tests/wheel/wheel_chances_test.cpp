// The exact chances of a wheel against a brute-force count on small made-up
// games, and the chances of random tickets.

#include "core/wheel/subsets.h"
#include "core/wheel/wheel_builder.h"
#include "core/wheel/wheel_chances.h"

#include <gtest/gtest.h>

#include <numeric>

namespace mirkano {
namespace {

// Every (main set, bonus set) of the game walked one by one: the best class
// over the tickets of each, straight from the game's classes.
std::vector<std::uint64_t> bruteForce(const Game& g, const std::vector<std::vector<int>>& tickets)
{
    std::vector<std::uint64_t> counts(std::size_t(g.prizeClassCount()) + 1, 0);  // last: none
    wheel::forEachSubset(wheel::lowBits(g.pool), g.mains, [&](wheel::Mask d) {
        wheel::forEachSubset(wheel::lowBits(g.pool) & ~d, g.bonuses, [&](wheel::Mask b) {
            int best = 0;
            for (const std::vector<int>& t : tickets) {
                wheel::Mask tm = 0;
                for (int n : t)
                    tm |= wheel::Mask(1) << (n - 1);
                const int c = g.prizeClassOf(wheel::popcount(tm & d), wheel::popcount(tm & b));
                if (c && (!best || c < best))
                    best = c;
            }
            ++counts[best ? std::size_t(best - 1) : counts.size() - 1];
        });
    });
    return counts;
}

// Small games shaped like the real ones: one bonus, and two bonuses with a
// class that needs one of them.
constexpr PrizeClass kOneBonus[] = {{4, 0, 1}, {3, 1, 1}, {3, 0, 0}, {2, 0, 1}};
constexpr PrizeClass kTwoBonuses[] = {{4, 0, 2}, {3, 1, 2}, {3, 0, 0}, {2, 0, 2}, {1, 1, 2}};
const Game kSmall1{GameId::Loto6, u"小1", u"small1", 11, 4, 1, kOneBonus, u"", u"", 100};
const Game kSmall2{GameId::Loto7, u"小2", u"small2", 12, 4, 2, kTwoBonuses, u"", u"", 100};

TEST(WheelChances, MatchTheBruteForceCountAndSumToOne)
{
    const std::vector<std::vector<int>> sets[] = {
        {{1, 2, 3, 4}},
        {{1, 2, 3, 4}, {1, 2, 5, 6}, {3, 4, 5, 6}, {7, 8, 9, 10}},
        {{1, 2, 3, 4}, {2, 3, 4, 5}, {1, 5, 9, 11}},
    };
    for (const Game* g : {&kSmall1, &kSmall2})
        for (const auto& tickets : sets) {
            const WheelChances c = wheelChances(*g, tickets);
            const std::vector<std::uint64_t> expected = bruteForce(*g, tickets);
            std::vector<std::uint64_t> got = c.classCounts;
            got.push_back(c.noneCount);
            EXPECT_EQ(got, expected) << g->cliName.toString().toStdString() << " " << tickets.size();
            EXPECT_EQ(std::accumulate(got.begin(), got.end(), std::uint64_t(0)), g->outcomes());
        }
}

TEST(WheelChances, OneTicketHasTheGamesOddsAndRandomTicketsCompound)
{
    for (const Game& g : games()) {
        std::vector<int> ticket;
        for (int n = 1; n <= g.mains; ++n)
            ticket.push_back(n);
        const WheelChances c = wheelChances(g, std::vector<std::vector<int>>{ticket});
        const std::vector<double> one = randomTicketChances(g, 1);
        double sum = c.noneChance();
        for (int k = 1; k <= g.prizeClassCount(); ++k) {
            EXPECT_EQ(c.classCounts[std::size_t(k - 1)], g.prizeOutcomes(k));
            EXPECT_DOUBLE_EQ(one[std::size_t(k - 1)], g.prizeProbability(k));
            sum += c.classChance(k);
        }
        EXPECT_NEAR(sum, 1.0, 1e-12);
        // Two random tickets miss every class with (1 − P(any))².
        const std::vector<double> two = randomTicketChances(g, 2);
        EXPECT_NEAR(two.back(), one.back() * one.back(), 1e-15);
    }
}

TEST(WheelChances, AWheelAtLeastKeepsItsGuaranteeOverTheDraws)
{
    // 3/3 over 12 numbers: every draw with 3 or more of them wins 5等 or better.
    std::vector<int> twelve;
    for (int n = 1; n <= 12; ++n)
        twelve.push_back(n);
    const Wheel w = buildWheel({GameId::Loto6, twelve, {}, 3, 3});
    const Game& g = game(GameId::Loto6);
    const WheelChances c = wheelChances(g, w.tickets);
    std::uint64_t threeOrMore = 0;
    for (int j = 3; j <= 6; ++j)
        threeOrMore += choose(12, j) * choose(31, 6 - j) * choose(37, 1);
    EXPECT_GE(c.total - c.noneCount, threeOrMore);
}

}  // namespace
}  // namespace mirkano
