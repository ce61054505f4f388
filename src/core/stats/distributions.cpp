#include "core/stats/distributions.h"

#include "core/game/game.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace mirkano::stats {

namespace {

// The regularised upper incomplete gamma function Q(a, x), by its series for
// x < a + 1 and by its continued fraction (modified Lentz) otherwise.
double upperGamma(double a, double x)
{
    if (x <= 0)
        return 1.0;
    const double logPrefix = -x + a * std::log(x) - std::lgamma(a);
    if (x < a + 1) {
        double term = 1.0 / a, sum = term;
        for (int n = 1; n < 10'000; ++n) {
            term *= x / (a + n);
            sum += term;
            if (std::fabs(term) < std::fabs(sum) * 1e-16)
                break;
        }
        return std::clamp(1.0 - sum * std::exp(logPrefix), 0.0, 1.0);
    }
    constexpr double tiny = 1e-300;
    double b = x + 1 - a, c = 1 / tiny, d = 1 / b, h = d;
    for (int i = 1; i < 10'000; ++i) {
        const double an = -i * (i - a);
        b += 2;
        d = an * d + b;
        if (std::fabs(d) < tiny)
            d = tiny;
        c = b + an / c;
        if (std::fabs(c) < tiny)
            c = tiny;
        d = 1 / d;
        const double delta = d * c;
        h *= delta;
        if (std::fabs(delta - 1) < 1e-16)
            break;
    }
    return std::clamp(std::exp(logPrefix) * h, 0.0, 1.0);
}

}  // namespace

double chiSquareUpperTail(double x, int df)
{
    if (df < 1)
        return 1.0;
    return upperGamma(df / 2.0, x / 2.0);
}

double normalTwoSided(double z)
{
    return std::clamp(std::erfc(std::fabs(z) / std::sqrt(2.0)), 0.0, 1.0);
}

double binomialTwoSided(int k, int n, double p)
{
    if (n <= 0 || p <= 0 || p >= 1 || k < 0 || k > n)
        return 1.0;
    using Real = long double;
    const Real pr = p, qr = 1 - pr;
    // P(X = k), then each tail walked outwards term by term until the terms
    // no longer count.
    const Real at = std::exp(std::lgamma(Real(n) + 1) - std::lgamma(Real(k) + 1) - std::lgamma(Real(n - k) + 1)
                             + k * std::log(pr) + (n - k) * std::log1p(-pr));
    Real lower = at, term = at;
    for (int j = k; j > 0; --j) {
        term *= Real(j) / Real(n - j + 1) * qr / pr;  // P(X = j − 1) from P(X = j)
        lower += term;
        if (term < lower * 1e-18L)
            break;
    }
    Real upper = at;
    term = at;
    for (int j = k; j < n; ++j) {
        term *= Real(n - j) / Real(j + 1) * pr / qr;  // P(X = j + 1) from P(X = j)
        upper += term;
        if (term < upper * 1e-18L)
            break;
    }
    return std::clamp(double(2 * std::min(lower, upper)), 0.0, 1.0);
}

std::vector<double> holm(const std::vector<double>& p)
{
    const std::size_t m = p.size();
    std::vector<std::size_t> order(m);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return p[a] < p[b]; });
    std::vector<double> adjusted(m);
    double running = 0;
    for (std::size_t i = 0; i < m; ++i) {
        running = std::max(running, std::min(1.0, double(m - i) * p[order[i]]));
        adjusted[order[i]] = running;
    }
    return adjusted;
}

std::vector<double> hypergeometric(int pool, int marked, int draws)
{
    std::vector<double> law(std::size_t(draws) + 1, 0.0);
    const long double all = static_cast<long double>(choose(pool, draws));
    for (int j = 0; j <= draws; ++j)
        law[std::size_t(j)] =
            double(static_cast<long double>(choose(marked, j)) * static_cast<long double>(choose(pool - marked, draws - j)) / all);
    return law;
}

std::vector<std::uint64_t> subsetSumCounts(int pool, int k)
{
    const int maxSum = k * (2 * pool - k + 1) / 2;
    // ways[j][s]: sets of j numbers among those seen so far with sum s.
    std::vector<std::vector<std::uint64_t>> ways(std::size_t(k) + 1, std::vector<std::uint64_t>(std::size_t(maxSum) + 1, 0));
    ways[0][0] = 1;
    for (int n = 1; n <= pool; ++n)
        for (int j = std::min(n, k); j >= 1; --j)
            for (int s = maxSum; s >= n; --s)
                ways[std::size_t(j)][std::size_t(s)] += ways[std::size_t(j - 1)][std::size_t(s - n)];
    return ways[std::size_t(k)];
}

GoodnessOfFit goodnessOfFit(const std::vector<double>& observed, const std::vector<double>& probabilities,
                            double minExpected)
{
    const double n = std::accumulate(observed.begin(), observed.end(), 0.0);
    // Cells pooled from the low end, then the last cell into its neighbour
    // while it is still short.
    std::vector<std::pair<double, double>> cells;  // observed, expected
    std::pair<double, double> open{0, 0};
    for (std::size_t i = 0; i < probabilities.size(); ++i) {
        open.first += i < observed.size() ? observed[i] : 0.0;
        open.second += n * probabilities[i];
        if (open.second >= minExpected) {
            cells.push_back(open);
            open = {0, 0};
        }
    }
    if (open.second > 0 || open.first > 0) {
        if (cells.empty())
            cells.push_back(open);
        else {
            cells.back().first += open.first;
            cells.back().second += open.second;
        }
    }
    GoodnessOfFit fit;
    if (cells.empty() || n <= 0)
        return fit;
    for (const auto& [o, e] : cells)
        if (e > 0)
            fit.statistic += (o - e) * (o - e) / e;
    fit.df = int(cells.size()) - 1;
    // One cell left, or one short of minExpected (everything pooled and still
    // too few): χ² does not describe the statistic, so no p-value.
    if (*fit.df >= 1 && cells.front().second >= minExpected && cells.back().second >= minExpected)
        fit.p = chiSquareUpperTail(fit.statistic, *fit.df);
    return fit;
}

}  // namespace mirkano::stats
