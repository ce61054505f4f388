#pragma once
// The upper tail P(S ≥ x) of a sum S of many independent small counts, each
// with a law over 0 … a few (a prediction's matches with one draw). Laws
// that repeat are given once with their multiplicity, so a history of
// tens of thousands of draws with a handful of distinct laws costs one
// Fourier transform, not a convolution per draw.
//
// Few terms are convolved directly (exact but for rounding). Beyond that the
// laws are tilted so that the tilted sum has its mean at x (the saddle
// point), the tilted sum's law comes from one transform, and the tail is
// untilted exactly: P(S = v) = P_θ(S = v) · M(θ) · e^(−θv). The transform's
// rounding error is then relative to the terms near x that make the tail, so
// small p-values keep their leading digits instead of drowning in the
// rounding of the law's peak.

#include <vector>

namespace mirkano::stats {

struct RepeatedLaw {
    std::vector<double> law;  // P(X = j), j = 0 … (sums to 1)
    int count = 0;            // independent copies of X in the sum
};

// P(S ≥ x); the direct convolution for small sums, the tilted transform
// beyond. 1 for x ≤ 0, 0 above the largest possible sum.
double sumUpperTail(const std::vector<RepeatedLaw>& laws, long long x);

// The two ways, for tests that hold one against the other.
double sumUpperTailDirect(const std::vector<RepeatedLaw>& laws, long long x);
double sumUpperTailFourier(const std::vector<RepeatedLaw>& laws, long long x);

}  // namespace mirkano::stats
