#include "core/analysis/combination/combination.h"
#include "analysis/game_histories.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <map>

using namespace mirkano;

namespace {

Sheet build(const History& h) { return buildLastDigitRunSheet(h, buildStartupTables(h)); }

// A complete draw holding `fives` numbers that end in 5 (0, 1 or 2) and no
// other number ending in 5.
DrawRecord draw(int drawNo, int fives)
{
    std::array<int, kMaxNumbersPerDraw> n{1, 2, 3, 4, 6, 7, 8};
    if (fives >= 1)
        n[6] = 15;
    if (fives >= 2)
        n[5] = 25;
    return {drawNo, n};
}

constexpr int kFiveColumn = 7;  // digit 5

}  // namespace

TEST(LastDigitRunSheet, RunsOverNeighbouringDraws)
{
    struct Case {
        const char* what;
        History history;
        std::map<int, QString> cells;  // draw number -> text of digit 5
    };
    DrawRecord incomplete = draw(6, 1);
    incomplete.numbers[0] = 0;
    const Case cases[] = {
        {"a streak's first draw stays empty, the run restarts after a break",
         {draw(4, 0), draw(5, 1), draw(6, 1), draw(7, 1), draw(8, 0), draw(9, 1), draw(10, 1)},
         {{4, ""}, {5, ""}, {6, "1"}, {7, "2"}, {8, ""}, {9, ""}, {10, "1"}}},
        {"twice after once", {draw(5, 1), draw(6, 2)}, {{5, ""}, {6, "2"}}},
        {"twice alone", {draw(5, 0), draw(6, 2)}, {{5, ""}, {6, "1"}}},
        {"twice then once", {draw(5, 2), draw(6, 1), draw(7, 0)}, {{5, "1"}, {6, "2"}, {7, ""}}},
        {"an incomplete draw breaks the streak", {draw(5, 1), incomplete, draw(7, 1)}, {{5, ""}, {6, ""}, {7, ""}}},
        {"a missing draw number breaks the streak", {draw(5, 1), draw(7, 1), draw(8, 1)},
         {{5, ""}, {6, ""}, {7, ""}, {8, "1"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Sheet s = build(c.history);
        for (const auto& [drawNo, text] : c.cells) {
            EXPECT_EQ(s.text(kFiveColumn, drawNo + 2), text) << drawNo;
            EXPECT_EQ(s.cell(kFiveColumn, drawNo + 2).bg, text.isEmpty() ? colors::white : colors::lightCyan) << drawNo;
        }
    }
}

TEST(LastDigitRunSheet, ColoursByRunLength)
{
    History h;
    for (int n = 1; n <= 14; ++n)
        h.push_back(draw(n, 1));
    const Sheet s = build(h);
    const Rgb expected[] = {colors::lightCyan,    colors::lightCyan,    colors::lightCyan,  colors::lightGreen,
                            colors::lightGreen,   colors::lightGreen,   colors::lightYellow, colors::lightYellow,
                            colors::lightYellow,  colors::lightMagenta, colors::lightMagenta, colors::lightMagenta,
                            colors::lightRed};
    for (int run = 1; run <= 13; ++run) {
        const Cell& x = s.cell(kFiveColumn, run + 3);  // draw run + 1
        EXPECT_EQ(x.text, QString::number(run));
        EXPECT_EQ(x.bg, expected[run - 1]) << run;
        EXPECT_TRUE(x.bottom.on);
    }
}

TEST(LastDigitRunSheet, EveryDrawNumberHasARow)
{
    const Sheet s = build({draw(2, 1), draw(3, 1), draw(5, 0)});
    ASSERT_EQ(s.rows(), 5 + 4);
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(s.text(1, n + 2), QString::number(n));
        EXPECT_EQ(s.cell(1, n + 2).fg, colors::red);
        EXPECT_EQ(s.cell(1, n + 2).bg, colors::lightYellow);
    }
    EXPECT_EQ(test::rowTexts(s, 3, 2, 11), QStringList(10, QString()));  // draw 1 is not in the history
    EXPECT_EQ(s.text(kFiveColumn, 5), QStringLiteral("1"));
    EXPECT_EQ(s.text(2, 8), QStringLiteral("0"));  // the footer follows draw 5 directly
    EXPECT_EQ(s.text(1, 9), QStringLiteral("回数"));
}

TEST(LastDigitRunSheet, EachGameScansThePairsItsDrawsCanHold)
{
    // One draw with four numbers ending in 1: Loto 6 looks at one pair per
    // draw number, Loto 7 and Mini Loto at every pair of the draw.
    struct Case {
        DrawRecord draw;
        const char* digit1;
    };
    const Case cases[] = {
        {{1, {1, 11, 21, 31, 41, 2, 3}, GameId::Loto6}, "1"},
        {{1, {1, 11, 21, 31, 2, 12, 22, 3, 13}, GameId::Loto7}, "3"},
        {{1, {1, 11, 21, 31, 2, 12}, GameId::MiniLoto}, "3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(game(c.draw.gameId).cliName.toString().toStdString());
        const History h{c.draw};
        const Sheet s = buildLastDigitRunSheet(h, buildStartupTables(h, c.draw.gameId));
        EXPECT_EQ(s.text(3, 3), QString::fromUtf8(c.digit1));
    }
}

TEST(LastDigitRunSheet, RealHistoriesMatchStreakCounts)
{
    // Within a streak of consecutive draw numbers holding a digit, the cell
    // of a draw shows the digit's occurrences in the streak so far, minus one.
    for (const GameId id : {GameId::Loto6, GameId::Loto7, GameId::MiniLoto}) {
        SCOPED_TRACE(game(id).cliName.toString().toStdString());
        const History& h = test::realHistory(id);
        const Sheet s = buildLastDigitRunSheet(h, buildStartupTables(h, id));
        ASSERT_EQ(s.rows(), h.back().drawNo + 4);
        int filled = 0;
        for (int digit = 0; digit <= 9; ++digit) {
            int inStreak = 0, lastDraw = -1;
            for (const DrawRecord& d : h) {
                int k = 0;
                for (int n : d.all())
                    k += n % 10 == digit;
                if (k == 0) {
                    ASSERT_TRUE(s.text(digit + 2, d.drawNo + 2).isEmpty()) << digit << " " << d.drawNo;
                    continue;
                }
                inStreak = d.drawNo == lastDraw + 1 ? inStreak + k : k;
                lastDraw = d.drawNo;
                const QString expected = inStreak > 1 ? QString::number(inStreak - 1) : QString();
                ASSERT_EQ(s.text(digit + 2, d.drawNo + 2), expected) << digit << " " << d.drawNo;
                filled += !expected.isEmpty();
            }
        }
        EXPECT_GT(filled, 300);
    }
}
