// The two pattern sheets: low/high and even/odd splits of the main numbers.

#include "core/analysis/combination/combination.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <set>

using namespace mirkano;
using test::makeHistory;

namespace {

using Builder = Sheet (*)(const History&, const StartupTables&);

Sheet build(Builder b, const History& h) { return b(h, buildStartupTables(h)); }

// Columns 2 … 8 of a row that are light cyan.
std::set<int> cyanColumns(const Sheet& s, int row)
{
    std::set<int> out;
    for (int c = 2; c <= 8; ++c)
        if (s.cell(c, row).bg == colors::lightCyan)
            out.insert(c);
    return out;
}

}  // namespace

TEST(PatternSheets, HeaderAndColours)
{
    struct Case {
        const char* what;
        Builder build;
        QString title, first, second;
    };
    const Case cases[] = {
        {"low-high", &buildLowHighSheet, QStringLiteral("　　本 数 字"), QStringLiteral("低数字"),
         QStringLiteral("高数字")},
        {"even-odd", &buildEvenOddSheet, QStringLiteral("    本 数 字      "), QStringLiteral("偶数"),
         QStringLiteral("奇数")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Draw 2 is incomplete, so row 4 shows the colours of an empty data row.
        const Sheet s = build(c.build, makeHistory({{1, {1, 3, 5, 7, 9, 11, 13}}, {2, {0, 0, 0, 0, 0, 0, 0}},
                                                     {3, {1, 3, 5, 7, 9, 11, 13}}}));
        EXPECT_EQ(test::rowTexts(s, 1, 1, 11),
                  (QStringList{"回数", "", "", c.title, "", "", "", "ボ数", c.first, c.second, "パターン"}));
        EXPECT_EQ(s.cell(4, 1).hAlign, HAlign::Left);
        EXPECT_EQ(s.columnWidth(1), 6);
        EXPECT_EQ(s.columnWidth(6), 5);
        EXPECT_EQ(s.columnWidth(11), 7);

        struct Cell {
            int col, row;
            Rgb fg, bg;
            const char* sides;
        };
        const Cell cells[] = {
            {1, 1, colors::blue, colors::lightRed, "LRTB"},
            {2, 1, colors::blue, colors::lightRed, "L-TB"},
            {4, 1, colors::blue, colors::lightRed, "--TB"},
            {7, 1, colors::blue, colors::lightRed, "-RTB"},
            {11, 1, colors::blue, colors::lightRed, "LRTB"},
            {1, 4, colors::red, colors::lightYellow, "LRTB"},
            {5, 4, colors::black, colors::white, "LRTB"},
            {8, 4, colors::black, colors::lightYellow, "LRTB"},
            {9, 4, colors::blue, colors::lightCyan, "LRTB"},
            {10, 4, colors::blue, colors::white, "LRTB"},
            {11, 4, colors::black, colors::white, "LRTB"},
        };
        for (const Cell& x : cells) {
            SCOPED_TRACE(testing::Message() << x.col << "," << x.row);
            EXPECT_EQ(s.cell(x.col, x.row).fg, x.fg);
            EXPECT_EQ(s.cell(x.col, x.row).bg, x.bg);
            EXPECT_EQ(test::borderSides(s.cell(x.col, x.row)), x.sides);
        }
    }
}

struct SplitCase {
    const char* what;
    std::array<int, kMaxNumbersPerDraw> numbers;
    const char* counts[2];  // columns 9 and 10
    const char* letter;
    Rgb letterBg;
    std::set<int> cyan;  // light-cyan cells among columns 2 … 8
};

void checkSplits(Builder b, std::initializer_list<SplitCase> cases)
{
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.what);
        const Sheet s = build(b, makeHistory({{7, c.numbers}}));
        QStringList numbers{"7"};
        for (int i = 0; i < 7; ++i)
            numbers << QString::number(c.numbers[std::size_t(i)]);
        EXPECT_EQ(test::rowTexts(s, 2, 1, 8), numbers);
        EXPECT_EQ(test::rowTexts(s, 2, 9, 11), (QStringList{c.counts[0], c.counts[1], c.letter}));
        EXPECT_EQ(s.cell(11, 2).bg, c.letterBg);
        EXPECT_EQ(cyanColumns(s, 2), c.cyan);
    }
}

TEST(PatternSheets, LowHighCountsLowMainNumbersAndMarksTheBonus)
{
    checkSplits(&buildLowHighSheet, {
        {"21 is low, 22 high", {1, 5, 21, 22, 30, 43, 40}, {"3", "3"}, "D", colors::lightYellow, {2, 3, 4}},
        {"all high: A keeps the background", {22, 25, 30, 35, 40, 43, 23}, {"0", "6"}, "A", colors::white, {}},
        {"one low", {22, 25, 30, 35, 40, 1, 23}, {"1", "5"}, "B", colors::lightCyan, {7}},
        {"two low", {2, 25, 30, 35, 40, 1, 23}, {"2", "4"}, "C", colors::lightGreen, {2, 7}},
        {"four low", {2, 3, 4, 35, 40, 1, 23}, {"4", "2"}, "E", colors::white, {2, 3, 4, 7}},
        {"five low", {2, 3, 4, 5, 40, 1, 23}, {"5", "1"}, "F", colors::lightMagenta, {2, 3, 4, 5, 7}},
        {"all low", {2, 3, 4, 5, 21, 1, 43}, {"6", "0"}, "G", colors::lightRed, {2, 3, 4, 5, 6, 7}},
        {"a low bonus is marked, not counted", {22, 25, 30, 35, 40, 43, 21}, {"0", "6"}, "A", colors::white,
         {8}},
    });
}

TEST(PatternSheets, EvenOddMarksEveryMainNumberAndIndexesByOddCount)
{
    checkSplits(&buildEvenOddSheet, {
        {"all even: A", {2, 4, 6, 8, 10, 12, 14}, {"6", "0"}, "A", colors::white, {2, 3, 4, 5, 6, 7}},
        {"one odd", {2, 4, 6, 8, 10, 43, 14}, {"5", "1"}, "B", colors::lightCyan, {2, 3, 4, 5, 6}},
        {"two odd", {1, 4, 6, 8, 10, 43, 14}, {"4", "2"}, "C", colors::lightGreen, {3, 4, 5, 6}},
        {"three each", {1, 2, 3, 4, 5, 6, 7}, {"3", "3"}, "D", colors::lightYellow, {3, 5, 7}},
        {"two even, four odd", {1, 2, 3, 4, 5, 7, 8}, {"2", "4"}, "E", colors::white, {3, 5}},
        {"one even", {1, 2, 3, 9, 5, 7, 8}, {"1", "5"}, "F", colors::lightMagenta, {3}},
        {"all odd", {1, 3, 5, 7, 9, 43, 2}, {"0", "6"}, "G", colors::lightRed, {}},
    });
    // Odd main numbers turn white; the bonus keeps its light yellow whatever its parity.
    for (int bonus : {2, 3}) {
        const Sheet s = build(&buildEvenOddSheet, makeHistory({{1, {1, 2, 3, 4, 5, 6, bonus}}}));
        EXPECT_EQ(s.cell(2, 2).bg, colors::white);
        EXPECT_EQ(s.cell(8, 2).bg, colors::lightYellow) << bonus;
    }
}

TEST(PatternSheets, IncompleteDrawsTakeNoRow)
{
    for (Builder b : {&buildLowHighSheet, &buildEvenOddSheet}) {
        const Sheet s = build(b, makeHistory({
            {1, {1, 2, 3, 4, 5, 6, 0}},
            {2, {1, 2, 3, 4, 5, 6, 7}},
            {3, {0, 2, 3, 4, 5, 6, 7}},
            {4, {22, 23, 24, 25, 26, 27, 28}},
        }));
        ASSERT_EQ(s.rows(), 5);
        EXPECT_EQ(s.text(1, 2), QStringLiteral("2"));
        EXPECT_EQ(s.text(1, 3), QStringLiteral("4"));
        EXPECT_EQ(test::rowTexts(s, 4, 1, 11), QStringList(11, QString()));
        EXPECT_EQ(test::rowTexts(s, 5, 1, 11), QStringList(11, QString()));
    }
}

TEST(PatternSheets, RealHistoryLettersFollowTheirCount)
{
    const History h = test::sampleHistory();
    struct Case {
        Builder build;
        int letterColumn;  // the count that indexes the letter
    };
    for (const Case c : {Case{&buildLowHighSheet, 9}, Case{&buildEvenOddSheet, 10}}) {
        const Sheet s = build(c.build, h);
        ASSERT_EQ(s.rows(), 2138);
        for (int row = 2; row <= s.rows(); ++row) {
            const int first = s.text(9, row).toInt(), second = s.text(10, row).toInt();
            ASSERT_EQ(first + second, 6) << row;
            ASSERT_EQ(s.text(11, row), QString(QChar(u'A' + s.text(c.letterColumn, row).toInt()))) << row;
        }
    }
    // Draw 1 is 2 8 10 13 27 30, bonus 39: four low, all even.
    EXPECT_EQ(test::rowTexts(build(&buildLowHighSheet, h), 2, 9, 11), (QStringList{"4", "2", "E"}));
    EXPECT_EQ(test::rowTexts(build(&buildEvenOddSheet, h), 2, 9, 11), (QStringList{"4", "2", "C"}));
}
