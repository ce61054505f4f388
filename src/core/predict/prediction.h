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
    // The seven numbers of every complete draw, indexed directly by draw
    // number (0 … the highest draw number of the history); 0 means nothing
    // is stored.
    std::vector<std::array<std::uint8_t, kNumbersPerDraw>> draws;
    // For each period of kPeriods and each position (第1数字 … 第6数字,
    // ボーナス数字), the number of the latest draw at that position that came
    // back exactly that many draws after its previous appearance; 0 is empty.
    // Within one period no number stands at two positions.
    std::array<std::array<int, kNumbersPerDraw>, kPeriods.size()> periods{};

    // The stored number of a draw at position 0 … 6; 0 outside the table.
    int value(int drawNo, int position) const
    {
        if (drawNo < 0 || drawNo >= int(draws.size()))
            return 0;
        return draws[std::size_t(drawNo)][std::size_t(position)];
    }
};

struct Predictions {
    int offset = 0;              // W: the sum of the weights of the options on
    std::vector<int> elimination;  // 消去法: distinct candidates in candidate order (≤ 21)
    std::vector<int> multiple;     // 連発予想: ≤ 12 numbers in scan order
    std::vector<int> single;       // １発予想: the first ≤ 6 of the multiple prediction
};

// Fills the draw table from the complete draws of the history and records,
// walking the draws in ascending order, every number that reappears after
// 7, 9, 11 or 12 draws (the bonus counts like a main number in both roles).
PeriodTables buildPeriodTables(const History& history);

// The predictions for the latest draw number L and the options on. With the
// offset W, the elimination needs draws down to L − W − 22 and the multiple
// and single predictions down to L − W − 4; when the history is too short for
// that, the result concerned stays empty.
Predictions predict(const PeriodTables& tables, int latestDrawNo, const ReflectFlags& flags);

// Folds 1 … 86 into 1 … 43 (and 0 or less up by 43), once.
constexpr int wrapNumber(int v)
{
    if (v > kMaxNumber)
        return v - kMaxNumber;
    if (v <= 0)
        return v + kMaxNumber;
    return v;
}

}  // namespace mirkano
