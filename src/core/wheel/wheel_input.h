#pragma once
// What a wheel is asked for: the chosen numbers, the key numbers every ticket
// holds, and the guarantee "if m of the numbers are drawn, some ticket
// matches t of them". The keys stand outside the guarantee: every ticket
// holds all of them, and t and m count only the chosen numbers that are not
// keys (a ticket's matches are then at least t plus the keys drawn). Checking
// the input is here, with a Japanese message for every refusal.

#include "core/error.h"
#include "core/game/game.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace mirkano {

// Bad input of a wheel; the message says what is wrong, in Japanese.
class WheelError : public Error {
public:
    using Error::Error;
};

struct WheelInput {
    GameId game = GameId::Loto6;
    std::vector<int> numbers;  // the chosen numbers, keys included
    std::vector<int> keys;     // numbers every ticket holds
    int match = 3;             // t: numbers a ticket is sure to match …
    int drawn = 3;             // m: … when this many of the non-key numbers are drawn
};

// The most tickets a wheel may have, and the most m-subsets its search may
// track: beyond them a wheel is neither useful nor built in reasonable time.
inline constexpr std::uint64_t kMaxWheelTickets = 5000;
inline constexpr std::uint64_t kMaxWheelTargets = 12'000'000;

// Numbers separated by commas, spaces or 、 (full-width digits accepted),
// e.g. "1,5,12". An empty text is an empty list. Throws WheelError naming
// `what` (選んだ数字, キー数字) for an entry that is not a whole number.
std::vector<int> parseWheelNumbers(const QString& text, const QString& what);
// "t/m" (e.g. "3/4", full-width accepted). Throws WheelError otherwise.
void parseGuarantee(const QString& text, int& match, int& drawn);

// Throws WheelError for: a number outside the game, a number twice, fewer
// numbers than a ticket holds, a key that is not among the numbers or given
// twice, as many keys as a ticket holds or more, t < 1, t > m, m above the
// game's main numbers or above the non-key numbers, t above the free places
// of a ticket, and a wheel whose search would be too large.
// Returns the input with numbers and keys sorted ascending.
WheelInput checkedWheelInput(WheelInput input);

// The full wheel of the input's numbers: every ticket they make with the
// keys; its guarantee is all free places of a ticket.
int fullWheelMatch(const WheelInput& input);

}  // namespace mirkano
