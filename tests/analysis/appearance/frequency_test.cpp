#include "core/analysis/appearance/appearance.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace mirkano;
using test::makeHistory;

namespace {

Sheet build(const History& h) { return buildFrequencySheet(h, buildStartupTables(h)); }

constexpr Rgb kLine{136, 196, 255};
constexpr Rgb kNumberBack{222, 254, 253};
constexpr Rgb kMain{62, 128, 255};
constexpr Rgb kBonus{255, 128, 192};
const QString kTitle = QStringLiteral("出 　現 　頻 　度（回）");

// The marks of number n's strip, left to right over the appearance columns:
// 'M' a blue main mark, 'B' a pink bonus mark, '-' an empty cell.
std::string strip(const Sheet& s, int n)
{
    std::string out;
    for (int c = 2; c < s.columns(); ++c) {
        const Cell& x = s.cell(c, n + 2);
        if (x.text.isEmpty())
            out += '-';
        else if (x.text == QStringLiteral("●") && x.fg == kMain)
            out += 'M';
        else if (x.text == QStringLiteral("●") && x.fg == kBonus)
            out += 'B';
        else
            out += '?';
    }
    return out;
}

bool boxed(const Cell& c, Rgb color)
{
    return c.left.on && c.right.on && c.top.on && c.bottom.on && c.left.color == color &&
           c.right.color == color && c.top.color == color && c.bottom.color == color;
}

// `draws` draws of the same seven numbers 1 … 7, so the sheet is draws + 2 wide.
History repeated(int draws)
{
    History h;
    for (int n = 1; n <= draws; ++n)
        h.push_back(DrawRecord{n, {1, 2, 3, 4, 5, 6, 7}});
    return h;
}

}  // namespace

TEST(FrequencySheet, StripsInDrawOrderWithRoleColours)
{
    const Sheet s = build(makeHistory({
        {1, {1, 2, 3, 4, 5, 6, 7}},
        {2, {7, 8, 9, 10, 11, 12, 1}},
        {3, {7, 20, 0, 21, 22, 23, 24}},  // incomplete: no mark, no header number
        {4, {13, 14, 15, 7, 16, 17, 18}},
    }));
    // 7 appears three times, the most: three appearance columns.
    ASSERT_EQ(s.columns(), 5);
    ASSERT_EQ(s.rows(), 45);

    const struct {
        int number;
        std::string marks;
    } cases[] = {
        {7, "BMM"},  // bonus first, then main twice, in draw order
        {1, "MB-"},
        {8, "M--"},
        {18, "B--"},
        {20, "---"},  // only in the incomplete draw
        {43, "---"},  // never drawn
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(strip(s, c.number), c.marks);
        // Both number columns name the row, even for an empty strip; the
        // longest strip stops short of the right-hand number column.
        EXPECT_EQ(s.text(1, c.number + 2), QString::number(c.number));
        EXPECT_EQ(s.text(5, c.number + 2), QString::number(c.number));
    }
    EXPECT_EQ(s.text(1, 2), QStringLiteral("数字"));
    EXPECT_EQ(s.text(2, 2), QStringLiteral("1"));
    EXPECT_EQ(s.text(3, 2), QStringLiteral("2"));
    EXPECT_EQ(s.text(4, 2), QStringLiteral("3"));
    EXPECT_EQ(s.text(5, 2), QStringLiteral("数字"));
}

TEST(FrequencySheet, LayoutColoursAndBorders)
{
    // A = 30: wide enough for the title in column 26.
    const Sheet s = build(repeated(30));
    const int right = 32;
    EXPECT_EQ(s.columnWidth(1), 5);
    EXPECT_EQ(s.columnWidth(2), 2);
    EXPECT_EQ(s.columnWidth(right - 1), 2);
    EXPECT_EQ(s.columnWidth(right), 5);
    EXPECT_EQ(s.rowHeight(45), 10);

    EXPECT_EQ(s.text(26, 1), kTitle);
    EXPECT_EQ(s.cell(26, 1).fg, colors::red);
    EXPECT_EQ(s.cell(26, 1).hAlign, HAlign::Left);
    EXPECT_EQ(s.cell(25, 1).hAlign, HAlign::Center);
    EXPECT_EQ(s.text(2, 2), QStringLiteral("1"));
    EXPECT_EQ(s.text(right - 1, 2), QStringLiteral("30"));

    // Number columns: blue on pale cyan from the title row down; the right
    // one was yellow in the title row before, and the later write wins.
    for (int c : {1, right}) {
        for (int r : {1, 2, 3, 45}) {
            EXPECT_EQ(s.cell(c, r).fg, colors::blue) << c << "," << r;
            EXPECT_EQ(s.cell(c, r).bg, kNumberBack) << c << "," << r;
        }
    }
    for (int c : {2, 26, right - 1}) {
        EXPECT_EQ(s.cell(c, 1).bg, colors::lightYellow) << c;
        EXPECT_EQ(s.cell(c, 2).fg, colors::red) << c;
        EXPECT_EQ(s.cell(c, 2).bg, colors::lightYellow) << c;
        EXPECT_EQ(s.cell(c, 3).bg, colors::white) << c;
    }

    // Title row: an outline around columns 2 … A + 2, plus right edges on
    // columns 1 and A + 1; no lines inside the block.
    const Cell& t1 = s.cell(1, 1);
    EXPECT_TRUE(t1.right.on);
    EXPECT_FALSE(t1.left.on || t1.top.on || t1.bottom.on);
    const Cell& t2 = s.cell(2, 1);
    EXPECT_TRUE(t2.left.on && t2.top.on && t2.bottom.on);
    EXPECT_FALSE(t2.right.on);
    EXPECT_EQ(t2.top.color, kLine);
    const Cell& tMid = s.cell(10, 1);
    EXPECT_TRUE(tMid.top.on && tMid.bottom.on);
    EXPECT_FALSE(tMid.left.on || tMid.right.on);
    EXPECT_TRUE(s.cell(right - 1, 1).right.on);
    EXPECT_TRUE(s.cell(right, 1).right.on);
    EXPECT_FALSE(s.cell(right, 1).left.on);
    // Every cell below the title row is boxed in the sheet's line colour.
    for (int c : {1, 2, 17, right})
        for (int r : {2, 3, 45})
            EXPECT_TRUE(boxed(s.cell(c, r), kLine)) << c << "," << r;
}

TEST(FrequencySheet, NarrowSheetLeavesOutTheTitle)
{
    for (int draws : {0, 1, 23}) {
        SCOPED_TRACE(draws);
        const Sheet s = build(repeated(draws));
        ASSERT_EQ(s.columns(), draws + 2);
        const int right = draws + 2;
        for (int r = 1; r <= 45; ++r)
            for (int c = 1; c <= right; ++c)
                EXPECT_NE(s.text(c, r), kTitle);
        EXPECT_EQ(s.text(1, 2), QStringLiteral("数字"));
        EXPECT_EQ(s.text(right, 2), QStringLiteral("数字"));
        EXPECT_EQ(s.text(right, 45), QStringLiteral("43"));
        EXPECT_EQ(s.columnWidth(right), 5);
        EXPECT_EQ(s.cell(right, 1).bg, kNumberBack);
        // The column-number row spans no column when A is 0: both number
        // columns keep their own colours there.
        for (int c : {1, right}) {
            EXPECT_EQ(s.cell(c, 2).fg, colors::blue) << c;
            EXPECT_EQ(s.cell(c, 2).bg, kNumberBack) << c;
        }
    }
    // With no draws the two number columns stand side by side with no marks.
    const Sheet empty = build({});
    for (int n = 1; n <= 43; ++n) {
        EXPECT_EQ(empty.text(1, n + 2), QString::number(n));
        EXPECT_EQ(empty.text(2, n + 2), QString::number(n));
    }
}

TEST(FrequencySheet, RealHistoryMarksEveryAppearance)
{
    const History h = test::sampleHistory();
    const StartupTables t = buildStartupTables(h);
    const Sheet s = buildFrequencySheet(h, t);
    ASSERT_EQ(s.columns(), t.maxCount + 2);
    EXPECT_EQ(s.text(t.maxCount + 1, 2), QString::number(t.maxCount));

    // Draw 1 is 2 8 10 13 27 30 / 39: each of these strips starts there.
    EXPECT_EQ(strip(s, 2).front(), 'M');
    EXPECT_EQ(strip(s, 30).front(), 'M');
    EXPECT_EQ(strip(s, 39).front(), 'B');

    // Each strip spells out the number's appearances in history order.
    for (int n = 1; n <= 43; ++n) {
        std::string want;
        for (const DrawRecord& d : h) {
            if (!d.complete())
                continue;
            for (int k = 0; k < 7; ++k)
                if (d.numbers[std::size_t(k)] == n)
                    want += k == 6 ? 'B' : 'M';
        }
        want.resize(std::size_t(t.maxCount), '-');
        EXPECT_EQ(strip(s, n), want) << n;
    }
}
