// The exhaustive check of a wheel's guarantee and the lower bound on its size.

#include "core/wheel/wheel_cover.h"

#include <algorithm>

namespace mirkano::wheel {

std::uint64_t uncoveredCount(const CoverShape& s, std::span<const Mask> blocks)
{
    std::uint64_t missing = 0;
    forEachSubset(lowBits(s.n), s.m, [&](Mask drawn) {
        for (Mask b : blocks)
            if (popcount(b & drawn) >= s.t)
                return;
        ++missing;
    });
    return missing;
}

std::uint64_t coveredPerBlock(const CoverShape& s)
{
    std::uint64_t per = 0;
    for (int i = s.t; i <= std::min(s.k, s.m); ++i)
        per += kBinom(s.k, i) * kBinom(s.n - s.k, s.m - i);
    return per;
}

std::uint64_t lowerBound(const CoverShape& s)
{
    if (s.m == s.t) {
        // L(n, k, t) ≥ ⌈n / k · L(n − 1, k − 1, t − 1)⌉, L(·, ·, 0) = 1.
        std::uint64_t bound = 1;
        for (int i = s.t - 1; i >= 0; --i) {
            const std::uint64_t n = std::uint64_t(s.n - i), k = std::uint64_t(s.k - i);
            bound = (n * bound + k - 1) / k;
        }
        return bound;
    }
    const std::uint64_t per = coveredPerBlock(s);
    const std::uint64_t all = kBinom(s.n, s.m);
    return std::max<std::uint64_t>(1, per ? (all + per - 1) / per : 1);
}

}  // namespace mirkano::wheel
