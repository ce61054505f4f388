#include "core/analysis/interval/interval.h"

#include "core/analysis/number_map.h"
#include "core/analysis/draw_rows.h"

namespace mirkano {

namespace {

constexpr int kFirstDataRow = 3;
constexpr Rgb kHeaderBack{222, 254, 253};

void drawNumberHeader(Sheet& s, int row, const Game& game)
{
    writeNumberMapHeader(s, row, game);
    s.setColors({2, row, numberMapColumn(game.pool), row}, colors::blue, kHeaderBack);
}

}  // namespace

Sheet buildDispersionSheet(const History& history, const StartupTables& t)
{
    const Game& game = t.game();
    const int columns = numberMapColumns(game);
    const int lastNumberColumn = numberMapColumn(game.pool);
    const int g = t.latestDrawNo;
    const int rows = g + 3;

    Sheet s;
    s.setUp({.columns = columns, .rows = rows, .visibleColumns = columns, .visibleRows = 47,
             .scrollBars = ScrollBars::Both, .frozenRows = 2, .frozenColumns = 1,
             .columnWidth = 2, .rowHeight = 10});
    s.setColumnWidth(1, 5);
    s.setColumnWidth(columns, 5);
    s.setRowHeight(1, 15);
    s.setRowHeight(2, 15);
    s.setColors({1, 1, 1, rows}, colors::red, colors::lightYellow);
    s.setColors({columns, 1, columns, rows}, colors::red, colors::lightYellow);
    s.setBorder({1, 2, columns, rows}, BorderAll, colors::gridLine);
    s.setBorder({2, 1, lastNumberColumn, 1}, BorderOutline, colors::gridLine);
    s.setBorder(Block::cell(1, 1), BorderRight, colors::gridLine);

    s.setBackground({2, 1, lastNumberColumn, 1}, kHeaderBack);
    // The title stands near the middle of the number columns (Loto 6: 22).
    const int titleColumn = (game.pool + 1) / 2;
    s.setText(titleColumn, 1, QStringLiteral("数　　　　　　　字"));
    s.setForeground(Block::cell(titleColumn, 1), colors::blue);
    s.setHAlign(Block::cell(titleColumn, 1), HAlign::Center);
    s.setAllowOverflow(true);
    s.setActiveCell(0, 0);

    drawNumberHeader(s, 2, game);
    drawNumberHeader(s, g + 3, game);

    // Only complete draws take a row, so the chart has no gaps.
    for (const auto [d, row] : completeDrawRows(history, kFirstDataRow)) {
        markDraw(s, row, d);
    }
    return s;
}

}  // namespace mirkano
