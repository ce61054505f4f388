#pragma once
// The exact chance of each best result per draw for a set of tickets, over
// every possible draw of a game: every main draw, each with every set of
// bonus numbers from the numbers left. Only the draw's numbers on the
// tickets matter, so the draws are walked as the subsets X of the tickets'
// numbers (|X| ≤ the game's mains), each standing for the C(pool − v,
// mains − |X|) main draws that meet the tickets' v numbers in X; the bonus
// sets are counted, not walked: a set of b bonus numbers out of the u left
// avoids r given numbers in C(u − r, b) ways.
//
// Beside it, the same for as many tickets bought at random: each ticket
// drawn uniformly and independently of the others; by symmetry a random
// ticket wins class c or better with the same chance Q_c whatever the draw,
// so n of them do with 1 − (1 − Q_c)ⁿ, and the best result is c with the
// difference of two such terms.

#include "core/game/game.h"

#include <cstdint>
#include <span>
#include <vector>

namespace mirkano {

struct WheelChances {
    // Draws (main set and bonus set) whose best result over the tickets is
    // class c (index c − 1), and those with no prize; they sum to total.
    std::vector<std::uint64_t> classCounts;
    std::uint64_t noneCount = 0;
    std::uint64_t total = 0;

    double classChance(int c) const { return double(classCounts[std::size_t(c - 1)]) / double(total); }
    double noneChance() const { return double(noneCount) / double(total); }
};

// Tickets of the game (each its main count of different numbers 1 … pool).
// The game may be any shape (tests use small made-up games); its classes must
// depend on the bonus numbers only through whether one is held, and holding
// one must never make a class worse, as in the three lotteries.
WheelChances wheelChances(const Game& g, std::span<const std::vector<int>> tickets);

// P(best = c) for c = 1 … classes (index c − 1) and, last, P(no prize) for
// n tickets bought at random.
std::vector<double> randomTicketChances(const Game& g, std::uint64_t n);

}  // namespace mirkano
