#pragma once
// The number map shared by the scatter chart and the division sheets: the
// draw number in the first column, one column per number 1 … pool of the
// game, and the draw number again in the last column.

#include "core/sheet/sheet.h"
#include "core/history/history.h"

namespace mirkano {

inline int numberMapColumns(const Game& g) { return g.pool + 2; }

// Number n stands in column n + 1.
constexpr int numberMapColumn(int n) { return n + 1; }

// "回", 1 … pool, "回" across the row; the caller colours it.
void writeNumberMapHeader(Sheet& s, int row, const Game& g);

// A complete draw's row: its draw number at both ends and "●" under each of
// its numbers, in the main-number or the bonus mark colour.
void markDraw(Sheet& s, int row, const DrawRecord& d);

}  // namespace mirkano
