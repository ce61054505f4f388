#include "core/analysis/interval/interval.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace mirkano;
using test::makeHistory;

namespace {

Sheet build(const History& h) { return buildAppearanceIntervalSheet(h, buildStartupTables(h)); }

const QString kMainTitle = QStringLiteral("    当 選 数 字     ");
const QString kBonusTitle = QStringLiteral("　　　ボ数字   ");

}  // namespace

TEST(AppearanceIntervalSheet, LayoutAndMirroredHeaders)
{
    const Sheet s = build(makeHistory({{1, {1, 2, 3, 4, 5, 6, 7}}, {2, {1, 2, 3, 4, 5, 6, 7}}}));
    EXPECT_EQ(s.columnWidth(1), 5);
    EXPECT_EQ(s.columnWidth(15), 5);
    EXPECT_EQ(s.rowHeight(6), 10);

    const QStringList names{"回数", "第1数字", "出現", "第2数字", "出現", "第3数字", "出現", "第4数字",
                            "出現", "第5数字", "出現", "第6数字", "出現", "ボ数字",  "出現"};
    // Top: title row 1, names row 2. Bottom (mirrored): names row 5, title row 6.
    for (const auto& [titleRow, nameRow] : {std::pair{1, 2}, std::pair{6, 5}}) {
        SCOPED_TRACE(titleRow);
        EXPECT_EQ(test::rowTexts(s, nameRow, 1, 15), names);
        QStringList titles(15, QString());
        titles[6] = kMainTitle;
        titles[13] = kBonusTitle;
        EXPECT_EQ(test::rowTexts(s, titleRow, 1, 15), titles);
        EXPECT_EQ(s.cell(7, titleRow).hAlign, HAlign::Left);
        EXPECT_EQ(s.cell(14, titleRow).hAlign, HAlign::Left);
        EXPECT_EQ(s.cell(8, titleRow).hAlign, HAlign::Center);
        for (int r : {titleRow, nameRow}) {
            for (int c = 2; c <= 15; ++c) {
                EXPECT_EQ(s.cell(c, r).fg, colors::black) << c << "," << r;
                EXPECT_EQ(s.cell(c, r).bg, colors::lightRed) << c << "," << r;
            }
            EXPECT_EQ(s.cell(1, r).fg, colors::red);
            EXPECT_EQ(s.cell(1, r).bg, colors::lightYellow);
        }
        // The title row reads as two framed blocks, columns 2 … 13 and 14 … 15.
        EXPECT_EQ(test::borderSides(s.cell(1, titleRow)), "LRTB");
        EXPECT_EQ(test::borderSides(s.cell(2, titleRow)), "L-TB");
        EXPECT_EQ(test::borderSides(s.cell(8, titleRow)), "--TB");
        EXPECT_EQ(test::borderSides(s.cell(13, titleRow)), "--TB");
        EXPECT_EQ(test::borderSides(s.cell(14, titleRow)), "L-TB");
        EXPECT_EQ(test::borderSides(s.cell(15, titleRow)), "-RTB");
        EXPECT_EQ(test::borderSides(s.cell(9, nameRow)), "LRTB");
    }

    // Data rows: number columns light cyan, interval columns plain, every
    // cell boxed in the default border colour; column 1 red on light yellow.
    for (int c = 2; c <= 15; ++c)
        EXPECT_EQ(s.cell(c, 3).bg, c % 2 == 0 ? colors::lightCyan : colors::white) << c;
    EXPECT_EQ(s.cell(1, 4).fg, colors::red);
    EXPECT_EQ(s.cell(1, 4).bg, colors::lightYellow);
    EXPECT_EQ(test::borderSides(s.cell(5, 4)), "LRTB");
    EXPECT_EQ(s.cell(5, 4).top.color, colors::defaultBorder);
}

TEST(AppearanceIntervalSheet, IntervalsCountDrawNumbersBackToTheNearestAppearance)
{
    const Sheet s = build(makeHistory({
        {1, {1, 2, 3, 4, 5, 6, 7}},
        {2, {7, 8, 9, 10, 11, 12, 1}},
        {3, {2, 13, 0, 14, 15, 16, 17}},  // incomplete: blank row, not looked back on
        {4, {2, 13, 14, 15, 16, 17, 8}},
        {6, {13, 18, 19, 20, 21, 22, 23}},  // draw 5 is missing
        {8, {24, 25, 26, 27, 28, 18, 1}},   // draw 7 is missing
    }));
    ASSERT_EQ(s.rows(), 12);  // G = 8
    const struct {
        int row;
        QStringList cells;
    } cases[] = {
        {3, {"1", "1", "初回", "2", "初回", "3", "初回", "4", "初回", "5", "初回", "6", "初回", "7", "初回"}},
        // 7 was draw 1's bonus, now a main number; 1 the other way round.
        {4, {"2", "7", "1回前", "8", "初回", "9", "初回", "10", "初回", "11", "初回", "12", "初回", "1",
             "1回前"}},
        {5, QStringList(15, QString())},
        // 2 is last seen in draw 1 (draw 3 was incomplete); 13 … 17 only in draw 3.
        {6, {"4", "2", "3回前", "13", "初回", "14", "初回", "15", "初回", "16", "初回", "17", "初回", "8",
             "2回前"}},
        // Across the gaps the interval counts draw numbers, not rows.
        {7, {"6", "13", "2回前", "18", "初回", "19", "初回", "20", "初回", "21", "初回", "22", "初回",
             "23", "初回"}},
        {8, {"8", "24", "初回", "25", "初回", "26", "初回", "27", "初回", "28", "初回", "18", "2回前",
             "1", "6回前"}},
        // Rows of the missing draw numbers stay empty before the bottom header.
        {9, QStringList(15, QString())},
        {10, QStringList(15, QString())},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        EXPECT_EQ(test::rowTexts(s, c.row, 1, 15), c.cells);
    }
    EXPECT_EQ(s.cell(2, 5).bg, colors::lightCyan);  // a blank row keeps its colours
    EXPECT_EQ(s.text(1, 11), QStringLiteral("回数"));
    EXPECT_EQ(s.text(7, 12), kMainTitle);
}

TEST(AppearanceIntervalSheet, EmptyHistoryShowsBothHeadersOnly)
{
    const Sheet s = build({});
    ASSERT_EQ(s.rows(), 4);
    EXPECT_EQ(s.text(1, 2), QStringLiteral("回数"));
    EXPECT_EQ(s.text(1, 3), QStringLiteral("回数"));
    EXPECT_EQ(s.text(7, 1), kMainTitle);
    EXPECT_EQ(s.text(14, 4), kBonusTitle);
}

TEST(AppearanceIntervalSheet, DrawNumbersPastFiveThousand)
{
    // Sparse draw numbers up to the largest 回数: intervals span thousands of draws.
    {
        const Sheet s = build(makeHistory({
            {1, {1, 2, 3, 4, 5, 6, 7}},
            {5001, {1, 8, 9, 10, 11, 12, 13}},
            {32767, {8, 14, 15, 16, 17, 18, 2}},
        }));
        ASSERT_EQ(s.rows(), 32767 + 4);
        EXPECT_EQ(test::rowTexts(s, 4, 3, 15, 2), (QStringList{"5000回前", "初回", "初回", "初回", "初回", "初回", "初回"}));
        EXPECT_EQ(s.text(1, 5), QStringLiteral("32767"));
        EXPECT_EQ(test::rowTexts(s, 5, 3, 15, 2), (QStringList{"27766回前", "初回", "初回", "初回", "初回", "初回", "32766回前"}));
        EXPECT_EQ(s.text(1, 32770), QStringLiteral("回数"));
    }
    // A full history of 32,767 draws, six groups of seven numbers in turn:
    // from the seventh draw on every number last came up six draws before.
    History h;
    for (int n = 1; n <= 32767; ++n) {
        const int base = 7 * (n % 6);
        h.push_back(DrawRecord{n, {base + 1, base + 2, base + 3, base + 4, base + 5, base + 6, base + 7}});
    }
    const Sheet s = build(h);
    ASSERT_EQ(s.rows(), 32767 + 4);
    EXPECT_EQ(test::rowTexts(s, 8, 3, 15, 2), QStringList(7, QStringLiteral("初回")));   // draw 6
    EXPECT_EQ(test::rowTexts(s, 9, 3, 15, 2), QStringList(7, QStringLiteral("6回前")));  // draw 7
    EXPECT_EQ(s.text(1, 5002 + 2), QStringLiteral("5002"));
    EXPECT_EQ(test::rowTexts(s, 5002 + 2, 3, 15, 2), QStringList(7, QStringLiteral("6回前")));
    EXPECT_EQ(s.text(1, 32767 + 2), QStringLiteral("32767"));
    EXPECT_EQ(test::rowTexts(s, 32767 + 2, 3, 15, 2), QStringList(7, QStringLiteral("6回前")));
    EXPECT_EQ(s.text(1, 32767 + 3), QStringLiteral("回数"));
    EXPECT_EQ(s.text(14, 32767 + 4), kBonusTitle);
}

TEST(AppearanceIntervalSheet, RealHistorySpotCheck)
{
    const History h = test::sampleHistory();
    ASSERT_EQ(h.size(), 2137u);
    const Sheet s = build(h);
    ASSERT_EQ(s.rows(), 2137 + 4);
    // Draw 1 is all first appearances; draw 2 (1 9 16 20 21 43 / 5) shares
    // nothing with draw 1 (2 8 10 13 27 30 / 39).
    EXPECT_EQ(test::rowTexts(s, 3, 3, 15, 2), QStringList(7, QStringLiteral("初回")));
    EXPECT_EQ(test::rowTexts(s, 4, 3, 15, 2), QStringList(7, QStringLiteral("初回")));

    // A few later draws, each number searched backwards through the history.
    for (std::size_t i : {std::size_t(100), std::size_t(1500), h.size() - 1}) {
        const DrawRecord& d = h[i];
        const int row = int(i) + 3;
        SCOPED_TRACE(d.drawNo);
        EXPECT_EQ(s.text(1, row), QString::number(d.drawNo));
        for (int k = 0; k < 7; ++k) {
            const int n = d.numbers[std::size_t(k)];
            QString want = QStringLiteral("初回");
            for (std::size_t j = i; j-- > 0;) {
                const auto& e = h[j].numbers;
                if (std::find(e.begin(), e.end(), n) != e.end()) {
                    want = QString::number(d.drawNo - h[j].drawNo) + QStringLiteral("回前");
                    break;
                }
            }
            EXPECT_EQ(s.text(2 * k + 2, row), QString::number(n));
            EXPECT_EQ(s.text(2 * k + 3, row), want) << k;
        }
    }
}
