#pragma once
// The distributions the statistical tests need, computed exactly where the
// numbers are small (binomial coefficients, hypergeometric laws, the law of a
// sum of k different numbers) and to double precision where a
// tail of a continuous law is asked for (χ², normal).

#include <cstdint>
#include <optional>
#include <vector>

namespace mirkano::stats {

// P(X ≥ x) for X ~ χ²(df), df ≥ 1; 1 for x ≤ 0.
double chiSquareUpperTail(double x, int df);

// The two-sided p-value of a standard normal z: P(|Z| ≥ |z|).
double normalTwoSided(double z);

// The exact two-sided p-value of k successes in n trials of chance p:
// twice the smaller tail, at most 1.
double binomialTwoSided(int k, int n, double p);

// Holm's step-down correction of p-values: each adjusted value, in the
// order given, capped at 1 and never below the one of a smaller p-value.
std::vector<double> holm(const std::vector<double>& p);

// P(K = j), j = 0 … draws: of `draws` numbers drawn without replacement from
// a pool of `pool` in which `marked` are marked, how many are marked.
std::vector<double> hypergeometric(int pool, int marked, int draws);

// The law of the sum of `k` different numbers of 1 … `pool`, each set equally
// likely, as counts of sets per sum (index = sum; sums below the least are 0).
// The counts add up to C(pool, k). Exact in 64 bits for the games' pools.
std::vector<std::uint64_t> subsetSumCounts(int pool, int k);

// A χ² goodness-of-fit test of observed counts against probabilities (one
// cell per index), cells pooled from the low end until each expected count
// is at least `minExpected`, a short last cell into its neighbour. df =
// pooled cells − 1. A test left with one cell (df 0) says nothing: its p is
// empty; with no observations at all df is empty too.
struct GoodnessOfFit {
    double statistic = 0;
    std::optional<int> df;
    std::optional<double> p;
};
GoodnessOfFit goodnessOfFit(const std::vector<double>& observed, const std::vector<double>& probabilities,
                            double minExpected = 5.0);

}  // namespace mirkano::stats
