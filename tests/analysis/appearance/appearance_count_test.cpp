#include "core/analysis/appearance/appearance.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace mirkano;
using test::makeHistory;

namespace {

Sheet build(const History& h) { return buildAppearanceCountSheet(h, buildStartupTables(h)); }

}  // namespace

TEST(AppearanceCountSheet, LayoutAndHeaders)
{
    const Sheet s = build(makeHistory({{1, {1, 2, 3, 4, 5, 6, 7}}, {2, {1, 2, 3, 4, 5, 6, 7}}}));
    EXPECT_EQ(s.columnWidth(1), 5);
    EXPECT_EQ(s.columnWidth(15), 5);

    EXPECT_EQ(s.text(4, 1), QStringLiteral("       当 選 数 字"));
    EXPECT_EQ(s.text(12, 1), QStringLiteral("前回までの出現回数合計(回)"));
    EXPECT_EQ(s.cell(4, 1).hAlign, HAlign::Left);
    EXPECT_EQ(s.cell(12, 1).hAlign, HAlign::Left);
    EXPECT_EQ(s.cell(5, 1).hAlign, HAlign::Center);
    EXPECT_EQ(test::rowTexts(s, 2, 1, 15),
              (QStringList{"回数", "第1数字", "第2数字", "第3数字", "第4数字", "第5数字", "第6数字",
                           "ボ数字", "第1数字", "第2数字", "第3数字", "第4数字", "第5数字",
                           "第6数字", "ボ数字"}));

    for (int r = 1; r <= 4; ++r) {
        EXPECT_EQ(s.cell(1, r).fg, colors::red) << r;
        EXPECT_EQ(s.cell(1, r).bg, colors::lightYellow) << r;
    }
    for (int r : {1, 2}) {
        for (int c = 2; c <= 8; ++c) {
            EXPECT_EQ(s.cell(c, r).fg, colors::blue) << c << "," << r;
            EXPECT_EQ(s.cell(c, r).bg, colors::lightCyan) << c << "," << r;
        }
        for (int c = 9; c <= 15; ++c) {
            EXPECT_EQ(s.cell(c, r).fg, colors::red) << c << "," << r;
            EXPECT_EQ(s.cell(c, r).bg, colors::lightGreen) << c << "," << r;
        }
    }
    EXPECT_EQ(s.cell(9, 3).bg, colors::white);

    // Row 1: two wide title cells, each closed by a right edge only.
    auto sides = [&](int c, int r) {
        const Cell& x = s.cell(c, r);
        return std::string{x.left.on ? 'L' : '-', x.right.on ? 'R' : '-', x.top.on ? 'T' : '-',
                           x.bottom.on ? 'B' : '-'};
    };
    for (int c : {2, 7, 9, 14})
        EXPECT_EQ(sides(c, 1), "----") << c;
    EXPECT_EQ(sides(8, 1), "-R--");
    EXPECT_EQ(sides(15, 1), "-R--");
    EXPECT_EQ(sides(1, 1), "LRTB");
    EXPECT_EQ(sides(8, 2), "LRTB");
    EXPECT_EQ(sides(12, 4), "LRTB");
}

TEST(AppearanceCountSheet, CountsEarlierAppearancesMainAndBonusAlike)
{
    const Sheet s = build(makeHistory({
        {1, {1, 2, 3, 4, 5, 6, 7}},
        {2, {7, 8, 9, 10, 11, 12, 1}},
        {3, {1, 2, 0, 4, 5, 6, 7}},  // incomplete: no row, counts nothing
        {4, {3, 1, 9, 14, 13, 2, 7}},
    }));
    ASSERT_EQ(s.rows(), 6);
    const struct {
        int row;
        QStringList texts;
    } cases[] = {
        // The first draw has nothing before it.
        {3, {"1", "1", "2", "3", "4", "5", "6", "7", "0", "0", "0", "0", "0", "0", "0"}},
        // 7 was the bonus of draw 1, 1 a main number: both count once.
        {4, {"2", "7", "8", "9", "10", "11", "12", "1", "1", "0", "0", "0", "0", "0", "1"}},
        {5, {"4", "3", "1", "9", "14", "13", "2", "7", "1", "2", "1", "0", "0", "1", "2"}},
        // One row per skipped draw stays empty at the bottom.
        {6, QStringList(15, QString())},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        EXPECT_EQ(test::rowTexts(s, c.row, 1, 15), c.texts);
    }
}

TEST(AppearanceCountSheet, EmptyHistoryShowsHeadersOnly)
{
    const Sheet s = build({});
    ASSERT_EQ(s.rows(), 2);
    EXPECT_EQ(s.text(1, 2), QStringLiteral("回数"));
    EXPECT_EQ(s.text(15, 2), QStringLiteral("ボ数字"));
}

TEST(AppearanceCountSheet, RealHistorySpotCheck)
{
    const History h = test::sampleHistory();
    const StartupTables t = buildStartupTables(h);
    const Sheet s = buildAppearanceCountSheet(h, t);
    ASSERT_EQ(h.size(), 2137u);
    ASSERT_TRUE(std::all_of(h.begin(), h.end(), [](const DrawRecord& d) { return d.complete(); }));
    ASSERT_EQ(s.rows(), 2137 + 2);

    // Draw 2 (1 9 16 20 21 43 / 5) shares no number with draw 1.
    EXPECT_EQ(test::rowTexts(s, 4, 1, 15),
              (QStringList{"2", "1", "9", "16", "20", "21", "43", "5", "0", "0", "0", "0", "0", "0",
                           "0"}));

    // The last draw: everything before it is the whole count less itself.
    const int last = 2137 + 2;
    const DrawRecord& d = h.back();
    EXPECT_EQ(s.text(1, last), QString::number(d.drawNo));
    for (int k = 0; k < 7; ++k) {
        const int n = d.numbers[std::size_t(k)];
        EXPECT_EQ(s.text(k + 2, last), QString::number(n));
        EXPECT_EQ(s.text(k + 9, last), QString::number(t.numberCount[std::size_t(n)] - 1)) << k;
    }

    // A draw in the middle, counted over the draws before it.
    const std::size_t mid = 1000;
    const DrawRecord& m = h[mid];
    for (int k = 0; k < 7; ++k) {
        const int n = m.numbers[std::size_t(k)];
        const auto before = std::count_if(h.begin(), h.begin() + long(mid), [&](const DrawRecord& e) {
            return std::find(e.numbers.begin(), e.numbers.end(), n) != e.numbers.end();
        });
        EXPECT_EQ(s.text(k + 9, int(mid) + 3), QString::number(before)) << k;
    }
}
