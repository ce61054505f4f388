#include "core/analysis/combination/combination.h"

#include "core/analysis/draw_rows.h"

namespace mirkano {

namespace {

// Two blocks side by side, each 回数 and the main numbers: consecutive pairs
// from column 1, stepping stones from column mains + 2 (Loto 6: 8).
constexpr int kLeftDrawColumn = 1;

// Colours the cells of every pair of neighbouring fields whose second number
// is the first plus step, in the block whose draw-number column is drawColumn.
// A run of three marks three cells through two overlapping pairs. Returns the
// number of pairs found.
int markPairs(Sheet& s, const DrawRecord& d, int drawColumn, int row, int step, Rgb color)
{
    int pairs = 0;
    for (int i = 0; i + 1 < d.mainCount(); ++i) {
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
    for (int i = 0; i < d.mainCount(); ++i)
        s.setText(drawColumn + 1 + i, row, d.main(i));
}

}  // namespace

Sheet buildConsecutiveSheet(const History& history, const StartupTables& t)
{
    const int mains = t.game().mains;
    const int rightDrawColumn = mains + 2;
    const int columns = 2 * (mains + 1);
    const int rows = t.latestDrawNo + 1;
    Sheet s;
    s.setUp({.columns = columns, .rows = rows, .visibleColumns = columns, .visibleRows = 51,
             .scrollBars = ScrollBars::Vertical, .frozenRows = 1, .frozenColumns = 0,
             .columnWidth = 4, .rowHeight = 10});
    for (int col : {kLeftDrawColumn, rightDrawColumn})
        s.setColors({col, 1, col, rows}, colors::red, colors::lightYellow);
    s.setBorder({1, 1, columns, rows}, BorderAll);

    // Each group of main-number headers reads as one framed title cell.
    const Block left{kLeftDrawColumn + 1, 1, kLeftDrawColumn + mains, 1};
    const Block right{rightDrawColumn + 1, 1, rightDrawColumn + mains, 1};
    s.clearBorder(left);
    s.setBorder(left, BorderOutline);
    s.clearBorder(right);
    s.setBorder(right, BorderOutline);
    s.setBackground(left, colors::lightMagenta);
    s.setBackground(right, colors::lightRed);
    s.setText(kLeftDrawColumn, 1, QStringLiteral("回数"));
    s.setText(kLeftDrawColumn + 3, 1, QStringLiteral("連番(本数字)"));
    s.setText(rightDrawColumn, 1, QStringLiteral("回数"));
    s.setText(rightDrawColumn + 3, 1, QStringLiteral("飛び石(本数字)"));
    s.setHAlign(Block::cell(kLeftDrawColumn + 3, 1), HAlign::Left);
    s.setHAlign(Block::cell(rightDrawColumn + 3, 1), HAlign::Left);
    s.setAllowOverflow(true);

    // Only neighbouring fields are compared, in field order; the bonus is not
    // analysed. A draw-number cell turns grey when its block has no pair.
    for (const auto [d, row] : completeDrawRows(history, 2)) {
        writeBlock(s, d, kLeftDrawColumn, row);
        if (markPairs(s, d, kLeftDrawColumn, row, 1, colors::lightCyan) == 0)
            s.setBackground(Block::cell(kLeftDrawColumn, row), colors::lightGrey);
        writeBlock(s, d, rightDrawColumn, row);
        if (markPairs(s, d, rightDrawColumn, row, 2, colors::lightGreen) == 0)
            s.setBackground(Block::cell(rightDrawColumn, row), colors::lightGrey);
    }
    return s;
}

}  // namespace mirkano
