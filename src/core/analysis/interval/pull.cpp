#include "core/analysis/interval/interval.h"

#include <algorithm>

namespace mirkano {

namespace {

constexpr int kColumns = 8;  // draw number, six main numbers, bonus
constexpr int kFirstDataRow = 2;

}  // namespace

Sheet buildPullSheet(const History& history, const StartupTables& t)
{
    const int rows = t.latestDrawNo + 1;

    Sheet s;
    s.setUp({.columns = kColumns, .rows = rows, .visibleColumns = kColumns, .visibleRows = 51,
             .scrollBars = ScrollBars::Vertical, .frozenRows = 1, .frozenColumns = 1,
             .columnWidth = 7, .rowHeight = 10});
    s.setColumnWidth(kColumns, 9);
    s.setRowHeight(1, 15);
    s.setColors({1, 1, 1, rows}, colors::red, colors::lightYellow);
    s.setBorder({1, 1, kColumns, rows}, BorderAll, colors::gridLine);
    s.setActiveCell(0, 0);

    // The six main-number headers read as one title cell underlined as a whole.
    s.clearBorder({2, 1, 7, 1});
    s.setBorder({2, 1, 7, 1}, BorderBottom, colors::gridLine);
    s.setColors({1, 1, kColumns, 1}, colors::black, colors::lightRed);
    s.setAllowOverflow(true);
    s.setText(1, 1, QStringLiteral("回数"));
    s.setText(4, 1, QStringLiteral("        本 数 字         "));
    s.setHAlign(Block::cell(4, 1), HAlign::Left);
    s.setText(kColumns, 1, QStringLiteral("ボーナス数字"));

    // A number is highlighted when it was among the seven numbers of the last
    // complete draw, whatever its position there. Only complete draws take a
    // row and become the reference.
    std::array<int, kMaxNumbersPerDraw> previous{};
    int row = kFirstDataRow;
    for (const DrawRecord& d : history) {
        if (!d.complete())
            continue;
        s.setText(1, row, d.drawNo);
        for (int k = 0; k < kNumbersPerDraw; ++k) {
            const int n = d.numbers[std::size_t(k)];
            s.setText(k + 2, row, n);
            if (std::find(previous.begin(), previous.end(), n) != previous.end())
                s.setBackground(Block::cell(k + 2, row), colors::lightCyan);
        }
        previous = d.numbers;
        ++row;
    }
    return s;
}

}  // namespace mirkano
