#include "core/analysis/interval/interval_sheet.h"

#include "core/analysis/draw_columns.h"

namespace mirkano::interval {

namespace {

// The two header rows starting at row r. At the bottom the copy is mirrored:
// the column names come first, next to the data, and the title row second.
void drawHeader(Sheet& s, const Game& g, int r, bool bottom, const HeaderTexts& texts)
{
    const int firstBonus = bonusColumn(g);
    const int columns = columnCount(g);
    const int titleRow = bottom ? r + 1 : r;
    const int nameRow = bottom ? r : r + 1;

    // The title row reads as two wide cells: the main numbers (Loto 6:
    // columns 2 to 13) and the bonus numbers (Loto 6: 14 and 15), framed or not.
    s.clearBorder({2, titleRow, firstBonus, titleRow});
    if (texts.framedTitles)
        s.setBorder({2, titleRow, firstBonus, titleRow}, BorderOutline);
    s.clearBorder({firstBonus, titleRow, columns, titleRow});
    if (texts.framedTitles)
        s.setBorder({firstBonus, titleRow, columns, titleRow}, BorderOutline);
    s.setBorder(Block::cell(firstBonus, titleRow), BorderLeft);
    s.setBorder(Block::cell(columns, titleRow), BorderRight);

    s.setColors({2, r, columns, r + 1}, colors::black, colors::lightRed);
    s.setAllowOverflow(true);

    s.setText(g.mains + 1, titleRow, texts.mainTitle);
    s.setHAlign(Block::cell(g.mains + 1, titleRow), HAlign::Left);
    s.setText(firstBonus, titleRow, texts.bonusTitle);
    s.setHAlign(Block::cell(firstBonus, titleRow), HAlign::Left);

    s.setText(1, nameRow, QStringLiteral("回数"));
    for (int k = 0; k < g.mains; ++k)
        s.setText(numberColumn(k), nameRow, QStringLiteral("第%1数字").arg(k + 1));
    for (int j = 0; j < g.bonuses; ++j)
        s.setText(numberColumn(g.mains + j), nameRow, bonusColumnName(g, j, QStringLiteral("ボ数字"), s.columnWidth(numberColumn(g.mains + j))));
    for (int k = 0; k < g.numbersPerDraw(); ++k)
        s.setText(figureColumn(k), nameRow, texts.figureName);
}

}  // namespace

Sheet makeIntervalSheet(const Game& g, int latestDrawNo, const HeaderTexts& texts)
{
    const int columns = columnCount(g);
    const int rows = latestDrawNo + 4;
    Sheet s;
    s.setUp({.columns = columns, .rows = rows, .visibleColumns = columns, .visibleRows = 52,
             .scrollBars = ScrollBars::Vertical, .frozenRows = 2, .frozenColumns = 0,
             .columnWidth = 5, .rowHeight = 10});
    s.setRowHeight(1, 15);
    s.setRowHeight(2, 12);
    s.setColors({1, 1, 1, rows}, colors::red, colors::lightYellow);
    for (int k = 0; k < g.numbersPerDraw(); ++k)
        s.setBackground({numberColumn(k), kFirstDataRow, numberColumn(k), rows}, colors::lightCyan);
    s.setBorder({1, 1, columns, rows}, BorderAll);
    s.setActiveCell(0, 0);

    drawHeader(s, g, 1, false, texts);
    drawHeader(s, g, latestDrawNo + 3, true, texts);
    return s;
}

}  // namespace mirkano::interval
