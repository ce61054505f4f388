#include "core/analysis/interval/interval.h"

#include "core/analysis/draw_columns.h"
#include "core/analysis/draw_rows.h"

#include <algorithm>

namespace mirkano {

namespace {

constexpr int kFirstDataRow = 2;

}  // namespace

Sheet buildPullSheet(const History& history, const StartupTables& t)
{
    // The draw number, the main numbers and the bonus numbers (Loto 6: 8 columns).
    const Game& game = t.game();
    const int columns = 1 + game.numbersPerDraw();
    const int firstBonus = game.mains + 2;
    const int rows = t.latestDrawNo + 1;

    Sheet s;
    s.setUp({.columns = columns, .rows = rows, .visibleColumns = columns, .visibleRows = 51,
             .scrollBars = ScrollBars::Vertical, .frozenRows = 1, .frozenColumns = 1,
             .columnWidth = 7, .rowHeight = 10});
    // "ボーナス数字" fits 9 character widths; "ボーナス数字1" needs one more.
    for (int col = firstBonus; col <= columns; ++col)
        s.setColumnWidth(col, game.bonuses == 1 ? 9 : 10);
    s.setRowHeight(1, 15);
    s.setColors({1, 1, 1, rows}, colors::red, colors::lightYellow);
    s.setBorder({1, 1, columns, rows}, BorderAll, colors::gridLine);
    s.setActiveCell(0, 0);

    // The main-number headers read as one title cell underlined as a whole.
    s.clearBorder({2, 1, firstBonus - 1, 1});
    s.setBorder({2, 1, firstBonus - 1, 1}, BorderBottom, colors::gridLine);
    s.setColors({1, 1, columns, 1}, colors::black, colors::lightRed);
    s.setAllowOverflow(true);
    s.setText(1, 1, QStringLiteral("回数"));
    const int titleColumn = game.mains / 2 + 1;  // Loto 6: 4
    s.setText(titleColumn, 1, QStringLiteral("        本 数 字         "));
    s.setHAlign(Block::cell(titleColumn, 1), HAlign::Left);
    for (int j = 0; j < game.bonuses; ++j)
        s.setText(firstBonus + j, 1, bonusColumnName(game, j, QStringLiteral("ボーナス数字"), s.columnWidth(firstBonus + j)));

    // A number is highlighted when it was among the numbers (bonuses
    // included) of the last complete draw, whatever its position there.
    // Only complete draws take a row and become the reference.
    std::array<int, kMaxNumbersPerDraw> previous{};
    for (const auto [d, row] : completeDrawRows(history, kFirstDataRow)) {
        s.setText(1, row, d.drawNo);
        const std::span<const int> numbers = d.all();
        for (int k = 0; k < int(numbers.size()); ++k) {
            const int n = numbers[std::size_t(k)];
            s.setText(k + 2, row, n);
            if (std::find(previous.begin(), previous.end(), n) != previous.end())
                s.setBackground(Block::cell(k + 2, row), colors::lightCyan);
        }
        previous = d.numbers;
    }
    return s;
}

}  // namespace mirkano
