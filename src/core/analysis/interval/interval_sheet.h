#pragma once
// The layout shared by the two interval sheets (出現間隔分析 and 数字間隔分析):
// 15 columns — the draw number, then each of the seven numbers with its
// figure to its right — one row per history row, and the two-row header at
// the top and again, mirrored, at the bottom.

#include "core/sheet/sheet.h"

#include <QString>

namespace mirkano::interval {

inline constexpr int kColumns = 15;
inline constexpr int kFirstDataRow = 3;
inline constexpr int kBonusColumn = 14;

// Column of the k-th number (k = 0 … 6) and of its figure.
constexpr int numberColumn(int k) { return 2 * k + 2; }
constexpr int figureColumn(int k) { return 2 * k + 3; }

struct HeaderTexts {
    QString mainTitle;   // over the main numbers, written in column 7
    QString bonusTitle;  // over the bonus, written in column 14
    QString figureName;  // name of every figure column
    bool framedTitles;   // the title row reads as two framed blocks
};

// The sheet for a history whose last complete draw is latestDrawNo, with
// both headers drawn.
Sheet makeIntervalSheet(int latestDrawNo, const HeaderTexts& texts);

}  // namespace mirkano::interval
