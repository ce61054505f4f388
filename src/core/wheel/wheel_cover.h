#pragma once
// The guarantee of a wheel and its checks: whether every m-subset of the
// free (non-key) numbers meets some ticket in t or more numbers, checked
// exhaustively, and the lower bound on the tickets any wheel needs.

#include "core/wheel/subsets.h"

#include <cstdint>
#include <span>

namespace mirkano::wheel {

// The guarantee over n free points 0 … n − 1, k of them on a ticket.
struct CoverShape {
    int n = 0;  // free points
    int k = 0;  // free places on a ticket
    int t = 0;  // matched …
    int m = 0;  // … when this many are drawn
};

// The m-subsets of the free points that no block meets in t or more points
// (0 for a wheel that keeps its guarantee), checked one by one.
std::uint64_t uncoveredCount(const CoverShape& s, std::span<const Mask> blocks);

// Schönheim's bound when m = t (⌈n/k ⌈(n−1)/(k−1) … ⌈(n−t+1)/(k−t+1)⌉⌉⌉);
// for m > t the larger of 1 and the counting bound: C(n, m) over the most
// m-subsets one block can meet in t or more points.
std::uint64_t lowerBound(const CoverShape& s);

// The m-subsets one block meets in t or more points.
std::uint64_t coveredPerBlock(const CoverShape& s);

}  // namespace mirkano::wheel
