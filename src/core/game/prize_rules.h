#pragma once
// The money rules of the three lotteries: the share of sales paid out as
// prizes, the classes paid a fixed amount, and the highest 1等 prize with and
// without a carry-over, each with the draw from which it applies. Sources:
// the published game rules of each lottery (商品概要 and 当せん金 of ロト6,
// ロト7 and ミニロト, and the 当せん金付証票法, which caps the prizes at half
// of sales); where the rules' date of a change is not certain, the draws of
// the real prize data bound it (firstSure … fromDraw below). The help page
// 期待値 states each rule with its source.

#include "core/game/game.h"

#include <cstdint>
#include <optional>
#include <span>

namespace mirkano {

// A class paid the same yen per winning ticket in every draw (Loto 6's 5等:
// 1,000円), taken from the prize fund before the other classes share it.
struct FixedPrize {
    int prizeClass;      // 1 … the game's classes
    std::int64_t yen;
};

// The highest 1等 prize per ticket from a draw on. Money above it stays in
// the carry-over.
struct FirstPrizeCap {
    int fromDraw;                 // first draw under this cap
    std::int64_t cap;             // without a carry-over into the draw
    std::int64_t capCarryOver;    // with a carry-over into the draw (= cap where the game has none)
    // The earliest draw at which the real prize data show this cap in force:
    // when it is after fromDraw, the date of the change is taken from the
    // rules as published and could not be confirmed draw by draw.
    int confirmedBy;
};

struct PrizeRules {
    // Prizes are this share of sales (45 %): fundPercent / 100.
    int fundPercent;
    std::span<const FixedPrize> fixed;
    std::span<const FirstPrizeCap> caps;  // ascending fromDraw, the first from draw 1
};

const PrizeRules& prizeRules(GameId game);
// The cap in force at a draw (the last whose fromDraw ≤ drawNo).
const FirstPrizeCap& firstPrizeCap(GameId game, int drawNo);
// The fixed amount of a class, or nullopt when the class shares the fund.
std::optional<std::int64_t> fixedPrize(GameId game, int prizeClass);

}  // namespace mirkano
