#include "core/analysis/interval/interval.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace mirkano;
using test::makeHistory;

namespace {

Sheet build(const History& h) { return buildPullSheet(h, buildStartupTables(h)); }

constexpr Rgb kGridLine{136, 196, 255};

// Which of columns 2 … 8 of a row are highlighted.
std::array<bool, 7> highlighted(const Sheet& s, int row)
{
    std::array<bool, 7> out{};
    for (int k = 0; k < 7; ++k)
        out[std::size_t(k)] = s.cell(k + 2, row).bg == colors::lightCyan;
    return out;
}

}  // namespace

TEST(PullSheet, LayoutAndHeader)
{
    const Sheet s = build(makeHistory({{1, {1, 2, 3, 4, 5, 6, 7}}, {2, {8, 9, 10, 11, 12, 13, 14}}}));
    EXPECT_EQ(s.columnWidth(1), 7);
    EXPECT_EQ(s.columnWidth(7), 7);
    EXPECT_EQ(s.columnWidth(8), 9);

    EXPECT_EQ(s.text(1, 1), QStringLiteral("回数"));
    EXPECT_EQ(s.text(4, 1), QStringLiteral("        本 数 字         "));
    EXPECT_EQ(s.cell(4, 1).hAlign, HAlign::Left);
    EXPECT_EQ(s.text(8, 1), QStringLiteral("ボーナス数字"));
    EXPECT_EQ(s.cell(8, 1).hAlign, HAlign::Center);
    for (int c = 1; c <= 8; ++c) {
        EXPECT_EQ(s.cell(c, 1).fg, colors::black) << c;
        EXPECT_EQ(s.cell(c, 1).bg, colors::lightRed) << c;
    }
    // The six main-number header cells read as one cell with a bottom edge.
    for (int c = 2; c <= 7; ++c) {
        const Cell& x = s.cell(c, 1);
        EXPECT_TRUE(x.bottom.on) << c;
        EXPECT_FALSE(x.left.on || x.right.on || x.top.on) << c;
    }
    for (const auto& [c, r] : {std::pair{1, 1}, std::pair{8, 1}, std::pair{5, 3}}) {
        const Cell& x = s.cell(c, r);
        EXPECT_TRUE(x.left.on && x.right.on && x.top.on && x.bottom.on) << c << "," << r;
        EXPECT_EQ(x.left.color, kGridLine);
    }
    EXPECT_EQ(s.cell(1, 2).fg, colors::red);
    EXPECT_EQ(s.cell(1, 2).bg, colors::lightYellow);
    EXPECT_EQ(s.text(1, 3), QStringLiteral("2"));
    EXPECT_EQ(s.text(8, 3), QStringLiteral("14"));
}

TEST(PullSheet, HighlightsNumbersOfThePreviousCompleteDraw)
{
    const Sheet s = build(makeHistory({
        {1, {1, 2, 3, 4, 5, 6, 7}},
        {2, {7, 8, 9, 10, 11, 12, 1}},   // 7 was the bonus, bonus 1 was a main number
        {3, {8, 9, 0, 20, 21, 22, 23}},  // incomplete: no row, not the reference
        {4, {13, 14, 12, 15, 16, 17, 9}},
    }));
    ASSERT_EQ(s.rows(), 5);

    struct Case {
        int row;
        int drawNo;
        std::array<bool, 7> marked;
    };
    const Case cases[] = {
        {2, 1, {}},  // nothing precedes the first draw
        {3, 2, {true, false, false, false, false, false, true}},
        {4, 4, {false, false, true, false, false, false, true}},  // against draw 2
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        EXPECT_EQ(s.text(1, c.row), QString::number(c.drawNo));
        EXPECT_EQ(highlighted(s, c.row), c.marked);
    }
    // Highlighting keeps the text; the unused last row stays blank.
    EXPECT_EQ(s.text(2, 3), QStringLiteral("7"));
    EXPECT_EQ(s.text(8, 3), QStringLiteral("1"));
    EXPECT_EQ(s.text(4, 4), QStringLiteral("12"));
    for (int c = 1; c <= 8; ++c)
        EXPECT_TRUE(s.text(c, 5).isEmpty()) << c;
}

TEST(PullSheet, RealHistorySpotCheck)
{
    const History h = test::sampleHistory();
    const Sheet s = build(h);
    ASSERT_EQ(s.rows(), 2137 + 1);
    for (std::size_t i = 1; i < h.size(); i += 89) {
        const int row = int(i) + 2;
        SCOPED_TRACE(row);
        const auto& prev = h[i - 1].numbers;
        for (int k = 0; k < 7; ++k) {
            const int n = h[i].numbers[std::size_t(k)];
            EXPECT_EQ(s.text(k + 2, row), QString::number(n));
            const bool carried = std::find(prev.begin(), prev.end(), n) != prev.end();
            EXPECT_EQ(s.cell(k + 2, row).bg == colors::lightCyan, carried) << k;
        }
    }
}
