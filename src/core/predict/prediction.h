#pragma once
// The prediction engine: fixed rules, no random source. Building the tables
// walks the history once (per opening of the prediction window); predicting
// is cheap and runs again for every change of the reflect options, against
// the same tables. Both are pure functions of their arguments.

#include "core/predict/reflect_options.h"
#include "core/history/history.h"

#include <array>
#include <cstdint>
#include <vector>

namespace mirkano {

// The draw intervals that count as periods, in the order of their rows.
inline constexpr std::array<int, 4> kPeriods = {7, 9, 11, 12};
// The multiple prediction reads this many draws back from its offset.
inline constexpr int kBlockDraws = 4;

struct PeriodTables {
    // The game the draws are of: its pool, main and bonus numbers.
    GameId gameId = GameId::Loto6;
    const Game& game() const { return mirkano::game(gameId); }
    // The numbers of every complete draw (mains, then bonuses; the slots
    // past the game's count stay 0), indexed directly by draw number (0 …
    // the highest draw number of the history); 0 means nothing is stored.
    std::vector<std::array<std::uint8_t, kMaxNumbersPerDraw>> draws;
    // For each period of kPeriods and each position of the game (第1数字 …,
    // then the ボーナス数字), the number of the latest draw at that position
    // that came back exactly that many draws after its previous appearance;
    // 0 is empty. Within one period no number stands at two positions.
    std::array<std::array<int, kMaxNumbersPerDraw>, kPeriods.size()> periods{};

    // The stored number of a draw at a position of the game; 0 outside the table.
    int value(int drawNo, int position) const
    {
        if (drawNo < 0 || drawNo >= int(draws.size()))
            return 0;
        return draws[std::size_t(drawNo)][std::size_t(position)];
    }
};

// With k the game's main numbers and p its numbers per draw (Loto 6: 6 and
// 7; Loto 7: 7 and 9; Mini Loto: 5 and 6):
struct Predictions {
    int offset = 0;              // W: the sum of the weights of the options on
    std::vector<int> elimination;  // 消去法: distinct candidates in candidate order (≤ 3p)
    std::vector<int> multiple;     // 連発予想: ≤ 2k numbers in scan order
    std::vector<int> single;       // １発予想: the first ≤ k of the multiple prediction
};

// How many numbers the multiple and the single prediction take: two tickets'
// worth and one ticket of the game.
inline int multipleCount(const Game& g) { return 2 * g.mains; }
inline int singleCount(const Game& g) { return g.mains; }

// Fills the draw table from the complete draws of the game in the history
// and records, walking the draws in ascending order, every number that
// reappears after 7, 9, 11 or 12 draws (a bonus counts like a main number in
// both roles). Rows of another game are not read.
PeriodTables buildPeriodTables(const History& history, GameId game = GameId::Loto6);

// The predictions for the latest draw number L and the options on. With the
// offset W, the elimination needs draws down to L − W − 22 and the multiple
// and single predictions down to L − W − 4; when the history is too short for
// that, the result concerned stays empty.
Predictions predict(const PeriodTables& tables, int latestDrawNo, const ReflectFlags& flags);

// Folds any whole number onto the ring 1 … pool: 0 is pool, pool + 1 is 1.
// For Loto 6 the elimination's values 1 … 75 fold down by 43 once.
constexpr int wrapNumber(int v, int pool)
{
    const int r = (v - 1) % pool;
    return (r < 0 ? r + pool : r) + 1;
}

}  // namespace mirkano
