#include "core/analysis/interval/interval.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace mirkano;
using test::makeHistory;

namespace {

Sheet build(const History& h) { return buildNumberIntervalSheet(h, buildStartupTables(h)); }

constexpr Rgb kFall{255, 200, 255};

}  // namespace

TEST(NumberIntervalSheet, LayoutAndMirroredHeaders)
{
    const Sheet s = build(makeHistory({{1, {1, 2, 3, 4, 5, 6, 7}}, {2, {1, 2, 3, 4, 5, 6, 7}}}));
    EXPECT_EQ(s.columnWidth(1), 5);
    EXPECT_EQ(s.columnWidth(15), 5);
    EXPECT_EQ(s.rowHeight(6), 10);

    const QString names[15] = {
        QStringLiteral("回数"),    QStringLiteral("第1数字"), QStringLiteral("差分"),
        QStringLiteral("第2数字"), QStringLiteral("差分"),    QStringLiteral("第3数字"),
        QStringLiteral("差分"),    QStringLiteral("第4数字"), QStringLiteral("差分"),
        QStringLiteral("第5数字"), QStringLiteral("差分"),    QStringLiteral("第6数字"),
        QStringLiteral("差分"),    QStringLiteral("ボ数字"),  QStringLiteral("差分")};
    // Top: title row 1, names row 2. Bottom (mirrored): names row 5, title row 6.
    for (const auto& [titleRow, nameRow] : {std::pair{1, 2}, std::pair{6, 5}}) {
        SCOPED_TRACE(titleRow);
        for (int c = 1; c <= 15; ++c)
            EXPECT_EQ(s.text(c, nameRow), names[c - 1]) << c;
        EXPECT_EQ(s.text(7, titleRow), QStringLiteral("    本 数 字     "));
        EXPECT_EQ(s.text(14, titleRow), QStringLiteral("     ボ数字   　   "));
        EXPECT_EQ(s.cell(7, titleRow).hAlign, HAlign::Left);
        EXPECT_EQ(s.cell(14, titleRow).hAlign, HAlign::Left);
        EXPECT_EQ(s.cell(6, titleRow).hAlign, HAlign::Center);
        for (int r : {titleRow, nameRow}) {
            for (int c = 2; c <= 15; ++c) {
                EXPECT_EQ(s.cell(c, r).fg, colors::black) << c << "," << r;
                EXPECT_EQ(s.cell(c, r).bg, (Rgb{255, 200, 200})) << c << "," << r;
            }
            EXPECT_EQ(s.cell(1, r).fg, colors::red);
            EXPECT_EQ(s.cell(1, r).bg, colors::lightYellow);
        }
        // The title row reads as two wide cells: no borders inside columns
        // 2 to 13, column 14 keeps its left edge and column 15 its right.
        for (int c = 2; c <= 13; ++c) {
            const Cell& x = s.cell(c, titleRow);
            EXPECT_FALSE(x.left.on || x.right.on || x.top.on || x.bottom.on) << c;
        }
        const Cell& b14 = s.cell(14, titleRow);
        const Cell& b15 = s.cell(15, titleRow);
        EXPECT_TRUE(b14.left.on);
        EXPECT_FALSE(b14.right.on || b14.top.on || b14.bottom.on);
        EXPECT_TRUE(b15.right.on);
        EXPECT_FALSE(b15.left.on || b15.top.on || b15.bottom.on);
        const Cell& named = s.cell(9, nameRow);
        EXPECT_TRUE(named.left.on && named.right.on && named.top.on && named.bottom.on);
    }

    // Data rows: number columns light cyan, difference columns plain, all boxed
    // in the default border colour; column 1 red on light yellow.
    for (int c = 2; c <= 15; ++c)
        EXPECT_EQ(s.cell(c, 3).bg, c % 2 == 0 ? colors::lightCyan : colors::white) << c;
    EXPECT_EQ(s.cell(1, 4).fg, colors::red);
    EXPECT_EQ(s.cell(1, 4).bg, colors::lightYellow);
    const Cell& data = s.cell(5, 4);
    EXPECT_TRUE(data.left.on && data.right.on && data.top.on && data.bottom.on);
    EXPECT_EQ(data.top.color, colors::defaultBorder);
}

TEST(NumberIntervalSheet, DifferencesAgainstLastCompleteDraw)
{
    const Sheet s = build(makeHistory({
        {1, {10, 20, 30, 40, 41, 42, 5}},
        {2, {12, 20, 25, 40, 43, 1, 5}},
        {3, {12, 21, 0, 41, 43, 2, 3}},  // incomplete: blank row, not the reference
        {4, {12, 21, 20, 41, 43, 2, 3}},
    }));
    ASSERT_EQ(s.rows(), 8);

    // The first draw shows its numbers and no differences.
    EXPECT_EQ(s.text(1, 3), QStringLiteral("1"));
    EXPECT_EQ(s.text(2, 3), QStringLiteral("10"));
    EXPECT_EQ(s.text(14, 3), QStringLiteral("5"));
    EXPECT_EQ(test::rowTexts(s, 3, 3, 15, 2), QStringList(7, QString()));

    struct Case {
        int row;
        QStringList diffs;
    };
    const Case cases[] = {
        {4, {"+2", "0", "-5", "0", "+2", "-41", "0"}},
        // Draw 4 against draw 2: the fall is on the bonus column.
        {6, {"0", "+1", "-5", "+1", "0", "+1", "-2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        EXPECT_EQ(test::rowTexts(s, c.row, 3, 15, 2), c.diffs);
        for (int k = 1; k <= 7; ++k) {
            // Falls are highlighted; rises and zeros are not.
            const Rgb want = c.diffs[k - 1].startsWith(u'-') ? kFall : colors::white;
            EXPECT_EQ(s.cell(2 * k + 1, c.row).bg, want) << k;
        }
    }
    EXPECT_EQ(s.text(1, 6), QStringLiteral("4"));
    EXPECT_EQ(s.text(8, 6), QStringLiteral("41"));

    // The incomplete draw's row stays blank.
    for (int c = 1; c <= 15; ++c)
        EXPECT_TRUE(s.text(c, 5).isEmpty()) << c;
    EXPECT_EQ(s.cell(7, 5).bg, colors::white);
    EXPECT_EQ(s.cell(6, 5).bg, colors::lightCyan);
    // The bottom header follows in rows 7 and 8.
    EXPECT_EQ(s.text(1, 7), QStringLiteral("回数"));
}

TEST(NumberIntervalSheet, FirstCompleteDrawAfterIncompleteRowsShowsNoDifferences)
{
    // Nothing precedes the first complete draw, so it is not compared with zeros.
    const Sheet s = build(makeHistory({
        {1, {0, 0, 0, 0, 0, 0, 0}},
        {2, {5, 6, 7, 8, 9, 10, 11}},
        {3, {4, 6, 9, 8, 9, 10, 12}},
    }));
    ASSERT_EQ(s.rows(), 7);
    EXPECT_TRUE(s.text(1, 3).isEmpty());
    EXPECT_EQ(s.text(1, 4), QStringLiteral("2"));
    EXPECT_EQ(s.text(2, 4), QStringLiteral("5"));
    EXPECT_EQ(test::rowTexts(s, 4, 3, 15, 2), QStringList(7, QString()));
    EXPECT_EQ(test::rowTexts(s, 5, 3, 15, 2), (QStringList{"-1", "0", "+2", "0", "0", "0", "+1"}));
}

TEST(NumberIntervalSheet, EmptyHistoryShowsBothHeadersOnly)
{
    const Sheet s = build({});
    ASSERT_EQ(s.rows(), 4);
    EXPECT_EQ(s.text(1, 2), QStringLiteral("回数"));
    EXPECT_EQ(s.text(1, 3), QStringLiteral("回数"));
    EXPECT_EQ(s.text(7, 4), QStringLiteral("    本 数 字     "));
}

TEST(NumberIntervalSheet, RealHistorySpotCheck)
{
    const History h = test::sampleHistory();
    const Sheet s = build(h);
    ASSERT_EQ(s.rows(), 2137 + 4);
    // Draw 1: 2 8 10 13 27 30 / 39; draw 2: 1 9 16 20 21 43 / 5.
    EXPECT_EQ(test::rowTexts(s, 4, 3, 15, 2), (QStringList{"-1", "+1", "+6", "+7", "-6", "+13", "-34"}));
    EXPECT_EQ(s.cell(15, 4).bg, kFall);
    // The last draw against the one before it, computed from the history.
    const DrawRecord& last = h[h.size() - 1];
    const DrawRecord& before = h[h.size() - 2];
    const int row = 2137 + 2;
    EXPECT_EQ(s.text(1, row), QString::number(last.drawNo));
    for (int k = 0; k < 7; ++k) {
        const int d = last.numbers[std::size_t(k)] - before.numbers[std::size_t(k)];
        const QString want = d > 0 ? QStringLiteral("+%1").arg(d) : QString::number(d);
        EXPECT_EQ(s.text(2 * k + 3, row), want) << k;
        EXPECT_EQ(s.text(2 * k + 2, row), QString::number(last.numbers[std::size_t(k)]));
    }
}
