#pragma once
// The exact chance of each number of matches for random picks: of the six
// main numbers drawn from 1 … 43, how many fall among `picks` different
// numbers chosen at random (the hypergeometric distribution). No random
// numbers are drawn; every value is a ratio of exact binomial coefficients.

#include <array>
#include <cstdint>

namespace mirkano {

inline constexpr int kDrawnMain = 6;

// C(n, k) exactly, for 0 ≤ n ≤ 43 (the largest, C(43, 21), fits 64 bits);
// 0 when k < 0 or k > n.
std::uint64_t binomial(int n, int k);

// Index k = 0 … 6: the probability that exactly k of the six drawn numbers
// are among `picks` distinct random numbers, 0 ≤ picks ≤ 43. The seven
// values sum to 1. Throws std::out_of_range for other picks.
std::array<double, kDrawnMain + 1> matchProbabilities(int picks);

// Index c = 1 … 5: the probability that the best ticket of six numbers made
// from `picks` distinct random numbers wins prize class c (1等: six main
// numbers; 2等: five and the bonus; 3等: five; 4等: four; 5等: three); index
// 0 unused. All zero for fewer than six picks, which make no ticket.
// Throws std::out_of_range for picks outside 0 … 43.
std::array<double, 6> bestClassProbabilities(int picks);

}  // namespace mirkano
