// Values that differ between the games, on small hand-made histories: the
// low/high split, patterns up to seven, the two bonus numbers of Loto 7 in
// intervals, pulls and sums, and the division groups.

#include "core/analysis/analysis.h"
#include "core/analysis/combination/combination.h"
#include "core/analysis/division/division.h"
#include "core/analysis/division/groups.h"
#include "core/analysis/interval/interval.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <vector>

using namespace mirkano;
using test::makeGameHistory;
using test::rowTexts;

namespace {

constexpr GameId L6 = GameId::Loto6, L7 = GameId::Loto7, Mini = GameId::MiniLoto;

template <typename Build>
Sheet build(Build b, GameId g, const History& h)
{
    return b(h, buildStartupTables(h, g));
}

}  // namespace

// Low numbers end at ⌊pool / 2⌋: 21, 18, 15. Bonus numbers are marked but
// not counted; the letter follows the low count, H for all seven of Loto 7.
TEST(GameValues, LowHighSplitAndPatternLetters)
{
    struct Case {
        GameId game;
        std::array<int, kMaxNumbersPerDraw> numbers;
        int low, high;
        const char* letter;
        std::vector<int> cyanColumns;  // number columns marked low, bonus columns included
    };
    const Case cases[] = {
        {L6, {1, 21, 22, 30, 40, 43, 21}, 2, 4, "C", {2, 3, 8}},
        {L7, {1, 5, 18, 19, 20, 30, 37, 18, 19}, 3, 4, "D", {2, 3, 4, 9}},
        {L7, {1, 2, 3, 4, 5, 6, 7, 30, 8}, 7, 0, "H", {2, 3, 4, 5, 6, 7, 8, 10}},
        {Mini, {1, 15, 16, 30, 31, 16}, 2, 3, "C", {2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.letter);
        const Sheet s = build(&buildLowHighSheet, c.game, makeGameHistory(c.game, {{1, c.numbers}}));
        const Game& g = game(c.game);
        const int counts = g.numbersPerDraw() + 2;
        EXPECT_EQ(rowTexts(s, 2, counts, counts + 2),
                  (QStringList{QString::number(c.low), QString::number(c.high), c.letter}));
        for (int col = 2; col < counts; ++col) {
            const bool cyan = std::find(c.cyanColumns.begin(), c.cyanColumns.end(), col) != c.cyanColumns.end();
            EXPECT_EQ(s.style(col, 2).bg == colors::lightCyan, cyan) << col;
        }
    }
    // The eighth letter has a colour of its own.
    const Sheet odd = build(&buildEvenOddSheet, L7, makeGameHistory(L7, {{1, {1, 3, 5, 7, 9, 11, 13, 2, 4}}}));
    EXPECT_EQ(rowTexts(odd, 2, 9, 13), (QStringList{"2", "4", "0", "7", "H"}));
    EXPECT_EQ(odd.style(13, 2).bg, colors::lightGrey);
}

// Loto 7's two bonus numbers: each has its own column, its own interval and
// difference, is a number the next draw may pull, and joins the total.
TEST(GameValues, TwoBonusNumbersInIntervalsPullsAndSums)
{
    const History h = makeGameHistory(L7, {
        {1, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {2, {9, 10, 11, 12, 13, 14, 15, 1, 20}},
    });
    const Sheet interval = build(&buildAppearanceIntervalSheet, L7, h);
    // Row 4 is draw 2: 9 came up as draw 1's second bonus, 1 as its first main.
    EXPECT_EQ(rowTexts(interval, 4, 1, 19),
              (QStringList{"2", "9", "1回前", "10", "初回", "11", "初回", "12", "初回", "13", "初回", "14", "初回",
                           "15", "初回", "1", "1回前", "20", "初回"}));
    const Sheet diff = build(&buildNumberIntervalSheet, L7, h);
    EXPECT_EQ(rowTexts(diff, 4, 17, 19, 2), (QStringList{"-7", "+11"}));
    EXPECT_EQ(diff.style(17, 4).bg, colors::lightMagenta);

    const Sheet pull = build(&buildPullSheet, L7, h);
    EXPECT_EQ(rowTexts(pull, 3, 1, 10), (QStringList{"2", "9", "10", "11", "12", "13", "14", "15", "1", "20"}));
    EXPECT_EQ(pull.style(2, 3).bg, colors::lightCyan);   // draw 1's second bonus
    EXPECT_EQ(pull.style(9, 3).bg, colors::lightCyan);   // a main number of draw 1, now a bonus
    EXPECT_NE(pull.style(10, 3).bg, colors::lightCyan);  // new
    EXPECT_NE(pull.style(3, 3).bg, colors::lightCyan);

    const Sheet sum = build(&buildNumberSumSheet, L7, h);
    EXPECT_EQ(rowTexts(sum, 2, 9, 12), (QStringList{"28", "8", "9", "45"}));
    const Sheet miniSum = build(&buildNumberSumSheet, Mini, makeGameHistory(Mini, {{1, {1, 2, 3, 4, 31, 6}}}));
    EXPECT_EQ(rowTexts(miniSum, 2, 1, 9), (QStringList{"1", "1", "2", "3", "4", "31", "41", "6", "47"}));
}

// Loto 6 keeps its groups; Loto 7 and Mini Loto cut their pools as evenly as
// they go, the larger groups last.
TEST(GameValues, DivisionGroups)
{
    struct Case {
        GameId game;
        int groups;
        std::vector<int> firstNumbers;
    };
    const Case cases[] = {
        {L6, 5, {1, 10, 20, 30, 40}},
        {L6, 6, {1, 8, 15, 22, 29, 36}},
        {L6, 7, {1, 7, 13, 19, 25, 31, 37}},
        {L6, 11, {1, 5, 9, 13, 17, 21, 25, 29, 33, 37, 41}},
        {L7, 5, {1, 8, 15, 22, 30}},
        {L7, 6, {1, 7, 13, 19, 25, 31}},
        {L7, 7, {1, 6, 11, 16, 21, 26, 32}},
        {L7, 11, {1, 4, 7, 10, 13, 16, 19, 22, 26, 30, 34}},
        {Mini, 5, {1, 7, 13, 19, 25}},
        {Mini, 6, {1, 6, 11, 16, 21, 26}},
        {Mini, 7, {1, 5, 9, 13, 17, 22, 27}},
        {Mini, 11, {1, 3, 5, 8, 11, 14, 17, 20, 23, 26, 29}},
    };
    for (const Case& c : cases) {
        const Game& g = game(c.game);
        SCOPED_TRACE(testing::Message() << g.cliName.toString().toStdString() << " " << c.groups);
        const DivisionGroups groups(g, c.groups);
        ASSERT_EQ(groups.count(), c.groups);
        std::vector<int> first;
        for (int i = 0; i < c.groups; ++i)
            first.push_back(groups.firstNumber(i));
        EXPECT_EQ(first, c.firstNumbers);
        EXPECT_EQ(groups.lastNumber(c.groups - 1), g.pool);
        for (int n = 1; n <= g.pool; ++n) {
            const int i = groups.groupOf(n);
            EXPECT_TRUE(groups.firstNumber(i) <= n && n <= groups.lastNumber(i)) << n;
        }
        if (c.groups == 5)
            continue;
        // 分割データ分析: each group's letter stands over its first number.
        const Grouping grouping = Grouping(c.groups);
        const History one = makeGameHistory(c.game, {{1, {1, 2, 3, 4, 5, 6, 7, 8, 9}}});
        const Sheet s = buildDivisionSheet(one, buildStartupTables(one, c.game), grouping);
        for (int i = 0; i < c.groups; ++i)
            EXPECT_EQ(s.text(c.firstNumbers[std::size_t(i)] + 1, 2).trimmed(), QString(QChar(u'Ａ' + i))) << i;
    }
    // A Mini Loto draw of the first three groups (1–2, 3–4, 5–7) greys the
    // other eight.
    const History mini = makeGameHistory(Mini, {{1, {1, 2, 3, 4, 5, 6}}});
    const Sheet s = buildDivision11Sheet(mini, buildStartupTables(mini, Mini));
    const Rgb grey{210, 210, 210};
    for (int n : {1, 4, 7})
        EXPECT_NE(s.style(n + 1, 4).bg, grey) << n;
    for (int n : {8, 10, 31})
        EXPECT_EQ(s.style(n + 1, 4).bg, grey) << n;
}
