#include "core/analysis/division/division.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>


using namespace mirkano;
using test::makeHistory;
using test::rowTexts;

namespace {

Sheet build(const History& h) { return buildFiveDivisionSheet(h, buildStartupTables(h)); }

constexpr Rgb kCounterHeader{200, 200, 255};
constexpr Rgb kGroupColor[5] = {colors::white, colors::lightCyan, colors::lightGreen, colors::lightYellow,
                                colors::lightMagenta};

const QStringList kHeaderTexts{QStringLiteral("回数"), {}, {}, QStringLiteral("    本 数 字"), {}, {}, {},
                               QStringLiteral("ボ数"), QStringLiteral("01～09"), QStringLiteral("10～19"),
                               QStringLiteral("20～29"), QStringLiteral("30～39"), QStringLiteral("40～43")};

void expectHeader(const Sheet& s, int h)
{
    SCOPED_TRACE(h);
    EXPECT_EQ(rowTexts(s, h, 1, 13), kHeaderTexts);
    EXPECT_EQ(s.rowHeight(h), 20);
    EXPECT_EQ(s.cell(4, h).hAlign, HAlign::Left);
    EXPECT_EQ(s.cell(8, h).hAlign, HAlign::Center);
    for (int c = 1; c <= 13; ++c) {
        const Cell& x = s.cell(c, h);
        EXPECT_EQ(x.fg, c <= 8 ? colors::black : colors::blue) << c;
        EXPECT_EQ(x.bg, c <= 8 ? colors::lightRed : kCounterHeader) << c;
    }
    // Columns 2 to 7 read as one band underlined in black; the others keep
    // their four edges, column 9's left edge red.
    for (int c = 2; c <= 7; ++c) {
        EXPECT_EQ(test::borderSides(s.cell(c, h)), "---B") << c;
        EXPECT_EQ(s.cell(c, h).bottom.color, colors::black) << c;
    }
    for (int c : {1, 8, 9, 13})
        EXPECT_EQ(test::borderSides(s.cell(c, h)), "LRTB") << c;
    EXPECT_EQ(s.cell(9, h).left.color, colors::red);
    EXPECT_EQ(s.cell(8, h).right.color, colors::defaultBorder);
}

}  // namespace

TEST(FiveDivisionSheet, HeaderAtTopAndRepeatedAtTheLastRow)
{
    // Draw 2 is missing and draw 3 incomplete: L = 4 and the repeated header
    // stands at row 6 whatever the number of draws shown.
    const Sheet s = build(makeHistory({{1, {1, 2, 3, 4, 5, 6, 7}},
                                       {3, {1, 2, 3, 4, 5, 6, 0}},
                                       {4, {10, 20, 30, 40, 41, 42, 43}}}));
    ASSERT_EQ(s.rows(), 6);
    expectHeader(s, 1);
    expectHeader(s, 6);
    EXPECT_EQ(s.columnWidth(1), 6);
    for (int c : {2, 8, 13})
        EXPECT_EQ(s.columnWidth(c), 5) << c;
    EXPECT_EQ(s.rowHeight(5), 10);

    // The rows left over between the draws and the repeated header are empty
    // but coloured like the data rows, with the red line before column 9.
    for (int r : {4, 5}) {
        SCOPED_TRACE(r);
        EXPECT_EQ(rowTexts(s, r, 1, 13), QStringList(13));
        EXPECT_EQ(s.cell(1, r).fg, colors::red);
        EXPECT_EQ(s.cell(1, r).bg, colors::lightYellow);
        for (int c = 2; c <= 7; ++c)
            EXPECT_EQ(s.cell(c, r).bg, colors::white) << c;
        EXPECT_EQ(s.cell(8, r).bg, colors::lightYellow);
        for (int g = 0; g < 5; ++g)
            EXPECT_EQ(s.cell(9 + g, r).bg, kGroupColor[g]) << g;
        EXPECT_EQ(test::borderSides(s.cell(5, r)), "LRTB");
        EXPECT_EQ(s.cell(5, r).left.color, colors::defaultBorder);
        EXPECT_EQ(s.cell(9, r).left.color, colors::red);
    }
}

TEST(FiveDivisionSheet, EmptyHistoryHasOnlyTheTwoHeaders)
{
    const Sheet s = build({});
    ASSERT_EQ(s.rows(), 2);
    expectHeader(s, 1);
    expectHeader(s, 2);
}

TEST(FiveDivisionSheet, NumbersColouredAndCountedByGroup)
{
    struct Case {
        const char* what;
        std::array<int, kMaxNumbersPerDraw> numbers;
        QStringList counters;
        std::array<int, kMaxNumbersPerDraw> groups;  // expected group (0 … 4) of each number cell
    };
    const Case cases[] = {
        {"one or two per group", {3, 15, 22, 31, 38, 43, 9}, {"2", "1", "1", "2", "1"}, {0, 1, 2, 3, 3, 4, 0}},
        {"lower edges", {1, 10, 20, 30, 40, 2, 11}, {"2", "2", "1", "1", "1"}, {0, 1, 2, 3, 4, 0, 1}},
        {"upper edges", {9, 19, 29, 39, 43, 42, 41}, {"1", "1", "1", "1", "3"}, {0, 1, 2, 3, 4, 4, 4}},
        {"all in one group", {40, 41, 42, 43, 1, 2, 3}, {"3", "0", "0", "0", "4"}, {4, 4, 4, 4, 0, 0, 0}},
    };
    History h;
    for (const Case& c : cases)
        h.push_back(DrawRecord{int(h.size()) + 1, c.numbers});
    const Sheet s = build(h);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const int row = int(i) + 2;
        SCOPED_TRACE(c.what);
        EXPECT_EQ(s.text(1, row), QString::number(i + 1));
        for (int k = 0; k < 7; ++k) {
            EXPECT_EQ(s.text(k + 2, row), QString::number(c.numbers[std::size_t(k)])) << k;
            EXPECT_EQ(s.cell(k + 2, row).bg, kGroupColor[c.groups[std::size_t(k)]]) << k;
            EXPECT_EQ(s.cell(k + 2, row).fg, colors::black) << k;
        }
        EXPECT_EQ(rowTexts(s, row, 9, 13), c.counters);
    }
}

TEST(FiveDivisionSheet, IncompleteRowsLeaveNoGap)
{
    const Sheet s = build(makeHistory({
        {1, {0, 2, 3, 4, 5, 6, 7}},
        {2, {11, 12, 13, 14, 15, 16, 17}},
        {3, {1, 2, 3, 4, 5, 6, 0}},
        {5, {21, 22, 23, 24, 25, 26, 27}},
    }));
    ASSERT_EQ(s.rows(), 7);
    EXPECT_EQ(rowTexts(s, 2, 1, 13), (QStringList{"2", "11", "12", "13", "14", "15", "16", "17", "0", "7", "0", "0", "0"}));
    EXPECT_EQ(rowTexts(s, 3, 1, 13), (QStringList{"5", "21", "22", "23", "24", "25", "26", "27", "0", "0", "7", "0", "0"}));
    for (int r : {4, 5, 6})
        EXPECT_EQ(rowTexts(s, r, 1, 13), QStringList(13)) << r;
    EXPECT_EQ(s.text(1, 7), QStringLiteral("回数"));
}

TEST(FiveDivisionSheet, RealHistory)
{
    const History h = test::sampleHistory();
    const Sheet s = build(h);
    ASSERT_EQ(s.rows(), 2137 + 2);
    expectHeader(s, 2139);
    for (std::size_t i = 0; i < h.size(); ++i) {
        const int row = int(i) + 2;
        SCOPED_TRACE(row);
        ASSERT_EQ(s.text(1, row), QString::number(h[i].drawNo));
        int counts[5] = {};
        for (int n : h[i].all())
            ++counts[n <= 9 ? 0 : n <= 19 ? 1 : n <= 29 ? 2 : n <= 39 ? 3 : 4];
        for (int g = 0; g < 5; ++g)
            ASSERT_EQ(s.text(9 + g, row), QString::number(counts[g])) << g;
    }
}
