#include "core/analysis/appearance/appearance.h"

#include <array>

namespace mirkano {

namespace {

constexpr int kVisibleColumns = 51;
constexpr int kTitleColumn = 26;       // centre of the visible columns
constexpr Rgb kNumberBack{222, 254, 253};
constexpr Rgb kMainMark{62, 128, 255};

}  // namespace

Sheet buildFrequencySheet(const History& history, const StartupTables& t)
{
    // One appearance column per appearance of the most frequent number,
    // between the two number columns.
    const int a = t.maxCount;
    const int right = a + 2;
    // The title row, the column-number row and one row per number 1 … pool
    // (Loto 6: 45 rows).
    const Game& game = t.game();
    const int rows = game.pool + 2;

    Sheet s;
    s.setUp({.columns = right, .rows = rows, .visibleColumns = kVisibleColumns, .visibleRows = rows,
             .scrollBars = ScrollBars::Both, .frozenRows = 2, .frozenColumns = 1,
             .columnWidth = 2, .rowHeight = 10});
    s.setRowHeight(1, 15);
    s.setRowHeight(2, 15);
    s.setColumnWidth(1, 5);
    s.setColumnWidth(right, 5);

    s.setBackground({2, 1, right, 1}, colors::lightYellow);
    s.setBorder({2, 1, right, 1}, BorderOutline, colors::gridLine);
    s.setBorder(Block::cell(1, 1), BorderRight, colors::gridLine);
    s.setBorder(Block::cell(a + 1, 1), BorderRight, colors::gridLine);
    s.setAllowOverflow(true);

    // On a sheet narrower than the title column the title is simply not shown.
    s.setText(kTitleColumn, 1, QStringLiteral("出 　現 　頻 　度（回）"));
    s.setForeground(Block::cell(kTitleColumn, 1), colors::red);
    s.setHAlign(Block::cell(kTitleColumn, 1), HAlign::Left);

    s.setColors({1, 1, 1, rows}, colors::blue, kNumberBack);
    s.setColors({right, 1, right, rows}, colors::blue, kNumberBack);
    s.setBorder({1, 2, right, rows}, BorderAll, colors::gridLine);
    s.setColors({2, 2, a + 1, 2}, colors::red, colors::lightYellow);
    for (int n = 1; n <= game.pool; ++n) {
        s.setText(1, n + 2, n);
        s.setText(right, n + 2, n);
    }
    s.setActiveCell(0, 0);
    s.setText(1, 2, QStringLiteral("数字"));
    s.setText(right, 2, QStringLiteral("数字"));

    // Each number's strip grows by one mark per appearance, in draw order;
    // the column-number row names every appearance column some strip reaches.
    std::array<int, kMaxPool + 1> strip{};
    for (const DrawRecord& d : history) {
        if (!d.complete())
            continue;
        const std::span<const int> numbers = d.all();
        for (int n : numbers)
            s.setText(strip[std::size_t(n)] + 2, 2, strip[std::size_t(n)] + 1);
        for (int k = 0; k < int(numbers.size()); ++k) {
            const int n = numbers[std::size_t(k)];
            const Block mark = Block::cell(strip[std::size_t(n)] + 2, n + 2);
            s.setText(mark.col1, mark.row1, QStringLiteral("●"));
            s.setForeground(mark, k < d.mainCount() ? kMainMark : colors::bonusMark);
        }
        for (int n : numbers)
            ++strip[std::size_t(n)];
    }
    return s;
}

}  // namespace mirkano
