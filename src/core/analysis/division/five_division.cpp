#include "core/analysis/division/division.h"

#include "core/analysis/division/groups.h"
#include "core/analysis/draw_columns.h"
#include "core/analysis/draw_rows.h"

#include <array>

namespace mirkano {

namespace {

constexpr int kFirstDataRow = 2;
constexpr int kGroups = 5;
constexpr Rgb kCounterHeader{200, 200, 255};

constexpr std::array<Rgb, kGroups> kGroupColors{
    colors::white, colors::lightCyan, colors::lightGreen, colors::lightYellow, colors::lightMagenta,
};

// The draw number, the main numbers, the bonus numbers and the five counters
// (Loto 6: 13 columns, the bonus in 8, the counters from 9).
struct Columns {
    int firstBonus, firstCounter, count;
    explicit Columns(const Game& g)
        : firstBonus(g.mains + 2), firstCounter(g.numbersPerDraw() + 2), count(firstCounter + kGroups - 1)
    {
    }
};

// A group's title: its first and last number, two digits each ("01～09").
QString groupTitle(const DivisionGroups& groups, int g)
{
    return QStringLiteral("%1～%2")
        .arg(groups.firstNumber(g), 2, 10, QLatin1Char('0'))
        .arg(groups.lastNumber(g), 2, 10, QLatin1Char('0'));
}

void drawHeader(Sheet& s, int h, const Game& game, const DivisionGroups& groups)
{
    const Columns c(game);
    // The main-number cells read as one title band with a line below.
    s.clearBorder({2, h, c.firstBonus - 1, h});
    s.setBorder({2, h, c.firstBonus - 1, h}, BorderBottom, colors::black);
    s.setColors({1, h, c.firstCounter - 1, h}, colors::black, colors::lightRed);
    s.setColors({c.firstCounter, h, c.count, h}, colors::blue, kCounterHeader);
    s.setAllowOverflow(true);
    s.setText(4, h, QStringLiteral("    本 数 字"));
    s.setHAlign(Block::cell(4, h), HAlign::Left);
    s.setRowHeight(h, 20);
    s.setText(1, h, QStringLiteral("回数"));
    for (int j = 0; j < game.bonuses; ++j)
        s.setText(c.firstBonus + j, h, bonusColumnName(game, j, QStringLiteral("ボ数"), s.columnWidth(c.firstBonus + j)));
    for (int g = 0; g < kGroups; ++g)
        s.setText(c.firstCounter + g, h, groupTitle(groups, g));
}

}  // namespace

Sheet buildFiveDivisionSheet(const History& history, const StartupTables& t)
{
    const Game& game = t.game();
    const DivisionGroups groups(game, kGroups);
    const Columns c(game);
    const int columns = c.count;
    const int firstBonus = c.firstBonus;
    const int firstCounter = c.firstCounter;
    // Row 1 is the header, rows 2 … L + 1 hold the draws and row L + 2
    // repeats the header.
    const int rows = t.latestDrawNo + 2;
    const int lastDataRow = rows - 1;

    Sheet s;
    s.setUp({.columns = columns, .rows = rows, .visibleColumns = columns, .visibleRows = 51,
             .scrollBars = ScrollBars::Vertical, .frozenRows = 1, .frozenColumns = 0,
             .columnWidth = 5, .rowHeight = 10});
    s.setRowHeight(1, 20);
    s.setColumnWidth(1, 6);
    s.setColors({1, kFirstDataRow, 1, rows}, colors::red, colors::lightYellow);
    s.setBackground({firstBonus, kFirstDataRow, firstCounter - 1, rows}, colors::lightYellow);
    for (int g = 1; g < kGroups; ++g)
        s.setBackground({firstCounter + g, kFirstDataRow, firstCounter + g, rows},
                        kGroupColors[std::size_t(g)]);
    s.setBorder({1, 1, columns, rows}, BorderAll);
    // A red line parts the counters from the numbers.
    s.setBorder({firstCounter, 1, firstCounter, rows}, BorderLeft, colors::red);
    s.setActiveCell(0, 0);

    drawHeader(s, 1, game, groups);
    drawHeader(s, rows, game, groups);

    // Only complete draws take a row, so the rows follow one another without
    // gaps and any rows left over stay empty. With unique draw numbers (as
    // the history file keeps them) the draws never reach the repeated
    // header; the check keeps it intact for any other history.
    for (const auto [d, row] : completeDrawRows(history, kFirstDataRow)) {
        if (row > lastDataRow)
            break;
        std::array<int, kGroups> counts{};
        s.setText(1, row, d.drawNo);
        const std::span<const int> numbers = d.all();
        for (int k = 0; k < int(numbers.size()); ++k) {
            const int n = numbers[std::size_t(k)];
            const int g = groups.groupOf(n);
            s.setText(k + 2, row, n);
            s.setBackground(Block::cell(k + 2, row), kGroupColors[std::size_t(g)]);
            ++counts[std::size_t(g)];
        }
        for (int g = 0; g < kGroups; ++g)
            s.setText(firstCounter + g, row, counts[std::size_t(g)]);
    }
    return s;
}

}  // namespace mirkano
