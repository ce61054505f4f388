#include "core/analysis/division/division.h"

#include "core/analysis/number_map.h"

#include <algorithm>
#include <array>

namespace mirkano {

namespace {

constexpr int kColumns = kNumberMapColumns;
constexpr int kHeaderRows = 3;
constexpr int kFirstDataRow = kHeaderRows + 1;
constexpr int kMaxGroups = 11;
constexpr Rgb kEmptyGroup{210, 210, 210};

// What differs between the three groupings. The letter of each group stands
// in its first column of row 2, padded so that it reads as centred over the
// group; the last group, of another size, has its own padding.
struct GroupingLayout {
    int groups;
    int groupSize;  // every group but the last, which takes the rest
    int titleColumn;
    int frozenColumns;
    bool borderRightOfColumn1;  // right edge on (1,1) and (1,2)
    const char16_t* lead;
    const char16_t* trail;
    const char16_t* lastLead;
    const char16_t* lastTrail;
};

const GroupingLayout& layoutFor(Grouping grouping)
{
    static constexpr GroupingLayout six{6, 7, 22, 0, false,
                                        u"             ", u"              ",
                                        u"                ", u"              "};
    static constexpr GroupingLayout seven{7, 6, 21, 0, false,
                                          u"           ", u"            ",
                                          u"             ", u"          "};
    static constexpr GroupingLayout eleven{11, 4, 21, 1, true,
                                           u"       ", u"        ",
                                           u"   　", u" "};
    switch (grouping) {
    case Grouping::Six: return six;
    case Grouping::Seven: return seven;
    case Grouping::Eleven: break;
    }
    return eleven;
}

// First and last number of group g (counted from 0).
int firstNumber(const GroupingLayout& l, int g) { return g * l.groupSize + 1; }
int lastNumber(const GroupingLayout& l, int g)
{
    return g == l.groups - 1 ? kMaxNumber : (g + 1) * l.groupSize;
}
int groupOf(const GroupingLayout& l, int number)
{
    return std::min((number - 1) / l.groupSize, l.groups - 1);
}

Block groupColumns(const GroupingLayout& l, int g, int row1, int row2)
{
    return {numberMapColumn(firstNumber(l, g)), row1, numberMapColumn(lastNumber(l, g)), row2};
}

}  // namespace

Sheet buildDivisionSheet(const History& history, const StartupTables& t, Grouping grouping)
{
    const GroupingLayout& l = layoutFor(grouping);
    // Rows 1 to 3 are the header, rows 4 … L + 3 hold the draws.
    const int rows = t.latestDrawNo + kHeaderRows;

    Sheet s;
    s.setUp({.columns = kColumns, .rows = rows, .visibleColumns = kColumns, .visibleRows = 53,
             .scrollBars = ScrollBars::Both, .frozenRows = kHeaderRows,
             .frozenColumns = l.frozenColumns, .columnWidth = 2, .rowHeight = 9});
    s.setRowHeight(1, 15);
    s.setRowHeight(2, 12);
    s.setColumnWidth(1, 3);
    s.setColumnWidth(kColumns, 3);
    s.setBorder({1, 3, kColumns, rows}, BorderAll, colors::gridLine);

    s.setBorder({numberMapColumn(1), 1, numberMapColumn(kMaxNumber), 1}, BorderOutline);
    s.setAllowOverflow(true);
    s.setText(l.titleColumn, 1, QStringLiteral("数　　 字"));
    s.setHAlign({1, 1, numberMapColumn(kMaxNumber), 1}, HAlign::Left);
    s.setBackground({1, 1, numberMapColumn(kMaxNumber), 1}, colors::lightRed);
    // The draw-number columns overpaint row 1's pink at (1,1).
    s.setColors({1, 1, 1, rows}, colors::red, colors::lightYellow);
    s.setColors({kColumns, 1, kColumns, rows}, colors::red, colors::lightYellow);
    for (int g = 1; g < l.groups; g += 2)
        s.setBackground(groupColumns(l, g, 2, rows), colors::lightCyan);
    if (l.borderRightOfColumn1)
        s.setBorder({1, 1, 1, 2}, BorderRight);
    s.setActiveCell(0, 0);

    // Row 2: one outlined box per group with its letter Ａ, Ｂ, … in front.
    for (int g = 0; g < l.groups; ++g) {
        s.setBorder(groupColumns(l, g, 2, 2), BorderOutline);
        const bool last = g == l.groups - 1;
        const QString letter(QChar(u'Ａ' + g));
        const int col = numberMapColumn(firstNumber(l, g));
        s.setText(col, 2, QString::fromUtf16(last ? l.lastLead : l.lead) + letter +
                              QString::fromUtf16(last ? l.lastTrail : l.trail));
        s.setHAlign(Block::cell(col, 2), HAlign::Left);
    }
    // Row 3: the numbers between two "回".
    writeNumberMapHeader(s, 3);
    s.setForeground({numberMapColumn(1), 3, numberMapColumn(kMaxNumber), 3}, colors::blue);

    // Only complete draws take a row, without gaps; rows left over at the
    // bottom stay empty. The bonus fills its group like a main number; only
    // its mark's colour differs.
    int row = kFirstDataRow;
    for (const DrawRecord& d : history) {
        if (!d.complete())
            continue;
        markDraw(s, row, d);
        std::array<int, kMaxGroups> counts{};
        for (int n : d.all())
            ++counts[std::size_t(groupOf(l, n))];
        for (int g = 0; g < l.groups; ++g)
            if (counts[std::size_t(g)] == 0)
                s.setBackground(groupColumns(l, g, row, row), kEmptyGroup);
        ++row;
    }
    return s;
}

Sheet buildDivision6Sheet(const History& history, const StartupTables& tables)
{
    return buildDivisionSheet(history, tables, Grouping::Six);
}

Sheet buildDivision7Sheet(const History& history, const StartupTables& tables)
{
    return buildDivisionSheet(history, tables, Grouping::Seven);
}

Sheet buildDivision11Sheet(const History& history, const StartupTables& tables)
{
    return buildDivisionSheet(history, tables, Grouping::Eleven);
}

}  // namespace mirkano
