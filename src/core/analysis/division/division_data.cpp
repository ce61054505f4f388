#include "core/analysis/division/division.h"

#include "core/analysis/division/groups.h"
#include "core/analysis/number_map.h"
#include "core/analysis/draw_rows.h"

#include <array>

namespace mirkano {

namespace {

constexpr int kHeaderRows = 3;
constexpr int kFirstDataRow = kHeaderRows + 1;
constexpr Rgb kEmptyGroup{210, 210, 210};

// What differs between the three groupings of Loto 6. The letter of each
// group stands in its first column of row 2, padded so that it reads as
// centred over the group; the last group, of another size, has its own
// padding. Other games pad each letter by its group's size in the same way
// (2 × size − 1 spaces before, 2 × size after) and move the title left by
// half the numbers their pool lacks against Loto 6's.
struct GroupingLayout {
    int groups;
    int titleColumn;  // Loto 6's
    int frozenColumns;
    bool borderRightOfColumn1;  // right edge on (1,1) and (1,2)
    const char16_t* lead;
    const char16_t* trail;
    const char16_t* lastLead;
    const char16_t* lastTrail;
};

const GroupingLayout& layoutFor(Grouping grouping)
{
    static constexpr GroupingLayout six{6, 22, 0, false,
                                        u"             ", u"              ",
                                        u"                ", u"              "};
    static constexpr GroupingLayout seven{7, 21, 0, false,
                                          u"           ", u"            ",
                                          u"             ", u"          "};
    static constexpr GroupingLayout eleven{11, 21, 1, true,
                                           u"       ", u"        ",
                                           u"   　", u" "};
    switch (grouping) {
    case Grouping::Six: return six;
    case Grouping::Seven: return seven;
    case Grouping::Eleven: break;
    }
    return eleven;
}

Block groupColumns(const DivisionGroups& groups, int g, int row1, int row2)
{
    return {numberMapColumn(groups.firstNumber(g)), row1, numberMapColumn(groups.lastNumber(g)), row2};
}

// Group g's letter Ａ, Ｂ, … with the padding that centres it over the group.
QString groupLetter(const GroupingLayout& l, const Game& game, const DivisionGroups& groups, int g)
{
    const QString letter(QChar(u'Ａ' + g));
    if (game.id == GameId::Loto6) {
        const bool last = g == l.groups - 1;
        return QString::fromUtf16(last ? l.lastLead : l.lead) + letter +
               QString::fromUtf16(last ? l.lastTrail : l.trail);
    }
    const int size = groups.size(g);
    return QString(2 * size - 1, QLatin1Char(' ')) + letter + QString(2 * size, QLatin1Char(' '));
}

}  // namespace

Sheet buildDivisionSheet(const History& history, const StartupTables& t, Grouping grouping)
{
    const GroupingLayout& l = layoutFor(grouping);
    const Game& game = t.game();
    const DivisionGroups groups(game, l.groups);
    const int columns = numberMapColumns(game);
    const int lastNumberColumn = numberMapColumn(game.pool);
    const int titleColumn = l.titleColumn - (mirkano::game(GameId::Loto6).pool - game.pool) / 2;
    // Rows 1 to 3 are the header, rows 4 … L + 3 hold the draws.
    const int rows = t.latestDrawNo + kHeaderRows;

    Sheet s;
    s.setUp({.columns = columns, .rows = rows, .visibleColumns = columns, .visibleRows = 53,
             .scrollBars = ScrollBars::Both, .frozenRows = kHeaderRows,
             .frozenColumns = l.frozenColumns, .columnWidth = 2, .rowHeight = 9});
    s.setRowHeight(1, 15);
    s.setRowHeight(2, 12);
    s.setColumnWidth(1, 3);
    s.setColumnWidth(columns, 3);
    s.setBorder({1, 3, columns, rows}, BorderAll, colors::gridLine);

    s.setBorder({numberMapColumn(1), 1, lastNumberColumn, 1}, BorderOutline);
    s.setAllowOverflow(true);
    s.setText(titleColumn, 1, QStringLiteral("数　　 字"));
    s.setHAlign({1, 1, lastNumberColumn, 1}, HAlign::Left);
    s.setBackground({1, 1, lastNumberColumn, 1}, colors::lightRed);
    // The draw-number columns overpaint row 1's pink at (1,1).
    s.setColors({1, 1, 1, rows}, colors::red, colors::lightYellow);
    s.setColors({columns, 1, columns, rows}, colors::red, colors::lightYellow);
    for (int g = 1; g < l.groups; g += 2)
        s.setBackground(groupColumns(groups, g, 2, rows), colors::lightCyan);
    if (l.borderRightOfColumn1)
        s.setBorder({1, 1, 1, 2}, BorderRight);
    s.setActiveCell(0, 0);

    // Row 2: one outlined box per group with its letter Ａ, Ｂ, … in front.
    for (int g = 0; g < l.groups; ++g) {
        s.setBorder(groupColumns(groups, g, 2, 2), BorderOutline);
        const int col = numberMapColumn(groups.firstNumber(g));
        s.setText(col, 2, groupLetter(l, game, groups, g));
        s.setHAlign(Block::cell(col, 2), HAlign::Left);
    }
    // Row 3: the numbers between two "回".
    writeNumberMapHeader(s, 3, game);
    s.setForeground({numberMapColumn(1), 3, lastNumberColumn, 3}, colors::blue);

    // Only complete draws take a row, without gaps; rows left over at the
    // bottom stay empty. The bonus fills its group like a main number; only
    // its mark's colour differs.
    for (const auto [d, row] : completeDrawRows(history, kFirstDataRow)) {
        markDraw(s, row, d);
        std::array<int, DivisionGroups::kMaxGroups> counts{};
        for (int n : d.all())
            ++counts[std::size_t(groups.groupOf(n))];
        for (int g = 0; g < l.groups; ++g)
            if (counts[std::size_t(g)] == 0)
                s.setBackground(groupColumns(groups, g, row, row), kEmptyGroup);
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
