#include "core/analysis/interval/interval_sheet.h"

#include "core/history/history.h"

namespace mirkano::interval {

namespace {

// The two header rows starting at row r. At the bottom the copy is mirrored:
// the column names come first, next to the data, and the title row second.
void drawHeader(Sheet& s, int r, bool bottom, const HeaderTexts& texts)
{
    const int titleRow = bottom ? r + 1 : r;
    const int nameRow = bottom ? r : r + 1;

    // The title row reads as two wide cells: the main numbers over columns
    // 2 to 13 and the bonus over columns 14 and 15, framed or not.
    s.clearBorder({2, titleRow, kBonusColumn, titleRow});
    if (texts.framedTitles)
        s.setBorder({2, titleRow, kBonusColumn, titleRow}, BorderOutline);
    s.clearBorder({kBonusColumn, titleRow, kColumns, titleRow});
    if (texts.framedTitles)
        s.setBorder({kBonusColumn, titleRow, kColumns, titleRow}, BorderOutline);
    s.setBorder(Block::cell(kBonusColumn, titleRow), BorderLeft);
    s.setBorder(Block::cell(kColumns, titleRow), BorderRight);

    s.setColors({2, r, kColumns, r + 1}, colors::black, colors::lightRed);
    s.setAllowOverflow(true);

    s.setText(7, titleRow, texts.mainTitle);
    s.setHAlign(Block::cell(7, titleRow), HAlign::Left);
    s.setText(kBonusColumn, titleRow, texts.bonusTitle);
    s.setHAlign(Block::cell(kBonusColumn, titleRow), HAlign::Left);

    s.setText(1, nameRow, QStringLiteral("回数"));
    for (int k = 0; k < 6; ++k)
        s.setText(numberColumn(k), nameRow, QStringLiteral("第%1数字").arg(k + 1));
    s.setText(kBonusColumn, nameRow, QStringLiteral("ボ数字"));
    for (int k = 0; k < kNumbersPerDraw; ++k)
        s.setText(figureColumn(k), nameRow, texts.figureName);
}

}  // namespace

Sheet makeIntervalSheet(int latestDrawNo, const HeaderTexts& texts)
{
    const int rows = latestDrawNo + 4;
    Sheet s;
    s.setUp({.columns = kColumns, .rows = rows, .visibleColumns = kColumns, .visibleRows = 52,
             .scrollBars = ScrollBars::Vertical, .frozenRows = 2, .frozenColumns = 0,
             .columnWidth = 5, .rowHeight = 10});
    s.setRowHeight(1, 15);
    s.setRowHeight(2, 12);
    s.setColors({1, 1, 1, rows}, colors::red, colors::lightYellow);
    for (int k = 0; k < kNumbersPerDraw; ++k)
        s.setBackground({numberColumn(k), kFirstDataRow, numberColumn(k), rows}, colors::lightCyan);
    s.setBorder({1, 1, kColumns, rows}, BorderAll);
    s.setActiveCell(0, 0);

    drawHeader(s, 1, false, texts);
    drawHeader(s, latestDrawNo + 3, true, texts);
    return s;
}

}  // namespace mirkano::interval
