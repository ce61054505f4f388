#include "core/analysis/interval/interval.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace mirkano;
using test::makeHistory;

namespace {

Sheet build(const History& h) { return buildDispersionSheet(h, buildStartupTables(h)); }

constexpr Rgb kGridLine{136, 196, 255};
constexpr Rgb kHeaderBack{222, 254, 253};
constexpr Rgb kMainMark{62, 158, 255};
constexpr Rgb kBonusMark{255, 128, 192};
const QString kMark = QStringLiteral("●");

// A complete draw with varying numbers: draw i holds i, i+6, … (mod 43).
DrawRecord draw(int i)
{
    DrawRecord d{i, {}};
    for (int k = 0; k < 7; ++k)
        d.numbers[std::size_t(k)] = (i + 6 * k) % 43 + 1;
    return d;
}

void expectNumberHeader(const Sheet& s, int row)
{
    SCOPED_TRACE(row);
    EXPECT_EQ(s.text(1, row), QStringLiteral("回"));
    EXPECT_EQ(s.text(45, row), QStringLiteral("回"));
    for (int n = 1; n <= 43; ++n) {
        EXPECT_EQ(s.text(n + 1, row), QString::number(n));
        EXPECT_EQ(s.cell(n + 1, row).fg, colors::blue);
        EXPECT_EQ(s.cell(n + 1, row).bg, kHeaderBack);
    }
    EXPECT_EQ(s.cell(1, row).fg, colors::red);
    EXPECT_EQ(s.cell(45, row).bg, colors::lightYellow);
}

}  // namespace

TEST(DispersionSheet, LayoutTitleAndBorders)
{
    const Sheet s = build(makeHistory({{1, {1, 2, 3, 4, 5, 6, 7}}}));
    EXPECT_EQ(s.columnWidth(1), 5);
    EXPECT_EQ(s.columnWidth(2), 2);
    EXPECT_EQ(s.columnWidth(44), 2);
    EXPECT_EQ(s.columnWidth(45), 5);

    EXPECT_EQ(s.text(22, 1), QStringLiteral("数　　　　　　　字"));
    EXPECT_EQ(s.cell(22, 1).fg, colors::blue);
    EXPECT_EQ(s.cell(22, 1).hAlign, HAlign::Center);
    for (int c = 2; c <= 44; ++c)
        EXPECT_EQ(s.cell(c, 1).bg, kHeaderBack) << c;
    for (int c : {1, 45})
        for (int r = 1; r <= 4; ++r) {
            EXPECT_EQ(s.cell(c, r).fg, colors::red);
            EXPECT_EQ(s.cell(c, r).bg, colors::lightYellow);
        }
    expectNumberHeader(s, 2);
    expectNumberHeader(s, 4);

    // Row 1: an outline around columns 2 to 44 and a right edge on column 1.
    const Cell& c1 = s.cell(1, 1);
    EXPECT_TRUE(c1.right.on);
    EXPECT_FALSE(c1.left.on || c1.top.on || c1.bottom.on);
    const Cell& mid = s.cell(22, 1);
    EXPECT_TRUE(mid.top.on && mid.bottom.on);
    EXPECT_FALSE(mid.left.on || mid.right.on);
    EXPECT_TRUE(s.cell(2, 1).left.on);
    EXPECT_TRUE(s.cell(44, 1).right.on);
    EXPECT_FALSE(s.cell(45, 1).left.on || s.cell(45, 1).top.on);
    EXPECT_EQ(s.cell(2, 1).left.color, kGridLine);
    // Rows 2 and below: every cell boxed.
    for (const auto& [c, r] : {std::pair{1, 2}, std::pair{30, 3}, std::pair{45, 4}}) {
        const Cell& x = s.cell(c, r);
        EXPECT_TRUE(x.left.on && x.right.on && x.top.on && x.bottom.on) << c << "," << r;
        EXPECT_EQ(x.bottom.color, kGridLine);
    }
}

TEST(DispersionSheet, DrawsFillRowsWithoutGapsAboveTheBottomHeader)
{
    for (int g : {1, 2, 5}) {
        SCOPED_TRACE(g);
        History h;
        for (int i = 1; i <= g; ++i)
            h.push_back(draw(i));
        const Sheet s = build(h);
        ASSERT_EQ(s.rows(), g + 3);
        for (int i = 1; i <= g; ++i) {
            EXPECT_EQ(s.text(1, i + 2), QString::number(i));
            EXPECT_EQ(s.text(45, i + 2), QString::number(i));
        }
        expectNumberHeader(s, g + 3);
    }
}

TEST(DispersionSheet, IncompleteDrawsLeaveNoRowAndMarksAreColouredByRole)
{
    const Sheet s = build(makeHistory({
        {1, {43, 2, 15, 4, 30, 6, 1}},
        {2, {1, 2, 3, 0, 5, 6, 7}},
        {3, {1, 9, 10, 11, 12, 13, 43}},
    }));
    ASSERT_EQ(s.rows(), 6);
    EXPECT_EQ(s.text(1, 3), QStringLiteral("1"));
    EXPECT_EQ(s.text(1, 4), QStringLiteral("3"));
    // The row left over above the bottom header stays blank.
    for (int c = 1; c <= 45; ++c)
        EXPECT_TRUE(s.text(c, 5).isEmpty()) << c;
    expectNumberHeader(s, 6);

    struct Case {
        int row;
        std::array<int, kMaxNumbersPerDraw> numbers;
    };
    const Case cases[] = {{3, {43, 2, 15, 4, 30, 6, 1}}, {4, {1, 9, 10, 11, 12, 13, 43}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        int marks = 0;
        for (int n = 1; n <= 43; ++n)
            marks += s.text(n + 1, c.row) == kMark;
        EXPECT_EQ(marks, 7);
        for (int k = 0; k < 7; ++k) {
            const int col = c.numbers[std::size_t(k)] + 1;
            EXPECT_EQ(s.text(col, c.row), kMark) << col;
            EXPECT_EQ(s.cell(col, c.row).fg, k < 6 ? kMainMark : kBonusMark) << col;
        }
        EXPECT_EQ(s.cell(9, c.row).fg, colors::black);  // 8 is not drawn in either row
    }
}

TEST(DispersionSheet, RealHistorySpotCheck)
{
    const History h = test::sampleHistory();
    const Sheet s = build(h);
    ASSERT_EQ(s.rows(), 2137 + 3);
    // Draw 1: 2 8 10 13 27 30 / 39.
    for (int n : {2, 8, 10, 13, 27, 30})
        EXPECT_EQ(s.cell(n + 1, 3).fg, kMainMark) << n;
    EXPECT_EQ(s.text(40, 3), kMark);
    EXPECT_EQ(s.cell(40, 3).fg, kBonusMark);
    // Every row holds its draw's marks and no others.
    for (std::size_t i = 0; i < h.size(); i += 97) {
        const int row = int(i) + 3;
        EXPECT_EQ(s.text(45, row), QString::number(h[i].drawNo));
        int marks = 0;
        for (int c = 2; c <= 44; ++c)
            marks += s.text(c, row) == kMark;
        EXPECT_EQ(marks, 7) << row;
        EXPECT_EQ(s.cell(h[i].bonus() + 1, row).fg, kBonusMark) << row;
    }
}
