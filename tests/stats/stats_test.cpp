#include "core/game/game.h"
#include "core/stats/history_stats.h"
#include "core/stats/stats_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

using namespace mirkano;
using namespace mirkano::stats;

TEST(Stats, DistributionsMatchKnownValuesAndEnumeration)
{
    // χ²(2) has the tail e^(−x/2); the 95 % points of χ²(1), χ²(10) and χ²(42).
    EXPECT_NEAR(chiSquareUpperTail(3.0, 2), std::exp(-1.5), 1e-12);
    EXPECT_NEAR(chiSquareUpperTail(3.841459, 1), 0.05, 1e-6);
    EXPECT_NEAR(chiSquareUpperTail(18.307038, 10), 0.05, 1e-6);
    EXPECT_NEAR(chiSquareUpperTail(58.124037, 42), 0.05, 1e-6);
    EXPECT_NEAR(chiSquareUpperTail(200.0, 42), 0.0, 1e-12);
    EXPECT_EQ(chiSquareUpperTail(0.0, 5), 1.0);
    EXPECT_NEAR(normalTwoSided(1.959964), 0.05, 1e-6);
    // The exact binomial two-sided p-value: 6 of 10 at chance 0.3 is twice the upper tail.
    double upper = 0;
    for (int j = 6; j <= 10; ++j)
        upper += double(choose(10, j)) * std::pow(0.3, j) * std::pow(0.7, 10 - j);
    EXPECT_NEAR(binomialTwoSided(6, 10, 0.3), 2 * upper, 1e-12);
    EXPECT_EQ(binomialTwoSided(3, 10, 0.3), 1.0);  // the middle: both tails over one half

    // Holm: sorted 0.005·4, 0.01·3, 0.03·2, 0.04·1 → 0.02, 0.03, 0.06, 0.06 (monotone).
    const std::vector<double> adjusted = holm({0.01, 0.04, 0.03, 0.005});
    const std::vector<double> expected = {0.03, 0.06, 0.06, 0.02};
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(adjusted[i], expected[i], 1e-15);

    // The sum of 3 different numbers of 1 … 10 by brute force.
    std::vector<std::uint64_t> brute(28, 0);
    for (int a = 1; a <= 10; ++a)
        for (int b = a + 1; b <= 10; ++b)
            for (int c = b + 1; c <= 10; ++c)
                ++brute[std::size_t(a + b + c)];
    EXPECT_EQ(subsetSumCounts(10, 3), brute);
    // For every game the counts add up to C(N, k).
    for (const Game& g : games()) {
        const std::vector<std::uint64_t> ways = subsetSumCounts(g.pool, g.mains);
        EXPECT_EQ(std::accumulate(ways.begin(), ways.end(), std::uint64_t(0)), choose(g.pool, g.mains));
    }

    // Loto 6: at least one consecutive pair 1 − C(38, 6) / C(43, 6).
    const HistoryStats none = historyStats({}, DrawShape{});
    EXPECT_DOUBLE_EQ(none.consecutive.probability, 1.0 - double(choose(38, 6)) / double(choose(43, 6)));
    EXPECT_NEAR(none.exactSumMean, 6 * 22.0, 1e-9);

    // A prediction record against enumeration: 5 numbers, 2 drawn; picks of 1
    // and 3 numbers; P(total ≥ 2).
    const PredictionRecordTest r = predictionRecordTest({1, 3}, {1, 1}, 5, 2);
    const std::vector<double> one = hypergeometric(5, 2, 1), three = hypergeometric(5, 2, 3);
    double tail = 0;
    for (std::size_t a = 0; a < one.size(); ++a)
        for (std::size_t b = 0; b < three.size(); ++b)
            if (a + b >= 2)
                tail += one[a] * three[b];
    EXPECT_NEAR(r.p.value(), tail, 1e-15);
    EXPECT_NEAR(r.expected, 1 * 2.0 / 5 + 3 * 2.0 / 5, 1e-15);
    EXPECT_EQ(r.matches, 2);
    EXPECT_EQ(verdict(0.5), QStringLiteral("偶然の範囲内です (p = 0.5)"));
    EXPECT_EQ(verdict(0.001), QStringLiteral("偶然では説明しにくい偏りです (p = 0.001)"));
    EXPECT_EQ(verdict(std::nullopt), QStringLiteral("回数が足りません"));
    // No draw tested: no record to judge.
    EXPECT_FALSE(predictionRecordTest({}, {}, 43, 6).p);
}

// 2,000 fair histories of 2,000 Loto 6 draws from a seeded generator: the
// scaled uniformity test rejects at 5 % in 4–6 % of them (the unscaled X²
// about 1 %), and a number is marked after Holm's correction in at most 5 %.
TEST(Stats, TheScaledUniformityTestHoldsItsLevelOnFairHistories)
{
    constexpr int kHistories = 2000, kDraws = 2000, kPool = 43, kMains = 6;
    std::mt19937_64 random(20261211);
    int scaledRejects = 0, plainRejects = 0, marked = 0;
    std::array<int, kPool> balls;
    std::iota(balls.begin(), balls.end(), 1);
    std::vector<int> counts(kPool + 1);
    for (int h = 0; h < kHistories; ++h) {
        std::fill(counts.begin(), counts.end(), 0);
        for (int d = 0; d < kDraws; ++d)
            for (int i = 0; i < kMains; ++i) {
                // A partial Fisher–Yates shuffle: six different balls.
                std::uniform_int_distribution<int> pick(i, kPool - 1);
                std::swap(balls[std::size_t(i)], balls[std::size_t(pick(random))]);
                ++counts[std::size_t(balls[std::size_t(i)])];
            }
        const Uniformity u = uniformity(counts, kDraws, kPool, kMains);
        scaledRejects += u.p < 0.05;
        const double plain = u.statistic * (kPool - kMains) / (kPool - 1);
        plainRejects += chiSquareUpperTail(plain, kPool - 1) < 0.05;
        const std::vector<NumberTest> numbers = numberTests(counts, kDraws, kPool, kMains);
        marked += std::any_of(numbers.begin(), numbers.end(), [](const NumberTest& t) { return t.mark() != 0; });
    }
    EXPECT_GE(scaledRejects, kHistories * 4 / 100);
    EXPECT_LE(scaledRejects, kHistories * 6 / 100);
    EXPECT_LE(plainRejects, kHistories * 2 / 100);
    EXPECT_LE(marked, kHistories * 5 / 100);
}

TEST(Stats, GoodnessOfFitPoolsSmallCellsAndKeepsPInRange)
{
    // Observed exactly as expected: no deviation.
    const std::vector<double> law = hypergeometric(43, 22, 6);
    std::vector<double> observed;
    for (double p : law)
        observed.push_back(p * 10'000);
    const GoodnessOfFit fit = goodnessOfFit(observed, law);
    EXPECT_NEAR(fit.statistic, 0.0, 1e-9);
    EXPECT_NEAR(fit.p.value(), 1.0, 1e-9);
    EXPECT_EQ(fit.df, 6);  // seven cells, none short at 10,000 draws
    // Forty draws: cells pooled until each expects five; p stays a probability.
    const GoodnessOfFit few = goodnessOfFit({0, 0, 20, 20, 0, 0, 0}, law);
    EXPECT_GE(few.df.value(), 1);
    EXPECT_LT(few.df.value(), 6);
    ASSERT_TRUE(few.p);
    EXPECT_GE(*few.p, 0.0);
    EXPECT_LE(*few.p, 1.0);
    // Ten draws: everything pooled into one cell, nothing to test; none: no df either.
    const GoodnessOfFit one = goodnessOfFit({0, 0, 10, 0, 0, 0, 0}, law);
    EXPECT_EQ(one.df, 0);
    EXPECT_FALSE(one.p);
    const GoodnessOfFit none = goodnessOfFit({}, law);
    EXPECT_FALSE(none.df);
    EXPECT_FALSE(none.p);
}

namespace {

// `draws` draws of a game with different numbers in each (only which tests
// run is looked at, not their results).
std::vector<int> plainDraws(const Game& g, int draws)
{
    std::vector<int> numbers;
    for (int d = 0; d < draws; ++d)
        for (int i = 0; i < g.numbersPerDraw(); ++i)
            numbers.push_back((d + i * 3) % g.pool + 1);
    return numbers;
}

DrawShape shapeOf(const Game& g) { return {g.pool, g.mains, g.bonuses, g.lowHighSplit()}; }

}  // namespace

// A χ² test is run only when every cell expects at least five: the
// uniformity of the mains from draws·k/N ≥ 5, of the bonuses from
// draws·b/N ≥ 5; below that, and with no draw at all, no p-value.
TEST(Stats, TestsThatCannotBeRunGiveNoPValue)
{
    struct Case {
        GameId game;
        int draws;
        bool mains, bonuses;
    };
    const Case cases[] = {
        {GameId::Loto6, 0, false, false},     {GameId::Loto6, 35, false, false},
        {GameId::Loto6, 36, true, false},     {GameId::Loto6, 214, true, false},
        {GameId::Loto6, 215, true, true},     {GameId::Loto7, 26, false, false},
        {GameId::Loto7, 27, true, false},     {GameId::Loto7, 93, true, true},
        {GameId::MiniLoto, 31, true, false},  {GameId::MiniLoto, 155, true, true},
    };
    for (const Case& c : cases) {
        const Game& g = game(c.game);
        SCOPED_TRACE(g.cliName.toString().toStdString() + " " + std::to_string(c.draws));
        const HistoryStats h = historyStats(plainDraws(g, c.draws), shapeOf(g));
        EXPECT_EQ(h.mains.p.has_value(), c.mains);
        EXPECT_EQ(h.bonuses.p.has_value(), c.bonuses);
        EXPECT_EQ(h.mains.df, g.pool - 1);
        EXPECT_EQ(h.consecutive.p.has_value(), c.draws > 0);
        EXPECT_EQ(h.sumMean.has_value(), c.draws > 0);
        EXPECT_EQ(h.sumVariance.has_value(), c.draws > 1);
    }
    const HistoryStats one = historyStats(plainDraws(game(GameId::Loto6), 1), DrawShape{});
    EXPECT_FALSE(one.sumVariance);
    EXPECT_FALSE(one.sum.fit.p);
    EXPECT_FALSE(one.odd.fit.p);
}

// Consecutive pairs against the exact binomial law: Loto 7's two draws
// without a pair are (1 − q)² = 0.065 at the low end, 0.130 two-sided,
// where a normal approximation said 0.016.
TEST(Stats, ConsecutivePairsUseTheExactBinomialLaw)
{
    const Game& g = game(GameId::Loto7);
    const double q = 1.0 - double(choose(31, 7)) / double(choose(37, 7));
    // Two draws of the odd numbers 1, 3, … 13 (no pair) and their bonuses.
    std::vector<int> numbers;
    for (int d = 0; d < 2; ++d) {
        for (int i = 0; i < 7; ++i)
            numbers.push_back(1 + 2 * i);
        numbers.insert(numbers.end(), {30, 33});
    }
    const HistoryStats h = historyStats(numbers, shapeOf(g));
    EXPECT_EQ(h.consecutive.observed, 0);
    EXPECT_NEAR(h.consecutive.p.value(), 2 * (1 - q) * (1 - q), 1e-12);
    EXPECT_NEAR(h.consecutive.p.value(), 0.1304, 1e-4);
}

// The table's tests are corrected together over those that were run, and a
// number is marked only when the mains as a whole are found uneven.
TEST(Stats, TheFamilyIsCorrectedTogetherAndGatesTheNumbers)
{
    StatsReport r;
    r.history.mains.p = 0.001;
    r.history.sum.fit.p = 0.02;  // bonuses: not run
    r.history.odd.fit.p = r.history.low.fit.p = r.history.consecutive.p = 0.5;
    r.single.p = r.multiple.p = 0.5;
    NumberTest hot;
    hot.observed = 30;
    hot.expected = 10;
    hot.pHolm = 0.01;
    r.history.numbers = {hot};
    correctFamily(r);
    EXPECT_EQ(r.testsRun(), 7);
    EXPECT_FALSE(r.member(FamilyTest::Bonuses).pHolm);
    EXPECT_NEAR(r.member(FamilyTest::Mains).pHolm.value(), 0.007, 1e-15);
    EXPECT_NEAR(r.member(FamilyTest::Sum).pHolm.value(), 0.12, 1e-15);
    EXPECT_EQ(r.member(FamilyTest::Odd).pHolm.value(), 1.0);
    EXPECT_EQ(r.history.numbers[0].mark(), 1);
    EXPECT_TRUE(statsHeadline(r).contains(QStringLiteral("7個の検定を実施（1個は回数が足りず実施できません）")));
    EXPECT_TRUE(statsHeadline(r).contains(QStringLiteral("偶然では説明しにくい偏りがあります：本数字の出方")));

    // The mains alone at p = 0.0425 are not uneven after the correction
    // (0.34): no number is marked, and the headline says no test alarms.
    r.history.mains.p = 0.0425;
    correctFamily(r);
    EXPECT_EQ(r.history.numbers[0].mark(), 0);
    EXPECT_FALSE(statsHeadline(r).contains(QStringLiteral("偶然では説明しにくい")));
    EXPECT_TRUE(statsHeadline(r).contains(QStringLiteral("どれも偶然の範囲内です")));
}
