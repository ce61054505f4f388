// The prediction test: a small history checked by hand, the predictions for
// draw t taken from the history before t alone, and the sheet.

#include "core/backtest/backtest.h"
#include "core/history/startup_tables.h"
#include "money/yen_fixture.h"
#include "predict/game_samples.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <map>
#include <numeric>

using namespace mirkano;
using test::makeHistory;

namespace {

// With every option off (W = 0) draw t is predicted from draws t−2 … t−5:
// 6 from 4, 3, 2, 1; 7 from 5 … 2; 8 from 6 … 3; 10 (9 is incomplete) from
// 7 … 4.
History handHistory()
{
    return makeHistory({
        {1, {1, 2, 3, 4, 5, 6, 7}},
        {2, {8, 9, 10, 11, 12, 13, 14}},
        {3, {15, 16, 17, 18, 19, 20, 21}},
        {4, {22, 23, 24, 25, 26, 27, 28}},
        {5, {29, 30, 31, 32, 33, 34, 35}},
        // single 22 … 27: three and the bonus 25, 5等; multiple 22 … 28, 15 … 19: five and the bonus, 2等
        {6, {22, 23, 24, 15, 16, 40, 25}},
        // single 29 … 34: 1等; multiple 29 … 35, 22 … 26: six, 1等
        {7, {29, 30, 31, 32, 33, 34, 1}},
        // single 40, 29 … 33 and multiple 40, 29 … 35, 26, 27, 28, 17: nothing
        {8, {1, 2, 3, 4, 5, 6, 40}},
        {9, {1, 2, 3, 4, 5, 0, 7}},
        // single 1, 15, 16, 40, 35, 26: five and the bonus 26, 2等;
        // multiple (eight numbers) 1, 15, 16, 40, 35, 26, 27, 28: six, 1等
        {10, {1, 15, 16, 40, 35, 27, 26}},
    });
}

ReflectFlags flagsOn(std::initializer_list<int> options)
{
    ReflectFlags f;
    for (int i : options)
        f.on[std::size_t(i)] = true;
    return f;
}

// The rows whose 回数 is below t, as a history of their own.
History before(const History& h, int t)
{
    History out;
    for (const DrawRecord& d : h)
        if (d.drawNo < t)
            out.push_back(d);
    return out;
}

// What the engine predicts for draw t when the history before t is all there is.
Predictions fromScratch(const History& h, int t, const ReflectFlags& flags)
{
    const History prefix = before(h, t);
    return predict(buildPeriodTables(prefix), buildStartupTables(prefix).latestDrawNo, flags);
}

}  // namespace

TEST(Backtest, SmallHistoryByHand)
{
    std::map<int, std::vector<int>> singles, multiples;
    const BacktestResult r = runBacktest(handHistory(), {}, std::nullopt, [&](const BacktestStep& s) {
        singles[s.draw.drawNo] = s.predictions.single;
        multiples[s.draw.drawNo] = s.predictions.multiple;
    });
    EXPECT_EQ(singles[6], (std::vector<int>{22, 23, 24, 25, 26, 27}));
    EXPECT_EQ(multiples[8], (std::vector<int>{40, 29, 30, 31, 32, 33, 34, 35, 26, 27, 28, 17}));
    EXPECT_EQ(multiples[10], (std::vector<int>{1, 15, 16, 40, 35, 26, 27, 28}));

    EXPECT_EQ(r.from, 6);
    EXPECT_EQ(r.to, 10);
    EXPECT_EQ(r.draws, 4);
    EXPECT_EQ(r.single, (MatchCounts{1, 0, 0, 1, 0, 1, 1}));
    EXPECT_EQ(r.multiple, (MatchCounts{1, 0, 0, 0, 0, 1, 2}));
    EXPECT_EQ(r.singleClasses, (ClassCounts{0, 1, 1, 0, 0, 1}));
    EXPECT_EQ(r.multipleClasses, (ClassCounts{0, 2, 1, 0, 0, 0}));

    const MatchOdds six = matchProbabilities(6), twelve = matchProbabilities(12), eight = matchProbabilities(8);
    for (int k = 0; k <= 6; ++k) {
        EXPECT_DOUBLE_EQ(r.expectedSingle[std::size_t(k)], six[std::size_t(k)]) << k;
        EXPECT_DOUBLE_EQ(r.expectedMultiple[std::size_t(k)],
                         (3 * twelve[std::size_t(k)] + eight[std::size_t(k)]) / 4) << k;
    }
    EXPECT_DOUBLE_EQ(r.expectedSingleClasses[1], 4 * six[6]);
    EXPECT_DOUBLE_EQ(r.expectedSingleClasses[2], 4 * 6.0 / 6'096'454.0);
}

// The single prediction as a ticket in yen: draws 6 (5等), 7 (1等) and 10
// (2等) with prize data, 8 (nothing) without. A random ticket's value over
// 6, 7 and 10: (100,000,000 + 6 × 5,000,000 + 216 × 200,000 + 9,990 × 5,000
// + 155,400 × 1,000) + (200,000,000 + 6 × 6,000,000 + 216 × 300,000 + 9,990
// × 6,000 + 155,400 × 1,000) + (0 + 6 × 7,000,000 + 216 × 400,000 + 9,990 ×
// 7,000 + 155,400 × 1,000) = 1,248,420,000 over 6,096,454.
TEST(Backtest, SinglePredictionAsATicketInYen)
{
    const PrizeTable prizes{
        test::loto6Prizes(6, {100'000'000, 5'000'000, 200'000, 5'000, 1'000}),
        test::loto6Prizes(7, {200'000'000, 6'000'000, 300'000, 6'000, 1'000}),
        test::loto6Prizes(10, {0, 7'000'000, 400'000, 7'000, 1'000}),
    };
    const BacktestResult r = runBacktest(handHistory(), GameId::Loto6, {}, prizes);
    EXPECT_EQ(r.draws, 4);
    EXPECT_EQ(r.ticketDraws, 4);
    ASSERT_TRUE(r.money);
    EXPECT_EQ(r.money->draws, 3);
    EXPECT_EQ(r.money->cost, 600);
    EXPECT_EQ(r.money->won, 1'000 + 200'000'000 + 7'000'000);
    EXPECT_NEAR(r.money->expected, 1'248'420'000.0 / 6'096'454.0, 1e-6);
    EXPECT_EQ(r.money->unpriced, std::vector<int>{8});
    EXPECT_EQ(backtestMoneyLines(r).first(), QStringLiteral("１発予想が6個そろい1口として買えた回：検証した4回のうち4回"));
    // The counts are those of the test without money.
    const BacktestResult plain = runBacktest(handHistory(), {});
    EXPECT_EQ(r.singleClasses, plain.singleClasses);
    EXPECT_EQ(r.single, plain.single);
    EXPECT_FALSE(plain.money);
    EXPECT_TRUE(backtestMoneyLines(plain).isEmpty());

    // From draw 1 the empty predictions of draws 1 … 4 are no ticket: the
    // other five draws are, draw 5 and 8 without prize data.
    const BacktestResult all = runBacktest(handHistory(), GameId::Loto6, {}, prizes, 1);
    EXPECT_EQ(all.draws, 9);
    EXPECT_EQ(all.ticketDraws, 5);
    EXPECT_EQ(all.money->draws, 3);
    EXPECT_EQ(all.money->unpriced, (std::vector<int>{5, 8}));
}

TEST(Backtest, FirstDrawAndEmptyPredictions)
{
    // The default first draw is W + 6: with 間隔分析 (15) and 頻度分析 (1) on, 22.
    EXPECT_EQ(defaultBacktestStart(flagsOn({0, 1})), 22);

    // From draw 1 the first four draws have nothing to be predicted from (an
    // empty prediction holds no number and counts as no match); draw 5 is
    // predicted from draws 3 … 1 alone and matches nothing.
    const BacktestResult all = runBacktest(handHistory(), {}, 1);
    EXPECT_EQ(all.from, 1);
    EXPECT_EQ(all.draws, 9);
    EXPECT_EQ(all.single[0], 6);
    EXPECT_DOUBLE_EQ(all.expectedSingle[0], (4 + 5 * matchProbabilities(6)[0]) / 9);
    EXPECT_EQ(all.singleClasses, (ClassCounts{0, 1, 1, 0, 0, 1}));  // empty predictions make no ticket

    // A first draw that is missing starts at the next complete one; one past
    // the end tests nothing.
    EXPECT_EQ(runBacktest(handHistory(), {}, 9).from, 10);
    const BacktestResult none = runBacktest(handHistory(), {}, 11);
    EXPECT_EQ(none.from, 11);
    EXPECT_EQ(none.draws, 0);
    EXPECT_EQ(none.expectedSingle, MatchOdds(7, 0.0));
    EXPECT_EQ(backtestSummary(none), QStringLiteral("反映オプションの合計 0　第11回以降に検証できる回がありません"));
    EXPECT_EQ(backtestSummary(runBacktest(handHistory(), {})), QStringLiteral("反映オプションの合計 0　第6回～第10回の4回を検証"));
}

// The prediction for draw t is the engine's own for the history before t:
// on the real history, for several option sets, at every 53rd draw.
TEST(Backtest, EachPredictionUsesOnlyTheHistoryBeforeItsDraw)
{
    const History h = test::sampleHistory();
    for (const ReflectFlags& flags : {ReflectFlags{}, flagsOn({1}), flagsOn({0, 3, 10}), flagsOn({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11})}) {
        SCOPED_TRACE(flags.offset());
        int checked = 0;
        runBacktest(h, flags, std::nullopt, [&](const BacktestStep& s) {
            if (s.draw.drawNo % 53 != 0)
                return;
            const Predictions expected = fromScratch(h, s.draw.drawNo, flags);
            EXPECT_EQ(s.predictions.single, expected.single) << s.draw.drawNo;
            EXPECT_EQ(s.predictions.multiple, expected.multiple) << s.draw.drawNo;
            ++checked;
        });
        EXPECT_GT(checked, 35);
    }
}

TEST(Backtest, LaterDrawsDoNotChangeEarlierPredictions)
{
    const History h = test::sampleHistory();
    const ReflectFlags flags = flagsOn({4});
    // The same history with every draw after 1500 replaced.
    History changed = h;
    for (DrawRecord& d : changed)
        if (d.drawNo > 1500)
            d.numbers = {43, 42, 41, 40, 39, 38, 37};
    std::map<int, std::vector<int>> original;
    runBacktest(h, flags, std::nullopt, [&](const BacktestStep& s) { original[s.draw.drawNo] = s.predictions.multiple; });
    int compared = 0;
    runBacktest(changed, flags, std::nullopt, [&](const BacktestStep& s) {
        if (s.draw.drawNo > 1501)
            return;
        EXPECT_EQ(s.predictions.multiple, original[s.draw.drawNo]) << s.draw.drawNo;
        ++compared;
    });
    EXPECT_EQ(compared, 1501 - defaultBacktestStart(flags) + 1);

    // On the small history: every tested draw, every option set of a few.
    for (const ReflectFlags& f : {ReflectFlags{}, flagsOn({0}), flagsOn({11})})
        runBacktest(handHistory(), f, 1, [&](const BacktestStep& s) {
            EXPECT_EQ(s.predictions.multiple, fromScratch(handHistory(), s.draw.drawNo, f).multiple) << s.draw.drawNo;
        });
}

TEST(Backtest, SheetShowsCountsBesideExpectedCounts)
{
    const BacktestResult r = runBacktest(handHistory(), {});
    const Sheet s = buildBacktestSheet(r);
    EXPECT_EQ(s.columns(), 5);
    EXPECT_EQ(s.rows(), 16);
    EXPECT_EQ(test::rowTexts(s, 2, 1, 5), (QStringList{QStringLiteral("一致数"), QStringLiteral("回数"),
                                                       QStringLiteral("期待回数"), QStringLiteral("回数"),
                                                       QStringLiteral("期待回数")}));
    // Three matches: once for the single prediction, 4 · 0.02549 expected.
    EXPECT_EQ(test::rowTexts(s, 6, 1, 3), (QStringList{QStringLiteral("3個"), "1", "0.10"}));
    // Six matches for six random numbers: 4 / 6,096,454, in plain decimals
    // that the column is wide enough for.
    EXPECT_EQ(s.text(3, 9), QStringLiteral("0.00000066"));
    EXPECT_GE(s.columnWidth(3), s.text(3, 9).size());
    EXPECT_EQ(test::rowTexts(s, 11, 1, 2), (QStringList{QStringLiteral("1等"), "1"}));
    EXPECT_EQ(s.text(4, 11), QStringLiteral("2"));
    EXPECT_EQ(test::rowTexts(s, 16, 1, 2), (QStringList{QStringLiteral("検証回数"), "4"}));
}

TEST(Backtest, ExpectedCountsReadAsPlainDecimals)
{
    const std::pair<double, const char*> cases[] = {
        {0, "0"},           {12.345, "12.3"},      {10, "10.0"},          {0.1, "0.10"},
        {0.01, "0.01"},     {0.0066, "0.0066"},    {6.6e-05, "0.000066"}, {9.96e-05, "0.00010"},
        {1.64e-07, "0.00000016"}, {9.7e-08, "0.000000097"},
    };
    for (const auto& [x, text] : cases)
        EXPECT_EQ(expectedCountText(x), QString::fromUtf8(text)) << x;
}

TEST(Backtest, Loto7CountsAClassWithEitherBonus)
{
    // Draw 6 is predicted from draws 4 … 1: single 1 … 7, multiple 1 … 14.
    // It holds 1, 2, 3 and the bonuses 4 and 8: three and a bonus, 6等, for
    // both predictions.
    const History h = test::makeGameHistory(GameId::Loto7, {
        {1, {28, 29, 30, 31, 32, 33, 34, 35, 36}},
        {2, {19, 20, 21, 22, 23, 24, 25, 26, 27}},
        {3, {10, 11, 12, 13, 14, 15, 16, 17, 18}},
        {4, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {5, {30, 31, 32, 33, 34, 35, 36, 37, 29}},
        {6, {1, 2, 3, 20, 21, 22, 23, 4, 8}},
    });
    std::vector<int> single, multiple;
    const BacktestResult r = runBacktest(h, GameId::Loto7, {}, 6, [&](const BacktestStep& s) {
        single = s.predictions.single;
        multiple = s.predictions.multiple;
    });
    EXPECT_EQ(single, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(multiple.size(), 14u);
    EXPECT_EQ(r.draws, 1);
    EXPECT_EQ(r.single, (MatchCounts{0, 0, 0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(r.singleClasses, (ClassCounts{0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(r.multipleClasses, (ClassCounts{0, 0, 0, 0, 0, 0, 1}));
    // For one ticket of seven random numbers the class chances are the game's own.
    for (int c = 1; c <= 6; ++c)
        EXPECT_NEAR(r.expectedSingleClasses[std::size_t(c)], game(GameId::Loto7).prizeProbability(c),
                    1e-12 * game(GameId::Loto7).prizeProbability(c)) << c;
}

TEST(Backtest, EveryGamesRealHistoryAddsUp)
{
    // The chances of 0 … k matches add up to 1 and the counts to the draws
    // tested; the sheet has a row per number of matches and per class.
    for (const Game& g : games()) {
        const History& h = test::gameSample(g.id);
        for (const ReflectFlags& flags : {ReflectFlags{}, flagsOn({0, 3})}) {
            SCOPED_TRACE(g.cliName.toString().toStdString() + ", offset " + std::to_string(flags.offset()));
            const BacktestResult r = runBacktest(h, g.id, flags);
            EXPECT_EQ(r.from, defaultBacktestStart(flags));
            EXPECT_EQ(r.to, h.back().drawNo);
            EXPECT_EQ(r.draws, int(h.size()) - r.from + 1);
            for (const MatchCounts* counts : {&r.single, &r.multiple}) {
                ASSERT_EQ(int(counts->size()), g.mains + 1);
                EXPECT_EQ(std::accumulate(counts->begin(), counts->end(), 0), r.draws);
            }
            for (const MatchOdds* odds : {&r.expectedSingle, &r.expectedMultiple}) {
                ASSERT_EQ(int(odds->size()), g.mains + 1);
                EXPECT_NEAR(std::accumulate(odds->begin(), odds->end(), 0.0), 1.0, 1e-12);
            }
            for (const ClassCounts* classes : {&r.singleClasses, &r.multipleClasses}) {
                ASSERT_EQ(int(classes->size()), g.prizeClassCount() + 1);
                EXPECT_LE(std::accumulate(classes->begin(), classes->end(), 0), r.draws);
            }
            const Sheet s = buildBacktestSheet(r);
            const int classHeader = 3 + g.mains + 1;
            EXPECT_EQ(s.rows(), classHeader + g.prizeClassCount() + 1);
            EXPECT_EQ(s.visibleRows(), s.rows());
            EXPECT_EQ(s.text(1, classHeader - 1), QStringLiteral("%1個").arg(g.mains));
            EXPECT_EQ(s.text(1, classHeader), QStringLiteral("等級"));
            EXPECT_EQ(s.text(1, s.rows() - 1), QStringLiteral("%1等").arg(g.prizeClassCount()));
            EXPECT_EQ(s.text(1, s.rows()), QStringLiteral("検証回数"));
            EXPECT_EQ(s.text(2, s.rows()), QString::number(r.draws));
        }
    }
}
