#include "core/analysis/combination/combination.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace mirkano;
using test::makeHistory;

namespace {

Sheet build(const History& h) { return buildNumberSumSheet(h, buildStartupTables(h)); }

}  // namespace

TEST(NumberSumSheet, HeaderAndColours)
{
    const Sheet s = build(makeHistory({{1, {1, 2, 3, 4, 5, 6, 7}}}));
    const QString title = QString(23, QLatin1Char(' ')) + QStringLiteral("　本 数 字") + QString(30, QLatin1Char(' '));
    EXPECT_EQ(test::rowTexts(s, 1, 1, 10),
              (QStringList{"回数", title, "", "", "", "", "", "本数字合計", "ボ数字", "本数字+ボ数字"}));
    EXPECT_EQ(s.cell(2, 1).hAlign, HAlign::Left);
    const double widths[] = {5, 5, 5, 5, 5, 5, 5, 8, 7, 10};
    for (int c = 1; c <= 10; ++c)
        EXPECT_EQ(s.columnWidth(c), widths[c - 1]) << c;

    struct Case {
        int col, row;
        Rgb fg, bg;
        const char* sides;
    };
    const Case cases[] = {
        {1, 1, colors::black, colors::lightRed, "LRTB"},
        {2, 1, colors::black, colors::lightRed, "L-TB"},  // the title cell's left edge
        {5, 1, colors::black, colors::lightRed, "--TB"},
        {7, 1, colors::black, colors::lightRed, "--TB"},  // column 8 draws the edge
        {8, 1, colors::black, colors::lightRed, "LRTB"},
        {10, 1, colors::black, colors::lightRed, "LRTB"},
        {1, 2, colors::red, colors::lightYellow, "LRTB"},
        {4, 2, colors::black, colors::white, "LRTB"},
        {8, 2, colors::blue, colors::lightCyan, "LRTB"},
        {9, 2, colors::black, colors::white, "LRTB"},
        {10, 2, colors::blue, colors::lightCyan, "LRTB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.col << "," << c.row);
        EXPECT_EQ(s.cell(c.col, c.row).fg, c.fg);
        EXPECT_EQ(s.cell(c.col, c.row).bg, c.bg);
        EXPECT_EQ(test::borderSides(s.cell(c.col, c.row)), c.sides);
    }
}

TEST(NumberSumSheet, SumsEachCompleteDrawInHistoryOrder)
{
    const Sheet s = build(makeHistory({
        {1, {1, 2, 3, 4, 5, 6, 7}},
        {2, {43, 42, 41, 40, 39, 38, 1}},  // the largest main sum, fields unsorted
        {3, {1, 2, 3, 4, 5, 0, 7}},        // incomplete: no row
        {4, {10, 20, 30, 1, 2, 3, 43}},
        {5, {10, 20, 30, 1, 2, 3, 0}},     // no bonus yet: no row
    }));
    ASSERT_EQ(s.rows(), 5);  // latest complete draw 4, plus the header
    EXPECT_EQ(test::rowTexts(s, 2, 1, 10), (QStringList{"1", "1", "2", "3", "4", "5", "6", "21", "7", "28"}));
    EXPECT_EQ(test::rowTexts(s, 3, 1, 10),
              (QStringList{"2", "43", "42", "41", "40", "39", "38", "243", "1", "244"}));
    EXPECT_EQ(test::rowTexts(s, 4, 1, 10), (QStringList{"4", "10", "20", "30", "1", "2", "3", "66", "43", "109"}));
    EXPECT_EQ(test::rowTexts(s, 5, 1, 10), QStringList(10, QString()));
}

TEST(NumberSumSheet, RealHistoryTotalsAddUp)
{
    const History h = test::sampleHistory();
    const Sheet s = build(h);
    ASSERT_EQ(s.rows(), 2138);
    long long expected = 0, shown = 0;
    for (const DrawRecord& d : h)
        for (int n : d.all())
            expected += n;
    for (int row = 2; row <= s.rows(); ++row) {
        shown += s.text(10, row).toInt();
        ASSERT_EQ(s.text(8, row).toInt() + s.text(9, row).toInt(), s.text(10, row).toInt()) << row;
    }
    EXPECT_EQ(shown, expected);
    // Draw 1: 2 8 10 13 27 30, bonus 39.
    EXPECT_EQ(test::rowTexts(s, 2, 8, 10), (QStringList{"90", "39", "129"}));
}
