#include "core/analysis/analysis.h"
#include "core/analysis/appearance/appearance.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace mirkano;
using test::makeHistory;

namespace {
Sheet build(const History& h) { return buildCountGroupsSheet(h, buildStartupTables(h)); }
}  // namespace

TEST(CountGroupsSheet, EmptyHistoryHasOneRowListingAll43)
{
    const Sheet s = build({});
    ASSERT_EQ(s.columns(), 2);
    ASSERT_EQ(s.rows(), 2);
    EXPECT_EQ(s.text(1, 1), QStringLiteral("出 現"));
    EXPECT_EQ(s.text(2, 1), QStringLiteral("数 字"));
    EXPECT_EQ(s.cell(1, 1).bg, (Rgb{255, 200, 200}));
    EXPECT_EQ(s.cell(2, 1).bg, (Rgb{255, 200, 200}));
    EXPECT_EQ(s.text(1, 2), QStringLiteral("0回"));
    EXPECT_TRUE(s.text(2, 2).startsWith(QStringLiteral("1,2,3,")));
    EXPECT_TRUE(s.text(2, 2).endsWith(QStringLiteral(",42,43")));
    // A one-row history still gets the blue, left-aligned number column.
    EXPECT_EQ(s.cell(2, 2).fg, colors::blue);
    EXPECT_EQ(s.cell(2, 2).hAlign, HAlign::Left);
    EXPECT_EQ(s.cell(1, 2).bg, colors::lightYellow);
}

TEST(CountGroupsSheet, RowsAscendByCountWithoutGaps)
{
    const Sheet s = build(makeHistory({
        {1, {1, 2, 3, 4, 5, 6, 7}},
        {2, {1, 2, 3, 4, 5, 6, 8}},
        {3, {1, 2, 3, 4, 5, 9, 10}},
    }));
    // counts: 1-5 → 3, 6 → 2, 7-10 → 1, the rest 0
    ASSERT_EQ(s.rows(), 5);
    const QString labels[] = {QStringLiteral("0回"), QStringLiteral("1回"), QStringLiteral("2回"),
                              QStringLiteral("3回")};
    const QString groups[] = {QStringLiteral("11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,"
                                             "29,30,31,32,33,34,35,36,37,38,39,40,41,42,43"),
                              QStringLiteral("7,8,9,10"), QStringLiteral("6"),
                              QStringLiteral("1,2,3,4,5")};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(s.text(1, i + 2), labels[i]);
        EXPECT_EQ(s.text(2, i + 2), groups[i]);
        EXPECT_EQ(s.cell(2, i + 2).fg, colors::blue);
        EXPECT_TRUE(s.cell(1, i + 2).left.on && s.cell(2, i + 2).bottom.on);
    }
    EXPECT_EQ(s.columnWidth(1), 5);
    EXPECT_EQ(s.columnWidth(2), 20);
    EXPECT_EQ(s.rowHeight(1), 10);
    EXPECT_EQ(s.visibleColumns(), 2);
    EXPECT_EQ(s.visibleRows(), 5);
    EXPECT_EQ(s.scrollBars(), ScrollBars::Horizontal);
    EXPECT_EQ(s.frozenRows(), 0);
    EXPECT_EQ(s.frozenColumns(), 0);
    EXPECT_EQ(s.activeColumn(), 0);
    EXPECT_EQ(s.activeRow(), 0);
    EXPECT_EQ(s.cell(2, 5).top.color, colors::defaultBorder);
}

TEST(CountGroupsSheet, EveryDataRowIsColouredWhenADrawRepeatsANumber)
{
    // One draw, but four distinct counts (0, 1, 2, 4): more data rows than
    // the latest draw number plus 2, and more than the largest count.
    const Sheet s = build(makeHistory({{1, {1, 2, 2, 3, 3, 3, 3}}}));
    ASSERT_EQ(s.rows(), 5);
    EXPECT_EQ(s.text(1, 5), QStringLiteral("4回"));
    EXPECT_EQ(s.text(2, 5), QStringLiteral("3"));
    for (int r = 2; r <= 5; ++r) {
        EXPECT_EQ(s.cell(1, r).bg, colors::lightYellow) << r;
        EXPECT_EQ(s.cell(2, r).fg, colors::blue) << r;
        EXPECT_EQ(s.cell(2, r).hAlign, HAlign::Left) << r;
    }
}

TEST(CountGroupsSheet, RealHistoryListsEveryNumberOnce)
{
    const History h = test::sampleHistory();
    const StartupTables t = buildStartupTables(h);
    const Sheet s = buildCountGroupsSheet(h, t);
    EXPECT_EQ(s.rows(), t.countGroupRows);
    int listed = 0;
    int previousCount = -1;
    for (int r = 2; r <= s.rows(); ++r) {
        const int count = s.text(1, r).chopped(1).toInt();
        EXPECT_GT(count, previousCount);
        previousCount = count;
        for (const QString& n : s.text(2, r).split(u',')) {
            EXPECT_EQ(t.numberCount[std::size_t(n.toInt())], count) << n.toStdString();
            ++listed;
        }
    }
    EXPECT_EQ(listed, 43);
    EXPECT_EQ(previousCount, t.maxCount);
}
