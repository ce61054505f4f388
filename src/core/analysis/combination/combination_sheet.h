#pragma once
// Pieces shared by the combination sheets: the pattern sheet of the low/high
// and even/odd analyses with its seven pattern letters, and the two-row digit
// header of the last-digit analyses, drawn at the top and mirrored at the
// bottom.

#include "core/sheet/sheet.h"

#include <QString>

namespace mirkano::combination {

// The pattern sheet: draw number, six main numbers, bonus, the two counts
// and the pattern letter; one row per complete draw from row 2.
inline constexpr int kPatternColumns = 11;
inline constexpr int kPatternBonusColumn = 8;
inline constexpr int kPatternLetterColumn = 11;

struct PatternTexts {
    QString mainTitle;    // over the six main numbers, written in column 4
    QString firstCount;   // name of column 9
    QString secondCount;  // name of column 10
};

// The pattern sheet for a history whose last complete draw is latestDrawNo,
// with its header drawn.
Sheet makePatternSheet(int latestDrawNo, const PatternTexts& texts);

// Writes the letter "A" … "G" of index 0 … 6 into the cell with its colour;
// "A" keeps the cell's own background.
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
