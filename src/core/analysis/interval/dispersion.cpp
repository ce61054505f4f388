#include "core/analysis/interval/interval.h"

namespace mirkano {

namespace {

constexpr int kColumns = kMaxNumber + 2;  // draw number, 1 … 43, draw number
constexpr int kFirstDataRow = 3;
constexpr Rgb kGridLine{136, 196, 255};
constexpr Rgb kHeaderBack{222, 254, 253};
constexpr Rgb kMainMark{62, 158, 255};
constexpr Rgb kBonusMark{255, 128, 192};

void drawNumberHeader(Sheet& s, int row)
{
    s.setText(1, row, QStringLiteral("回"));
    for (int n = 1; n <= kMaxNumber; ++n)
        s.setText(n + 1, row, n);
    s.setText(kColumns, row, QStringLiteral("回"));
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
    s.setBorder({1, 2, kColumns, rows}, BorderAll, kGridLine);
    s.setBorder({2, 1, kMaxNumber + 1, 1}, BorderOutline, kGridLine);
    s.setBorder(Block::cell(1, 1), BorderRight, kGridLine);

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
        s.setText(1, row, d.drawNo);
        s.setText(kColumns, row, d.drawNo);
        for (int n : d.numbers)
            s.setText(n + 1, row, QStringLiteral("●"));
        for (int k = 0; k < kNumbersPerDraw; ++k)
            s.setForeground(Block::cell(d.numbers[std::size_t(k)] + 1, row),
                            k < 6 ? kMainMark : kBonusMark);
        ++row;
    }
    return s;
}

}  // namespace mirkano
