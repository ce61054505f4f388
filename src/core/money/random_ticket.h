#pragma once
// What one ticket of numbers picked at random was worth at a draw's prizes:
// the sum over the game's prize classes of the exact chance of the class
// times the 賞金 that draw paid for it.

#include "core/game/game.h"
#include "core/history/draw_prizes.h"

#include <optional>

namespace mirkano {

// Σ P(class) × 賞金 of the class, in yen (a fraction of a yen kept); nullopt
// when the draw's 賞金 of any class of the game is unknown. A class nobody
// won counts with its 賞金 of 0, as the draw paid it.
std::optional<double> randomTicketValue(const Game& g, const DrawPrizes& p);

}  // namespace mirkano
