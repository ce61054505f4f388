#pragma once
// The tables built once from the history at start-up and read by later windows.

#include "core/history/history.h"

#include <QString>

#include <array>
#include <vector>

namespace mirkano {

struct StartupTables {
    // The game the history is of; every builder reads the game's facts here.
    GameId gameId = GameId::Loto6;
    const Game& game() const { return mirkano::game(gameId); }
    // For each number 1 … pool, its appearances among the numbers of all
    // complete draws (a bonus counts like a main number); index 0 unused.
    std::array<int, kMaxPool + 1> numberCount{};
    // The largest count (0 with no complete draw).
    int maxCount = 0;
    // For each count 0 … maxCount, the numbers with exactly that count,
    // ascending, joined by "," (empty when no number has that count).
    std::vector<QString> countGroups;
    // 1 plus the number of distinct counts.
    int countGroupRows = 1;
    // 回数 of the last complete draw in history order (0 when there is none).
    int latestDrawNo = 0;
};

// The tables of a history of the game; the rows are that game's draws.
StartupTables buildStartupTables(const History& history, GameId game = GameId::Loto6);

}  // namespace mirkano
