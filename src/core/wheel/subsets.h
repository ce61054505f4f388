#pragma once
// Sets of at most 64 points as bit masks, and the r-subsets of a mask: the
// wheel's search, verifier and chances all walk subsets this way. A subset's
// colex rank (Σ C(p_i, i + 1) over its points p_0 < p_1 < …) numbers the
// r-subsets of 0 … n − 1 from 0 to C(n, r) − 1.

#include <array>
#include <bit>
#include <cstdint>

namespace mirkano::wheel {

using Mask = std::uint64_t;

inline int popcount(Mask m) { return std::popcount(m); }

// C(n, k) for n ≤ 64 from a table (0 when k < 0 or k > n).
struct Binomials {
    std::array<std::array<std::uint64_t, 65>, 65> c{};
    constexpr Binomials()
    {
        for (int n = 0; n <= 64; ++n) {
            c[n][0] = 1;
            for (int k = 1; k <= n; ++k)
                c[n][k] = c[n - 1][k - 1] + (k <= n - 1 ? c[n - 1][k] : 0);
        }
    }
    constexpr std::uint64_t operator()(int n, int k) const { return k < 0 || k > n || n < 0 ? 0 : c[n][k]; }
};
inline constexpr Binomials kBinom;

inline std::uint64_t colexRank(Mask s)
{
    std::uint64_t r = 0;
    for (int i = 1; s; ++i, s &= s - 1)
        r += kBinom(std::countr_zero(s), i);
    return r;
}

// Calls f(subset) for every r-subset of `from`, in ascending order of masks
// (Gosper's step over the mask's own points).
template <typename F>
void forEachSubset(Mask from, int r, F&& f)
{
    int points[64];
    int n = 0;
    for (Mask s = from; s; s &= s - 1)
        points[n++] = std::countr_zero(s);
    if (r < 0 || r > n)
        return;
    if (r == 0) {
        f(Mask(0));
        return;
    }
    int idx[64];
    for (int i = 0; i < r; ++i)
        idx[i] = i;
    while (true) {
        Mask m = 0;
        for (int i = 0; i < r; ++i)
            m |= Mask(1) << points[idx[i]];
        f(m);
        int i = r - 1;
        while (i >= 0 && idx[i] == n - r + i)
            --i;
        if (i < 0)
            return;
        ++idx[i];
        for (int j = i + 1; j < r; ++j)
            idx[j] = idx[j - 1] + 1;
    }
}

inline Mask lowBits(int n) { return n >= 64 ? ~Mask(0) : (Mask(1) << n) - 1; }

}  // namespace mirkano::wheel
