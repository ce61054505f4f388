#include "core/stats/history_stats.h"

#include "core/game/game.h"
#include "core/stats/sum_tail.h"

#include <QString>

#include <algorithm>
#include <cmath>

namespace mirkano::stats {

Uniformity uniformity(const std::vector<int>& counts, int draws, int pool, int perDraw)
{
    Uniformity u;
    u.df = pool - 1;
    if (draws <= 0 || perDraw <= 0 || perDraw >= pool)
        return u;
    const double expected = double(draws) * perDraw / pool;
    double x2 = 0;
    for (int n = 1; n <= pool; ++n) {
        const double d = counts[std::size_t(n)] - expected;
        x2 += d * d / expected;
    }
    u.statistic = x2 * double(pool - 1) / double(pool - perDraw);
    if (expected >= kMinExpected)
        u.p = chiSquareUpperTail(u.statistic, u.df);
    return u;
}

std::vector<NumberTest> numberTests(const std::vector<int>& counts, int draws, int pool, int perDraw)
{
    std::vector<NumberTest> tests(static_cast<std::size_t>(pool));
    std::vector<double> p(static_cast<std::size_t>(pool));
    const double chance = double(perDraw) / pool;
    const double expected = draws * chance;
    const double sd = std::sqrt(draws * chance * (1 - chance));
    for (int n = 1; n <= pool; ++n) {
        NumberTest& t = tests[std::size_t(n - 1)];
        t.number = n;
        t.observed = counts[std::size_t(n)];
        t.expected = expected;
        t.z = sd > 0 ? (t.observed - expected) / sd : 0.0;
        t.p = binomialTwoSided(t.observed, draws, chance);
        p[std::size_t(n - 1)] = t.p;
    }
    const std::vector<double> adjusted = holm(p);
    for (std::size_t i = 0; i < tests.size(); ++i)
        tests[i].pHolm = adjusted[i];
    return tests;
}

namespace {

LawTest lawTest(const std::vector<int>& observed, std::vector<double> exact)
{
    LawTest t;
    t.observed = observed;
    t.exact = std::move(exact);
    t.fit = goodnessOfFit(std::vector<double>(observed.begin(), observed.end()), t.exact, kMinExpected);
    return t;
}

}  // namespace

HistoryStats historyStats(const std::vector<int>& numbers, const DrawShape& s)
{
    HistoryStats h;
    const int perDraw = s.mains + s.bonuses;
    h.draws = perDraw > 0 ? int(numbers.size()) / perDraw : 0;
    std::vector<int> mainCounts(std::size_t(s.pool) + 1, 0), bonusCounts(std::size_t(s.pool) + 1, 0);
    const int maxSum = s.mains * (2 * s.pool - s.mains + 1) / 2;
    std::vector<int> sums(std::size_t(maxSum) + 1, 0), odd(std::size_t(s.mains) + 1, 0), low(std::size_t(s.mains) + 1, 0);
    double sumTotal = 0, sumSquares = 0;
    std::vector<char> in(std::size_t(s.pool) + 2, 0);
    for (int d = 0; d < h.draws; ++d) {
        const int* draw = numbers.data() + std::size_t(d) * std::size_t(perDraw);
        int sum = 0, odds = 0, lows = 0;
        for (int i = 0; i < s.mains; ++i) {
            const int n = draw[i];
            ++mainCounts[std::size_t(n)];
            sum += n;
            odds += n % 2;
            lows += n <= s.lowSplit;
            in[std::size_t(n)] = 1;
        }
        bool pair = false;
        for (int i = 0; i < s.mains; ++i)
            pair = pair || in[std::size_t(draw[i]) + 1];
        for (int i = 0; i < s.mains; ++i)
            in[std::size_t(draw[i])] = 0;
        for (int i = s.mains; i < perDraw; ++i)
            ++bonusCounts[std::size_t(draw[i])];
        ++sums[std::size_t(sum)];
        ++odd[std::size_t(odds)];
        ++low[std::size_t(lows)];
        h.consecutive.observed += pair;
        sumTotal += sum;
        sumSquares += double(sum) * sum;
    }
    h.mains = uniformity(mainCounts, h.draws, s.pool, s.mains);
    h.bonuses = uniformity(bonusCounts, h.draws, s.pool, s.bonuses);
    h.numbers = numberTests(mainCounts, h.draws, s.pool, s.mains);

    const std::vector<std::uint64_t> ways = subsetSumCounts(s.pool, s.mains);
    const long double all = static_cast<long double>(choose(s.pool, s.mains));
    std::vector<double> sumLaw(ways.size());
    for (std::size_t v = 0; v < ways.size(); ++v) {
        sumLaw[v] = double(static_cast<long double>(ways[v]) / all);
        h.exactSumMean += double(v) * sumLaw[v];
    }
    for (std::size_t v = 0; v < ways.size(); ++v)
        h.exactSumVariance += (double(v) - h.exactSumMean) * (double(v) - h.exactSumMean) * sumLaw[v];
    h.sum = lawTest(sums, std::move(sumLaw));
    if (h.draws > 0)
        h.sumMean = sumTotal / h.draws;
    if (h.draws > 1)
        h.sumVariance = (sumSquares - h.draws * *h.sumMean * *h.sumMean) / (h.draws - 1);
    h.odd = lawTest(odd, hypergeometric(s.pool, (s.pool + 1) / 2, s.mains));
    h.low = lawTest(low, hypergeometric(s.pool, s.lowSplit, s.mains));

    ConsecutiveTest& c = h.consecutive;
    c.probability = 1.0 - double(static_cast<long double>(choose(s.pool - s.mains + 1, s.mains)) / all);
    c.expected = h.draws * c.probability;
    if (h.draws > 0)
        c.p = binomialTwoSided(c.observed, h.draws, c.probability);
    return h;
}

PredictionRecordTest predictionRecordTest(const std::vector<int>& picks, const std::vector<int>& matches, int pool,
                                          int mains)
{
    PredictionRecordTest t;
    // Draws with the same number of picks share one law of matches.
    std::vector<int> draws(std::size_t(pool) + 1, 0);
    for (std::size_t i = 0; i < picks.size(); ++i) {
        ++draws[std::size_t(std::clamp(picks[i], 0, pool))];
        t.matches += i < matches.size() ? matches[i] : 0;
    }
    std::vector<RepeatedLaw> laws;
    for (int size = 0; size <= pool; ++size) {
        if (draws[std::size_t(size)] == 0)
            continue;
        // Matches of `size` random numbers with the draw's mains.
        RepeatedLaw r{hypergeometric(pool, mains, size), draws[std::size_t(size)]};
        for (std::size_t j = 0; j < r.law.size(); ++j)
            t.expected += double(r.count) * double(j) * r.law[j];
        laws.push_back(std::move(r));
    }
    if (!picks.empty())
        t.p = sumUpperTail(laws, t.matches);
    return t;
}

QString verdictWords(std::optional<double> p)
{
    if (!p)
        return QStringLiteral("回数が足りません");
    return *p < kSignificance ? QStringLiteral("偶然では説明しにくい偏りです") : QStringLiteral("偶然の範囲内です");
}

QString verdict(std::optional<double> p)
{
    return p ? verdictWords(p) + QStringLiteral(" (p = %1)").arg(*p, 0, 'g', 3) : verdictWords(p);
}

}  // namespace mirkano::stats
