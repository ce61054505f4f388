#include "core/analysis/division/division.h"

#include <algorithm>
#include <array>

namespace mirkano {

namespace {

constexpr int kColumns = 13;  // draw number, six main numbers, bonus, five counters
constexpr int kBonusColumn = 8;
constexpr int kFirstCounterColumn = 9;
constexpr int kFirstDataRow = 2;
constexpr int kGroups = 5;
constexpr Rgb kCounterHeader{200, 200, 255};

struct Group {
    const char16_t* title;
    Rgb color;
};
constexpr std::array<Group, kGroups> kGroupTable{{
    {u"01～09", colors::white},
    {u"10～19", colors::lightCyan},
    {u"20～29", colors::lightGreen},
    {u"30～39", colors::lightYellow},
    {u"40～43", colors::lightMagenta},
}};

// 1–9 is group 0, then one group per ten up to 40–43 (group 4).
constexpr int groupOf(int number) { return std::min(number / 10, kGroups - 1); }

void drawHeader(Sheet& s, int h)
{
    // The six main-number cells read as one title band with a line below.
    s.clearBorder({2, h, 7, h});
    s.setBorder({2, h, 7, h}, BorderBottom, colors::black);
    s.setColors({1, h, kBonusColumn, h}, colors::black, colors::lightRed);
    s.setColors({kFirstCounterColumn, h, kColumns, h}, colors::blue, kCounterHeader);
    s.setAllowOverflow(true);
    s.setText(4, h, QStringLiteral("    本 数 字"));
    s.setHAlign(Block::cell(4, h), HAlign::Left);
    s.setRowHeight(h, 20);
    s.setText(1, h, QStringLiteral("回数"));
    s.setText(kBonusColumn, h, QStringLiteral("ボ数"));
    for (int g = 0; g < kGroups; ++g)
        s.setText(kFirstCounterColumn + g, h, QString::fromUtf16(kGroupTable[std::size_t(g)].title));
}

}  // namespace

Sheet buildFiveDivisionSheet(const History& history, const StartupTables& t)
{
    // Row 1 is the header, rows 2 … L + 1 hold the draws and row L + 2
    // repeats the header.
    const int rows = t.latestDrawNo + 2;
    const int lastDataRow = rows - 1;

    Sheet s;
    s.setUp({.columns = kColumns, .rows = rows, .visibleColumns = kColumns, .visibleRows = 51,
             .scrollBars = ScrollBars::Vertical, .frozenRows = 1, .frozenColumns = 0,
             .columnWidth = 5, .rowHeight = 10});
    s.setRowHeight(1, 20);
    s.setColumnWidth(1, 6);
    s.setColors({1, kFirstDataRow, 1, rows}, colors::red, colors::lightYellow);
    s.setBackground({kBonusColumn, kFirstDataRow, kBonusColumn, rows}, colors::lightYellow);
    for (int g = 1; g < kGroups; ++g)
        s.setBackground({kFirstCounterColumn + g, kFirstDataRow, kFirstCounterColumn + g, rows},
                        kGroupTable[std::size_t(g)].color);
    s.setBorder({1, 1, kColumns, rows}, BorderAll);
    // A red line parts the counters from the numbers.
    s.setBorder({kFirstCounterColumn, 1, kFirstCounterColumn, rows}, BorderLeft, colors::red);
    s.setActiveCell(0, 0);

    drawHeader(s, 1);
    drawHeader(s, rows);

    // Only complete draws take a row, so the rows follow one another without
    // gaps and any rows left over stay empty. With unique draw numbers (as
    // the history file keeps them) the draws never reach the repeated
    // header; the check keeps it intact for any other history.
    int row = kFirstDataRow;
    for (const DrawRecord& d : history) {
        if (!d.complete())
            continue;
        if (row > lastDataRow)
            break;
        std::array<int, kGroups> counts{};
        s.setText(1, row, d.drawNo);
        for (int k = 0; k < kNumbersPerDraw; ++k) {
            const int n = d.numbers[std::size_t(k)];
            const int g = groupOf(n);
            s.setText(k + 2, row, n);
            s.setBackground(Block::cell(k + 2, row), kGroupTable[std::size_t(g)].color);
            ++counts[std::size_t(g)];
        }
        for (int g = 0; g < kGroups; ++g)
            s.setText(kFirstCounterColumn + g, row, counts[std::size_t(g)]);
        ++row;
    }
    return s;
}

}  // namespace mirkano
