#include "core/analysis/combination/combination.h"

namespace mirkano {

namespace {

constexpr int kColumns = 14;
constexpr int kLeftDrawColumn = 1;   // 回数, then the six main numbers for consecutive pairs
constexpr int kRightDrawColumn = 8;  // 回数, then the six main numbers for stepping stones

// Colours the cells of every pair of neighbouring fields whose second number
// is the first plus step, in the block whose draw-number column is drawColumn.
// A run of three marks three cells through two overlapping pairs. Returns the
// number of pairs found.
int markPairs(Sheet& s, const DrawRecord& d, int drawColumn, int row, int step, Rgb color)
{
    int pairs = 0;
    for (int i = 0; i < 5; ++i) {
        if (d.main(i + 1) == d.main(i) + step) {
            ++pairs;
            s.setBackground({drawColumn + 1 + i, row, drawColumn + 2 + i, row}, color);
        }
    }
    return pairs;
}

void writeBlock(Sheet& s, const DrawRecord& d, int drawColumn, int row)
{
    s.setText(drawColumn, row, d.drawNo);
    for (int i = 0; i < 6; ++i)
        s.setText(drawColumn + 1 + i, row, d.main(i));
}

}  // namespace

Sheet buildConsecutiveSheet(const History& history, const StartupTables& t)
{
    const int rows = t.latestDrawNo + 1;
    Sheet s;
    s.setUp({.columns = kColumns, .rows = rows, .visibleColumns = kColumns, .visibleRows = 51,
             .scrollBars = ScrollBars::Vertical, .frozenRows = 1, .frozenColumns = 0,
             .columnWidth = 4, .rowHeight = 10});
    for (int col : {kLeftDrawColumn, kRightDrawColumn})
        s.setColors({col, 1, col, rows}, colors::red, colors::lightYellow);
    s.setBorder({1, 1, kColumns, rows}, BorderAll);

    // Each group of six number headers reads as one framed title cell.
    s.clearBorder({2, 1, 7, 1});
    s.setBorder({2, 1, 7, 1}, BorderOutline);
    s.clearBorder({9, 1, 14, 1});
    s.setBorder({9, 1, 14, 1}, BorderOutline);
    s.setBackground({2, 1, 7, 1}, colors::lightMagenta);
    s.setBackground({9, 1, 14, 1}, colors::lightRed);
    s.setText(kLeftDrawColumn, 1, QStringLiteral("回数"));
    s.setText(4, 1, QStringLiteral("連番(本数字)"));
    s.setText(kRightDrawColumn, 1, QStringLiteral("回数"));
    s.setText(11, 1, QStringLiteral("飛び石(本数字)"));
    s.setHAlign(Block::cell(4, 1), HAlign::Left);
    s.setHAlign(Block::cell(11, 1), HAlign::Left);
    s.setAllowOverflow(true);

    // Only neighbouring fields are compared, in field order; the bonus is not
    // analysed. A draw-number cell turns grey when its block has no pair.
    int row = 2;
    for (const DrawRecord& d : history) {
        if (!d.complete())
            continue;
        writeBlock(s, d, kLeftDrawColumn, row);
        if (markPairs(s, d, kLeftDrawColumn, row, 1, colors::lightCyan) == 0)
            s.setBackground(Block::cell(kLeftDrawColumn, row), colors::lightGrey);
        writeBlock(s, d, kRightDrawColumn, row);
        if (markPairs(s, d, kRightDrawColumn, row, 2, colors::lightGreen) == 0)
            s.setBackground(Block::cell(kRightDrawColumn, row), colors::lightGrey);
        ++row;
    }
    return s;
}

}  // namespace mirkano
