#include "core/analysis/appearance/appearance.h"

#include <array>

namespace mirkano {

namespace {

constexpr int kColumns = 15;
constexpr int kFirstDataRow = 3;

}  // namespace

Sheet buildAppearanceCountSheet(const History& history, const StartupTables& t)
{
    const int rows = t.latestDrawNo + 2;

    Sheet s;
    s.setUp({.columns = kColumns, .rows = rows, .visibleColumns = kColumns, .visibleRows = 52,
             .scrollBars = ScrollBars::Vertical, .frozenRows = 2, .frozenColumns = 0,
             .columnWidth = 5, .rowHeight = 10});
    s.setRowHeight(1, 20);
    s.setRowHeight(2, 12);
    s.setColors({1, 1, 1, rows}, colors::red, colors::lightYellow);
    s.setBorder({1, 1, kColumns, rows}, BorderAll);

    s.setColors({2, 1, 8, 2}, colors::blue, colors::lightCyan);
    s.setColors({9, 1, 15, 2}, colors::red, colors::lightGreen);
    // Each group of the first row reads as one wide title cell.
    s.clearBorder({2, 1, 8, 1});
    s.clearBorder({9, 1, 15, 1});
    s.setBorder(Block::cell(8, 1), BorderRight);
    s.setBorder(Block::cell(15, 1), BorderRight);
    s.setAllowOverflow(true);
    s.setText(4, 1, QStringLiteral("       当 選 数 字"));
    s.setText(12, 1, QStringLiteral("前回までの出現回数合計(回)"));
    s.setHAlign(Block::cell(4, 1), HAlign::Left);
    s.setHAlign(Block::cell(12, 1), HAlign::Left);

    s.setText(1, 2, QStringLiteral("回数"));
    for (int k = 1; k <= 6; ++k) {
        s.setText(k + 1, 2, QStringLiteral("第%1数字").arg(k));
        s.setText(k + 8, 2, QStringLiteral("第%1数字").arg(k));
    }
    s.setText(8, 2, QStringLiteral("ボ数字"));
    s.setText(15, 2, QStringLiteral("ボ数字"));

    // One row per complete draw: its numbers, then how often each had come
    // up before it (main and bonus alike), read before this draw counts.
    std::array<int, kMaxNumber + 1> total{};
    int row = kFirstDataRow;
    for (const DrawRecord& d : history) {
        if (!d.complete())
            continue;
        s.setText(1, row, d.drawNo);
        for (int k = 0; k < kNumbersPerDraw; ++k) {
            const int n = d.numbers[std::size_t(k)];
            s.setText(k + 2, row, n);
            s.setText(k + 9, row, total[std::size_t(n)]);
        }
        for (int n : d.all())
            ++total[std::size_t(n)];
        ++row;
    }
    return s;
}

}  // namespace mirkano
