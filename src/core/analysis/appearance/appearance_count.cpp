#include "core/analysis/appearance/appearance.h"

#include "core/analysis/draw_columns.h"
#include "core/analysis/draw_rows.h"

#include <array>

namespace mirkano {

namespace {

constexpr int kFirstDataRow = 3;

}  // namespace

Sheet buildAppearanceCountSheet(const History& history, const StartupTables& t)
{
    // The draw number, the draw's numbers (mains, then bonuses) and the count
    // of each: Loto 6 has 15 columns, the counts from column 9.
    const Game& game = t.game();
    const int perDraw = game.numbersPerDraw();
    const int columns = 1 + 2 * perDraw;
    const int firstCount = perDraw + 2;
    const int rows = t.latestDrawNo + 2;

    Sheet s;
    s.setUp({.columns = columns, .rows = rows, .visibleColumns = columns, .visibleRows = 52,
             .scrollBars = ScrollBars::Vertical, .frozenRows = 2, .frozenColumns = 0,
             .columnWidth = 5, .rowHeight = 10});
    s.setRowHeight(1, 20);
    s.setRowHeight(2, 12);
    s.setColors({1, 1, 1, rows}, colors::red, colors::lightYellow);
    s.setBorder({1, 1, columns, rows}, BorderAll);

    s.setColors({2, 1, firstCount - 1, 2}, colors::blue, colors::lightCyan);
    s.setColors({firstCount, 1, columns, 2}, colors::red, colors::lightGreen);
    // Each group of the first row reads as one wide title cell.
    s.clearBorder({2, 1, firstCount - 1, 1});
    s.clearBorder({firstCount, 1, columns, 1});
    s.setBorder(Block::cell(firstCount - 1, 1), BorderRight);
    s.setBorder(Block::cell(columns, 1), BorderRight);
    s.setAllowOverflow(true);
    if (game.id == GameId::Loto6) {
        s.setText(4, 1, QStringLiteral("       当 選 数 字"));
        s.setText(firstCount + 3, 1, QStringLiteral("前回までの出現回数合計(回)"));
        s.setHAlign(Block::cell(4, 1), HAlign::Left);
        s.setHAlign(Block::cell(firstCount + 3, 1), HAlign::Left);
    } else {
        // Each title stands in the first cell of its group with full-width
        // spaces either side, together wider than the group: it spills over
        // the group up to the next title (or the sheet's end), and the grid
        // centres a title padded so on the cells it spans. Its full size fits
        // the group, however few numbers the game draws.
        const QString pad(perDraw * 5 / 4 + 1, QChar(0x3000));
        s.setText(2, 1, pad + QStringLiteral("当 選 数 字") + pad);
        s.setText(firstCount, 1, pad + QStringLiteral("前回までの出現回数合計(回)") + pad);
        s.setHAlign(Block::cell(2, 1), HAlign::Left);
        s.setHAlign(Block::cell(firstCount, 1), HAlign::Left);
    }

    s.setText(1, 2, QStringLiteral("回数"));
    for (int k = 1; k <= game.mains; ++k) {
        s.setText(k + 1, 2, QStringLiteral("第%1数字").arg(k));
        s.setText(firstCount + k - 1, 2, QStringLiteral("第%1数字").arg(k));
    }
    for (int j = 0; j < game.bonuses; ++j) {
        const QString name = bonusColumnName(game, j, QStringLiteral("ボ数字"), s.columnWidth(game.mains + 2 + j));
        s.setText(game.mains + 2 + j, 2, name);
        s.setText(firstCount + game.mains + j, 2, name);
    }

    // One row per complete draw: its numbers, then how often each had come
    // up before it (main and bonus alike), read before this draw counts.
    std::array<int, kMaxPool + 1> total{};
    for (const auto [d, row] : completeDrawRows(history, kFirstDataRow)) {
        s.setText(1, row, d.drawNo);
        const std::span<const int> numbers = d.all();
        for (int k = 0; k < int(numbers.size()); ++k) {
            const int n = numbers[std::size_t(k)];
            s.setText(k + 2, row, n);
            s.setText(firstCount + k, row, total[std::size_t(n)]);
        }
        for (int n : d.all())
            ++total[std::size_t(n)];
    }
    return s;
}

}  // namespace mirkano
