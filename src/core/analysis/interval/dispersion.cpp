#include "core/analysis/interval/interval.h"

#include "core/analysis/number_map.h"

namespace mirkano {

namespace {

constexpr int kColumns = kNumberMapColumns;
constexpr int kFirstDataRow = 3;
constexpr Rgb kHeaderBack{222, 254, 253};

void drawNumberHeader(Sheet& s, int row)
{
    writeNumberMapHeader(s, row);
    s.setColors({2, row, kMaxNumber + 1, row}, colors::blue, kHeaderBack);
}

}  // namespace

Sheet buildDispersionSheet(const History& history, const StartupTables& t)
{
    const int g = t.latestDrawNo;
    const int rows = g + 3;

    Sheet s;
    s.setUp({.columns = kColumns, .rows = rows, .visibleColumns = kColumns, .visibleRows = 47,
             .scrollBars = ScrollBars::Both, .frozenRows = 2, .frozenColumns = 1,
             .columnWidth = 2, .rowHeight = 10});
    s.setColumnWidth(1, 5);
    s.setColumnWidth(kColumns, 5);
    s.setRowHeight(1, 15);
    s.setRowHeight(2, 15);
    s.setColors({1, 1, 1, rows}, colors::red, colors::lightYellow);
    s.setColors({kColumns, 1, kColumns, rows}, colors::red, colors::lightYellow);
    s.setBorder({1, 2, kColumns, rows}, BorderAll, colors::gridLine);
    s.setBorder({2, 1, kMaxNumber + 1, 1}, BorderOutline, colors::gridLine);
    s.setBorder(Block::cell(1, 1), BorderRight, colors::gridLine);

    s.setBackground({2, 1, kMaxNumber + 1, 1}, kHeaderBack);
    s.setText(22, 1, QStringLiteral("数　　　　　　　字"));
    s.setForeground(Block::cell(22, 1), colors::blue);
    s.setHAlign(Block::cell(22, 1), HAlign::Center);
    s.setAllowOverflow(true);
    s.setActiveCell(0, 0);

    drawNumberHeader(s, 2);
    drawNumberHeader(s, g + 3);

    // Only complete draws take a row, so the chart has no gaps.
    int row = kFirstDataRow;
    for (const DrawRecord& d : history) {
        if (!d.complete())
            continue;
        markDraw(s, row, d);
        ++row;
    }
    return s;
}

}  // namespace mirkano
