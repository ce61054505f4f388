#pragma once
// Pieces shared by the combination sheets: the pattern sheet of the low/high
// and even/odd analyses with its pattern letters, and the two-row digit
// header of the last-digit analyses, drawn at the top and mirrored at the
// bottom.

#include "core/game/game.h"
#include "core/sheet/sheet.h"

#include <QString>

namespace mirkano::combination {

// The pattern sheet: draw number, the main numbers, the bonus numbers, the
// two counts and the pattern letter; one row per complete draw from row 2.
// Loto 6: 11 columns, the bonus in 8, the counts in 9 and 10.
struct PatternColumns {
    int firstBonus, firstCount, secondCount, letter;
    explicit PatternColumns(const Game& g)
        : firstBonus(g.mains + 2), firstCount(g.numbersPerDraw() + 2), secondCount(firstCount + 1),
          letter(secondCount + 1)
    {
    }
    int count() const { return letter; }
};

struct PatternTexts {
    QString mainTitle;    // over the main numbers, written in column 4
    QString firstCount;   // name of the first count column
    QString secondCount;  // name of the second
};

// The pattern sheet of the game for a history whose last complete draw is
// latestDrawNo, with its header drawn.
Sheet makePatternSheet(const Game& game, int latestDrawNo, const PatternTexts& texts);

// Writes the letter "A" … "H" of index 0 … 7 (one per count of 0 … mains)
// into the cell with its colour; "A" keeps the cell's own background.
void writePatternLetter(Sheet& s, int index, int col, int row);

// The last-digit sheets: draw number and the ten digits 0 … 9 (digit d in
// column d + 2), two header rows at the top and two mirrored ones at the
// bottom.
inline constexpr int kDigitColumns = 11;
inline constexpr int kFirstDigitRow = 3;
constexpr int digitColumn(int digit) { return digit + 2; }

// The last-digit sheet for a history whose last complete draw is
// latestDrawNo: rows for draws 1 … latestDrawNo from row 3, the header in
// rows 1 and 2 and its mirror in the last two rows.
Sheet makeDigitSheet(int latestDrawNo);

}  // namespace mirkano::combination
