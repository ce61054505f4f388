// The prediction engine: the period table, the elimination, the multiple and
// the single prediction, and the four sheets built from them.

#include "core/predict/prediction.h"
#include "core/predict/prediction_sheets.h"
#include "core/history/startup_tables.h"
#include "predict/game_samples.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace mirkano;
using test::makeHistory;
using test::rowTexts;

namespace {

using Numbers = std::vector<int>;
using PeriodRow = std::array<int, kMaxNumbersPerDraw>;

ReflectFlags flagsOn(std::initializer_list<int> options)
{
    ReflectFlags f;
    for (int i : options)
        f.on[std::size_t(i)] = true;
    return f;
}

// Draws 1 … last of a game, each holding its own draw number at all positions.
History numberedDraws(int last, GameId game = GameId::Loto6)
{
    History h;
    for (int n = 1; n <= last; ++n) {
        DrawRecord d{n, {}, game};
        d.numbers.fill(n);
        h.push_back(d);
    }
    return h;
}

// Draws 1 … last with seven numbers each that never repeat within 6 draws.
History spreadDraws(int last)
{
    History h;
    for (int n = 1; n <= last; ++n) {
        DrawRecord d{n, {}};
        for (int k = 0; k < game(GameId::Loto6).numbersPerDraw(); ++k)
            d.numbers[std::size_t(k)] = (7 * n + k) % game(GameId::Loto6).pool + 1;
        h.push_back(d);
    }
    return h;
}

}  // namespace

TEST(PredictionEngine, OnlyIntervalsOf7_9_11_12AreRecorded)
{
    // Draws in between are missing, so every number of the second draw has
    // exactly that interval; 10 is at position 2 and 15 is the bonus.
    for (int gap = 5; gap <= 14; ++gap) {
        const PeriodTables t = buildPeriodTables(makeHistory({
            {1, {10, 11, 12, 13, 14, 16, 15}},
            {1 + gap, {20, 10, 21, 22, 23, 24, 15}},
        }));
        for (int k = 0; k < int(kPeriods.size()); ++k) {
            const PeriodRow expected = kPeriods[std::size_t(k)] == gap ? PeriodRow{0, 10, 0, 0, 0, 0, 15} : PeriodRow{};
            EXPECT_EQ(t.periods[std::size_t(k)], expected) << "gap " << gap << ", period row " << k;
        }
    }
}

TEST(PredictionEngine, PeriodCellsBlockASecondPositionUntilOverwritten)
{
    // Draw 8: 2 comes back after 7 draws at position 2, and 7 (draw 1's
    // bonus) at position 3.
    const History base = makeHistory({
        {1, {1, 2, 3, 4, 5, 6, 7}},
        {8, {20, 2, 7, 22, 23, 24, 25}},
    });

    // Draw 15: 2 comes back after 7 draws as the bonus, but position 2 still
    // holds it, so the bonus cell stays empty.
    History blocked = base;
    blocked.push_back({15, {30, 31, 32, 33, 34, 35, 2}});
    EXPECT_EQ(buildPeriodTables(blocked).periods[0], (PeriodRow{0, 2, 7, 0, 0, 0, 0}));

    // Draw 15': 20 comes back at position 2 first and overwrites 2 there;
    // the bonus 2 after it is then free to enter.
    History freed = base;
    freed.push_back({15, {30, 20, 32, 33, 34, 35, 2}});
    EXPECT_EQ(buildPeriodTables(freed).periods[0], (PeriodRow{0, 20, 7, 0, 0, 0, 2}));

    // Incomplete rows are not draws: they neither store nor record.
    History incomplete = base;
    incomplete.push_back({15, {30, 20, 32, 33, 34, 0, 2}});
    EXPECT_EQ(buildPeriodTables(incomplete).periods[0], (PeriodRow{0, 2, 7, 0, 0, 0, 0}));
}

TEST(PredictionEngine, WrapFoldsOntoTheGamesNumbers)
{
    const struct {
        int pool, in, out;
    } cases[] = {
        {43, 1, 1}, {43, 43, 43}, {43, 44, 1}, {43, 75, 32}, {43, 0, 43}, {43, -5, 38},
        {37, 37, 37}, {37, 38, 1}, {37, 42, 5},
        // Mini Loto: the shift 32 exceeds the pool, so a value may need two folds.
        {31, 31, 31}, {31, 32, 1}, {31, 63, 1}, {31, 62, 31},
    };
    for (const auto& c : cases)
        EXPECT_EQ(wrapNumber(c.in, c.pool), c.out) << c.in << " in 1 … " << c.pool;
}

TEST(PredictionEngine, EliminationReadsItsDrawPatternAndDropsRepeats)
{
    // Draw n holds n everywhere, so each candidate shows which draw it read:
    // position 1 reads L−4 … L−6 (+22), position 7 reads L−20 … L−22 (+12).
    const PeriodTables t = buildPeriodTables(numberedDraws(22));
    const Predictions p = predict(t, 22, {});
    EXPECT_EQ(p.offset, 0);
    // pass 0: 18+22, 17+16, 17+17, 13+24, 10+32, 3+1, 2+12
    // pass 1: 17+22, 16+16, (16+17 repeats 33), 12+24, 9+32, 2+1, 1+12
    // pass 2: 16+22, 15+16, (15+17 repeats 32), 11+24, (8+32 repeats 40), 1+1, 0+12
    EXPECT_EQ(p.elimination, (Numbers{40, 33, 34, 37, 42, 4, 14, 39, 32, 36, 41, 3, 13, 38, 31, 35, 2, 12}));

    // Numbers above 43 fold back; draws with nothing stored give the bare shift.
    const Predictions high = predict(buildPeriodTables(numberedDraws(40)), 40, {});
    EXPECT_EQ(high.elimination.front(), 36 + 22 - 43);
    EXPECT_EQ(predict(buildPeriodTables(makeHistory({{22, {1, 2, 3, 4, 5, 6, 7}}})), 22, {}).elimination,
              (Numbers{22, 16, 17, 24, 32, 1, 12}));
}

TEST(PredictionEngine, MultipleTakesOnlyValuesUniqueInTheBlock)
{
    // Block of L = 5: draws 4, 3, 2, 1. 1 and 2 occur twice and are never
    // taken, not even the first time; draw 2 is missing; the scan stops at
    // twelve numbers.
    const History h = makeHistory({
        {1, {14, 15, 16, 17, 18, 19, 20}},
        {3, {1, 8, 9, 2, 10, 11, 12}},
        {4, {1, 2, 3, 4, 5, 6, 7}},
        {5, {21, 22, 23, 24, 25, 26, 27}},
    });
    const Predictions p = predict(buildPeriodTables(h), 5, {});
    EXPECT_EQ(p.multiple, (Numbers{3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15}));
    EXPECT_EQ(p.single, (Numbers{3, 4, 5, 6, 7, 8}));

    // Without draw 1 fewer than twelve remain.
    const History shorter(h.begin() + 1, h.end());
    EXPECT_EQ(predict(buildPeriodTables(shorter), 5, {}).multiple, (Numbers{3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
}

TEST(PredictionEngine, HistoryTooShortForTheOffsetLeavesResultsEmpty)
{
    const PeriodTables t = buildPeriodTables(spreadDraws(30));
    struct Case {
        int latest;
        ReflectFlags flags;
        bool elimination, multiple;
    };
    const Case cases[] = {
        {22, {}, true, true},               // L − 22 = 0: just enough
        {21, {}, false, true},              // L − 22 < 0
        {23, flagsOn({0}), true, true},     // L − 1 − 22 = 0
        {23, flagsOn({7}), false, true},    // L − 2 − 22 < 0
        {4, {}, false, true},               // L − 4 = 0: draws 3 … 0
        {3, {}, false, false},              // L − 4 < 0
        {30, flagsOn({10, 11}), false, true},  // W = 19
        {22, flagsOn({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}), false, false},  // W = 92
        {0, {}, false, false},              // no complete draw at all
    };
    for (const Case& c : cases) {
        const Predictions p = predict(t, c.latest, c.flags);
        EXPECT_EQ(!p.elimination.empty(), c.elimination) << "L " << c.latest << ", W " << p.offset;
        EXPECT_EQ(!p.multiple.empty(), c.multiple) << "L " << c.latest << ", W " << p.offset;
        EXPECT_EQ(!p.single.empty(), c.multiple) << "L " << c.latest << ", W " << p.offset;
    }
    EXPECT_TRUE(buildPeriodTables({}).draws.size() == 1);
}

TEST(PredictionEngine, OffsetSumsTheWeightsOfTheOptionsOn)
{
    EXPECT_EQ(ReflectFlags{}.offset(), 0);
    EXPECT_EQ(flagsOn({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}).offset(), 92);
    EXPECT_EQ(flagsOn({1, 10}).offset(), 31);

    // The offset moves the window of draws back: W = 10 on L = 32 reads what
    // W = 0 reads on L = 22.
    const PeriodTables t = buildPeriodTables(numberedDraws(22));
    const Predictions shifted = predict(t, 32, flagsOn({4}));
    const Predictions plain = predict(t, 22, {});
    EXPECT_EQ(shifted.offset, 10);
    EXPECT_EQ(shifted.elimination, plain.elimination);
    EXPECT_EQ(shifted.multiple, plain.multiple);
}

TEST(PredictionEngine, RealHistory)
{
    const History h = test::sampleHistory();
    const int latest = buildStartupTables(h).latestDrawNo;
    ASSERT_EQ(latest, 2137);
    const PeriodTables t = buildPeriodTables(h);
    EXPECT_EQ(t.draws.size(), 2138u);
    EXPECT_EQ(t.periods[0], (PeriodRow{6, 13, 18, 36, 30, 42, 8}));
    EXPECT_EQ(t.periods[1], (PeriodRow{1, 26, 4, 16, 37, 38, 29}));
    EXPECT_EQ(t.periods[2], (PeriodRow{12, 13, 25, 27, 39, 40, 7}));
    EXPECT_EQ(t.periods[3], (PeriodRow{7, 26, 12, 31, 19, 42, 24}));
    // A second build starts from empty tables and gives the same result.
    EXPECT_EQ(buildPeriodTables(h).periods, t.periods);

    const Predictions off = predict(t, latest, {});
    EXPECT_EQ(off.elimination, (Numbers{23, 31, 33, 8, 19, 38, 3, 42, 2, 10, 26, 22, 4, 34, 9, 16, 43, 35}));
    EXPECT_EQ(off.multiple, (Numbers{6, 33, 43, 42, 13, 32, 34, 39, 5, 9, 10, 19}));
    EXPECT_EQ(off.single, (Numbers{6, 33, 43, 42, 13, 32}));

    // Options 0 and 3 together weigh as much as option 4 alone.
    const Predictions a = predict(t, latest, flagsOn({0, 3}));
    const Predictions b = predict(t, latest, flagsOn({4}));
    EXPECT_EQ(a.offset, 10);
    EXPECT_EQ(a.elimination, b.elimination);
    EXPECT_EQ(a.multiple, b.multiple);
    EXPECT_EQ(a.multiple, (Numbers{18, 35, 42, 24, 3, 28, 30, 39, 6, 29, 36, 41}));
    EXPECT_EQ(a.elimination, (Numbers{23, 31, 35, 16, 24, 1, 7, 34, 19, 27, 8, 12, 40, 36, 30, 38}));

    const Predictions all = predict(t, latest, flagsOn({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(all.multiple, (Numbers{1, 6, 26, 33, 34, 42, 31, 9, 29, 41, 43, 12}));
}

TEST(PredictionEngine, DrawTableIsSizedFromTheHistory)
{
    // Far beyond 5000 draws: the highest draw number the history can hold.
    const History h = makeHistory({
        {kMaxDrawNo - 8, {1, 2, 3, 4, 5, 6, 7}},
        {kMaxDrawNo - 1, {1, 8, 9, 10, 11, 12, 13}},
        {kMaxDrawNo, {14, 15, 16, 17, 18, 19, 20}},
    });
    const PeriodTables t = buildPeriodTables(h);
    EXPECT_EQ(t.draws.size(), std::size_t(kMaxDrawNo) + 1);
    EXPECT_EQ(t.periods[0][0], 1);
    EXPECT_EQ(predict(t, kMaxDrawNo, {}).multiple, (Numbers{1, 8, 9, 10, 11, 12, 13}));
}

TEST(PredictionSheets, LayoutAndHeaders)
{
    const PredictionSheets s = buildPredictionSheets(buildPeriodTables({}), {});
    const int rows[] = {5, 4, 3, 2};
    const QString header = QString(25, QLatin1Char(' ')) + QStringLiteral("本 数 字") + QString(26, QLatin1Char(' '));
    for (int i = 0; i < 4; ++i) {
        const Sheet& x = s[std::size_t(i)];
        SCOPED_TRACE(i);
        EXPECT_EQ(x.columns(), 7);
        EXPECT_EQ(x.rows(), rows[i]);
        EXPECT_EQ(x.visibleColumns(), 7);
        EXPECT_EQ(x.visibleRows(), rows[i]);
        EXPECT_EQ(x.scrollBars(), ScrollBars::None);
        EXPECT_EQ(x.columnWidth(1), 8);
        EXPECT_EQ(x.columnWidth(2), 5);
        EXPECT_EQ(x.rowHeight(1), 10);
        EXPECT_TRUE(x.allowOverflow());
        EXPECT_EQ(x.activeColumn(), 0);
        EXPECT_EQ(x.text(2, 1), header);
        EXPECT_EQ(x.cell(2, 1).hAlign, HAlign::Left);
        EXPECT_EQ(x.cell(2, 1).vAlign, VAlign::Center);
        for (int c = 1; c <= 7; ++c) {
            EXPECT_EQ(x.cell(c, 1).fg, colors::blue);
            EXPECT_EQ(x.cell(c, 1).bg, colors::lightRed);
            if (c >= 2) {
                EXPECT_EQ(test::borderSides(x.cell(c, 1)), "----") << c;
            }
        }
        EXPECT_EQ(x.cell(4, rows[i]).kind, CellKind::Static);
    }
    const QStringList periodLabels{QStringLiteral(" 7回周期法"), QStringLiteral(" 9回周期法"),
                                   QStringLiteral("11回周期法"), QStringLiteral("12回周期法")};
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(s[0].text(1, 2 + k), periodLabels[k]);
    EXPECT_EQ(s[1].text(1, 3), QStringLiteral("消去法"));
    EXPECT_EQ(s[2].text(1, 2), QStringLiteral("連発予想"));
    EXPECT_EQ(s[3].text(1, 2), QStringLiteral("１発予想"));

    // Sheet 0: horizontal rules and one vertical rule after the labels;
    // the others a full grid, the tall labels without inner lines.
    EXPECT_EQ(test::borderSides(s[0].cell(1, 3)), "-RTB");
    EXPECT_EQ(test::borderSides(s[0].cell(4, 3)), "--TB");
    EXPECT_EQ(test::borderSides(s[1].cell(4, 3)), "LRTB");
    EXPECT_EQ(test::borderSides(s[1].cell(1, 1)), "LRTB");
    for (int r = 2; r <= 4; ++r)
        EXPECT_EQ(test::borderSides(s[1].cell(1, r)), "----") << r;
    for (int r = 2; r <= 3; ++r)
        EXPECT_EQ(test::borderSides(s[2].cell(1, r)), "----") << r;
    EXPECT_EQ(test::borderSides(s[3].cell(1, 2)), "LRTB");
}

TEST(PredictionSheets, NumbersSixToARow)
{
    PeriodTables t = buildPeriodTables({});
    t.periods[0] = {1, 0, 3, 0, 5, 6, 7};  // the bonus position has no column
    t.periods[3] = {0, 0, 0, 0, 0, 43, 0};
    Predictions p;
    for (int n = 1; n <= 20; ++n)
        p.elimination.push_back(n);
    p.multiple = {11, 12, 13, 14, 15, 16, 17};
    p.single = {11, 12, 13, 14, 15, 16};
    const PredictionSheets s = buildPredictionSheets(t, p);

    const auto numbers = [](const Sheet& x, int row) { return rowTexts(x, row, 2, 7).join(QLatin1Char(',')); };
    EXPECT_EQ(numbers(s[0], 2), QStringLiteral("1,,3,,5,6"));
    EXPECT_EQ(numbers(s[0], 3), QStringLiteral(",,,,,"));
    EXPECT_EQ(numbers(s[0], 5), QStringLiteral(",,,,,43"));
    // Room for 18 candidates; the rest are not shown.
    EXPECT_EQ(numbers(s[1], 2), QStringLiteral("1,2,3,4,5,6"));
    EXPECT_EQ(numbers(s[1], 4), QStringLiteral("13,14,15,16,17,18"));
    EXPECT_EQ(numbers(s[2], 2), QStringLiteral("11,12,13,14,15,16"));
    EXPECT_EQ(numbers(s[2], 3), QStringLiteral("17,,,,,"));
    EXPECT_EQ(numbers(s[3], 2), QStringLiteral("11,12,13,14,15,16"));
}

TEST(PredictionEngine, OtherGamesUseTheirPositionsAndPool)
{
    // Draw n holds n everywhere: each candidate shows which draw it read.
    // Loto 7's seventh main number takes the first one's rule (B 4, S 22) and
    // both bonuses the bonus rule (B 20, S 12); Mini Loto's five main numbers
    // take the first five rules. Values fold around the game's pool.
    const struct {
        GameId game;
        Numbers elimination;
    } cases[] = {
        // pass 0: 18+22→3, 17+16, 17+17, 13+24, 10+32→5, 3+1, (18+22 again), 2+12, (again)
        {GameId::Loto7, {3, 33, 34, 37, 5, 4, 14, 2, 32, 36, 13, 1, 31, 35, 12}},
        // pass 0: 18+22→9, 17+16→2, 17+17→3, 13+24→6, 10+32→11, 2+12
        {GameId::MiniLoto, {9, 2, 3, 6, 11, 14, 8, 1, 5, 10, 13, 7, 31, 4, 12}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(game(c.game).cliName.toString().toStdString());
        const PeriodTables t = buildPeriodTables(numberedDraws(22, c.game), c.game);
        EXPECT_EQ(predict(t, 22, {}).elimination, c.elimination);
        // Rows of another game are not its draws.
        EXPECT_EQ(buildPeriodTables(numberedDraws(22), c.game).draws.size(), 1u);
    }
}

TEST(PredictionEngine, MultipleAndSingleTakeTwoTicketsAndOneOfTheGame)
{
    // Draws 1 … 4 with different numbers throughout, latest draw 5: the scan
    // reads draw 4, then draw 3, until it holds twice the game's main count.
    const struct {
        GameId game;
        Numbers multiple, single;
    } cases[] = {
        {GameId::Loto6, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, {1, 2, 3, 4, 5, 6}},
        {GameId::Loto7, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}, {1, 2, 3, 4, 5, 6, 7}},
        {GameId::MiniLoto, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {1, 2, 3, 4, 5}},
    };
    for (const auto& c : cases) {
        const Game& g = game(c.game);
        SCOPED_TRACE(g.cliName.toString().toStdString());
        History h;
        for (int n = 1; n <= 4; ++n) {
            DrawRecord d{n, {}, c.game};
            for (int i = 0; i < g.numbersPerDraw(); ++i)
                d.numbers[std::size_t(i)] = (4 - n) * g.numbersPerDraw() + i + 1;
            h.push_back(d);
        }
        const Predictions p = predict(buildPeriodTables(h, c.game), 5, {});
        EXPECT_EQ(p.multiple, c.multiple);
        EXPECT_EQ(p.single, c.single);
    }
}

TEST(PredictionEngine, Loto7sSecondBonusHasItsPeriodCell)
{
    // 9, draw 1's second bonus, comes back 7 draws later as the second bonus;
    // 1 comes back as the seventh main number.
    const History h = test::makeGameHistory(GameId::Loto7, {
        {1, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {8, {10, 11, 12, 13, 14, 15, 1, 20, 9}},
    });
    const PeriodTables t = buildPeriodTables(h, GameId::Loto7);
    EXPECT_EQ(t.periods[0], (PeriodRow{0, 0, 0, 0, 0, 0, 1, 0, 9}));
    // The sheet shows the seven main positions; the bonus positions have no column.
    const Sheet periods = buildPredictionSheets(t, {})[0];
    EXPECT_EQ(periods.columns(), 8);
    EXPECT_EQ(rowTexts(periods, 2, 2, 8).join(u','), QStringLiteral(",,,,,,1"));
}

TEST(PredictionSheets, EachGamesSheetsOverItsRealHistory)
{
    // A label column and a column per main number; the header's spaces grow
    // with the band; a row of numbers is one ticket.
    const struct {
        GameId game;
        int leading, trailing;
    } cases[] = {{GameId::Loto6, 25, 26}, {GameId::Loto7, 29, 30}, {GameId::MiniLoto, 21, 22}};
    for (const auto& c : cases) {
        const Game& g = game(c.game);
        SCOPED_TRACE(g.cliName.toString().toStdString());
        const History& h = test::gameSample(c.game);
        const PeriodTables t = buildPeriodTables(h, c.game);
        const Predictions p = predict(t, buildStartupTables(h, c.game).latestDrawNo, {});
        const PredictionSheets s = buildPredictionSheets(t, p);
        const int k = g.mains;
        ASSERT_EQ(int(p.single.size()), k);
        ASSERT_EQ(int(p.multiple.size()), 2 * k);
        EXPECT_EQ(int(p.elimination.size()) <= 3 * g.numbersPerDraw(), true);
        const QString header = QString(c.leading, QLatin1Char(' ')) + QStringLiteral("本 数 字") +
                               QString(c.trailing, QLatin1Char(' '));
        const int rows[] = {5, 4, 3, 2};
        for (int i = 0; i < 4; ++i) {
            const Sheet& x = s[std::size_t(i)];
            EXPECT_EQ(x.columns(), 1 + k) << i;
            EXPECT_EQ(x.visibleColumns(), 1 + k) << i;
            EXPECT_EQ(x.rows(), rows[i]) << i;
            EXPECT_EQ(x.text(2, 1), header) << i;
            EXPECT_EQ(x.cell(1 + k, 1).bg, colors::lightRed) << i;
        }
        const auto numbers = [&](const Sheet& x, int row) {
            Numbers out;
            for (int col = 2; col <= 1 + k; ++col)
                if (const QString text = x.text(col, row); !text.isEmpty())
                    out.push_back(text.toInt());
            return out;
        };
        // Periods: the main positions of each period row.
        for (int r = 0; r < 4; ++r) {
            Numbers want;
            for (int q = 0; q < k; ++q)
                if (const int n = t.periods[std::size_t(r)][std::size_t(q)])
                    want.push_back(n);
            EXPECT_EQ(numbers(s[0], 2 + r), want) << "period row " << r;
        }
        // The elimination's first 3k candidates, k to a row.
        Numbers shown;
        for (int r = 2; r <= 4; ++r)
            for (int n : numbers(s[1], r))
                shown.push_back(n);
        const std::size_t room = std::min(p.elimination.size(), std::size_t(3 * k));
        EXPECT_EQ(shown, Numbers(p.elimination.begin(), p.elimination.begin() + std::ptrdiff_t(room)));
        EXPECT_EQ(numbers(s[2], 2), Numbers(p.multiple.begin(), p.multiple.begin() + k));
        EXPECT_EQ(numbers(s[2], 3), Numbers(p.multiple.begin() + k, p.multiple.end()));
        EXPECT_EQ(numbers(s[3], 2), p.single);
        for (const Numbers* list : {&p.elimination, &p.multiple})
            for (int n : *list)
                EXPECT_TRUE(n >= 1 && n <= g.pool) << n;
    }
}
