#pragma once
// The exact chance of each number of matches for random picks: of the k main
// numbers a game draws from 1 … N (Loto 6: 6 of 43, Loto 7: 7 of 37, Mini
// Loto: 5 of 31), how many fall among `picks` different numbers chosen at
// random (the hypergeometric distribution). No random numbers are drawn;
// every value is a ratio of exact binomial coefficients.

#include "core/game/game.h"

#include <cstdint>
#include <vector>

namespace mirkano {

// C(n, k) exactly, for 0 ≤ n ≤ 43 (the largest, C(43, 21), fits 64 bits);
// 0 when k < 0 or k > n.
std::uint64_t binomial(int n, int k);

// Index m = 0 … k: the probability that exactly m of the game's k drawn main
// numbers are among `picks` distinct random numbers, 0 ≤ picks ≤ N:
// C(k, m) · C(N − k, picks − m) / C(N, picks). The k + 1 values sum to 1.
// Throws std::out_of_range for other picks.
std::vector<double> matchProbabilities(int picks, GameId game = GameId::Loto6);

// Index c = 1 … the game's class count: the probability that the best
// ticket of k numbers made from `picks` distinct random numbers wins prize
// class c of the game; index 0 unused. The best ticket holds every matched
// main number and, where a class asks for them, the bonus numbers among the
// picks (Loto 6: 1等 six, 2等 five and the bonus, 3等 five, 4等 four, 5等
// three). All zero for fewer than k picks, which make no ticket.
// Throws std::out_of_range for picks outside 0 … N.
std::vector<double> bestClassProbabilities(int picks, GameId game = GameId::Loto6);

}  // namespace mirkano
