#include "core/analysis/combination/combination.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <set>

using namespace mirkano;
using test::makeHistory;

namespace {

Sheet build(const History& h) { return buildConsecutiveSheet(h, buildStartupTables(h)); }

// The columns of a row with the given background, among first … last.
std::set<int> columnsIn(const Sheet& s, int row, int first, int last, Rgb bg)
{
    std::set<int> out;
    for (int c = first; c <= last; ++c)
        if (s.cell(c, row).bg == bg)
            out.insert(c);
    return out;
}

}  // namespace

TEST(ConsecutiveSheet, Header)
{
    const Sheet s = build(makeHistory({{1, {1, 2, 3, 4, 5, 6, 7}}}));
    EXPECT_EQ(test::rowTexts(s, 1, 1, 14),
              (QStringList{"回数", "", "", "連番(本数字)", "", "", "", "回数", "", "", "飛び石(本数字)", "", "", ""}));
    EXPECT_EQ(s.cell(4, 1).hAlign, HAlign::Left);
    EXPECT_EQ(s.cell(11, 1).hAlign, HAlign::Left);
    EXPECT_EQ(s.cell(1, 1).hAlign, HAlign::Center);
    EXPECT_EQ(s.columnWidth(1), 4);

    for (int c : {1, 8}) {
        EXPECT_EQ(s.cell(c, 1).fg, colors::red) << c;
        EXPECT_EQ(s.cell(c, 1).bg, colors::lightYellow) << c;
    }
    EXPECT_EQ(columnsIn(s, 1, 1, 14, colors::lightMagenta), (std::set<int>{2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(columnsIn(s, 1, 1, 14, colors::lightRed), (std::set<int>{9, 10, 11, 12, 13, 14}));

    // Each group of six headers is one framed cell; every other cell is boxed.
    struct Case {
        int col, row;
        const char* sides;
    };
    for (const Case& c : {Case{2, 1, "L-TB"}, Case{4, 1, "--TB"}, Case{7, 1, "-RTB"}, Case{9, 1, "L-TB"},
                          Case{14, 1, "-RTB"}, Case{1, 1, "LRTB"}, Case{8, 1, "LRTB"}, Case{5, 2, "LRTB"}})
        EXPECT_EQ(test::borderSides(s.cell(c.col, c.row)), c.sides) << c.col << "," << c.row;
}

TEST(ConsecutiveSheet, MarksPairsOfNeighbouringFields)
{
    struct Case {
        const char* what;
        std::array<int, kMaxNumbersPerDraw> numbers;
        std::set<int> cyan;   // consecutive pairs, columns 2 … 7
        std::set<int> green;  // stepping stones, columns 9 … 14
    };
    const Case cases[] = {
        {"run of three", {3, 4, 5, 20, 30, 40, 41}, {2, 3, 4}, {}},
        {"no pair", {1, 10, 20, 30, 40, 43, 2}, {}, {}},
        {"both kinds", {10, 12, 13, 20, 22, 43, 1}, {3, 4}, {9, 10, 12, 13}},
        {"three apart is neither", {10, 13, 16, 19, 30, 40, 1}, {}, {}},
        {"stepping-stone run", {1, 3, 5, 7, 30, 40, 2}, {}, {9, 10, 11, 12}},
        {"only neighbouring fields, in field order", {5, 20, 6, 30, 7, 40, 13}, {}, {}},
        {"descending neighbours are not pairs", {8, 7, 20, 30, 12, 10, 1}, {}, {}},
        {"the bonus is not analysed", {1, 10, 20, 30, 35, 42, 43}, {}, {}},
        {"last pair", {1, 10, 20, 30, 42, 43, 5}, {6, 7}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Sheet s = build(makeHistory({{9, c.numbers}}));
        ASSERT_EQ(s.rows(), 10);
        QStringList numbers;
        for (int i = 0; i < 6; ++i)
            numbers << QString::number(c.numbers[std::size_t(i)]);
        EXPECT_EQ(test::rowTexts(s, 2, 1, 7), QStringList{"9"} + numbers);
        EXPECT_EQ(test::rowTexts(s, 2, 8, 14), QStringList{"9"} + numbers);
        EXPECT_EQ(columnsIn(s, 2, 2, 7, colors::lightCyan), c.cyan);
        EXPECT_EQ(columnsIn(s, 2, 9, 14, colors::lightGreen), c.green);
        EXPECT_EQ(columnsIn(s, 2, 2, 7, colors::white).size() + c.cyan.size(), 6u);
        EXPECT_EQ(columnsIn(s, 2, 9, 14, colors::white).size() + c.green.size(), 6u);
        // A block without a pair greys its draw number; the text stays red.
        EXPECT_EQ(s.cell(1, 2).bg, c.cyan.empty() ? colors::lightGrey : colors::lightYellow);
        EXPECT_EQ(s.cell(8, 2).bg, c.green.empty() ? colors::lightGrey : colors::lightYellow);
        EXPECT_EQ(s.cell(1, 2).fg, colors::red);
        EXPECT_EQ(s.cell(8, 2).fg, colors::red);
    }
}

TEST(ConsecutiveSheet, IncompleteDrawsTakeNoRow)
{
    const Sheet s = build(makeHistory({
        {1, {1, 2, 10, 20, 30, 40, 5}},
        {2, {1, 3, 10, 20, 30, 40, 0}},  // no bonus yet
        {3, {5, 7, 10, 20, 30, 40, 6}},
        {4, {0, 0, 0, 0, 0, 0, 0}},
    }));
    ASSERT_EQ(s.rows(), 4);  // latest complete draw 3, plus the header
    EXPECT_EQ(s.text(1, 2), QStringLiteral("1"));
    EXPECT_EQ(s.text(1, 3), QStringLiteral("3"));
    EXPECT_EQ(s.cell(9, 3).bg, colors::lightGreen);
    EXPECT_EQ(test::rowTexts(s, 4, 1, 14), QStringList(14, QString()));
    EXPECT_EQ(s.cell(1, 4).bg, colors::lightYellow);
}

TEST(ConsecutiveSheet, RealHistory)
{
    const Sheet s = build(test::sampleHistory());
    ASSERT_EQ(s.rows(), 2138);
    EXPECT_EQ(s.text(1, 2138), QStringLiteral("2137"));
    // Draw 26 is 3 4 11 12 13 43: three consecutive pairs and no stepping stone.
    EXPECT_EQ(test::rowTexts(s, 27, 8, 14), (QStringList{"26", "3", "4", "11", "12", "13", "43"}));
    EXPECT_EQ(columnsIn(s, 27, 2, 7, colors::lightCyan), (std::set<int>{2, 3, 4, 5, 6}));
    EXPECT_EQ(s.cell(1, 27).bg, colors::lightYellow);
    EXPECT_EQ(s.cell(8, 27).bg, colors::lightGrey);
    // Draw 1 is 2 8 10 13 27 30: one stepping stone (8, 10), no consecutive pair.
    EXPECT_EQ(columnsIn(s, 2, 9, 14, colors::lightGreen), (std::set<int>{10, 11}));
    EXPECT_EQ(s.cell(1, 2).bg, colors::lightGrey);
}
