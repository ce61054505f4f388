#pragma once
// Every test of a game's history in one report, as the statistics window and
// `mirkano-cli stats` show it: the numbers (uniformity, each number), the sum,
// odd/even, low/high and consecutive pairs of the mains against their exact
// laws, and the prediction's record from the prediction test against random
// picks of the same sizes.
//
// The eight tests of the table are one family: each has its p-value and the
// p-value after Holm's correction over the tests that could be run, and
// every verdict, the headline's included, is taken from the corrected one.
// The numbers are marked only when the mains as a whole are found uneven in
// that family (see NumberTest::gateOpen), so a fair history shows an alarm
// anywhere in the window at most about as often as the 5 % level says.

#include "core/backtest/backtest.h"
#include "core/game/game.h"
#include "core/history/history.h"
#include "core/predict/reflect_options.h"
#include "core/sheet/sheet.h"
#include "core/stats/history_stats.h"

#include <QJsonObject>

#include <array>
#include <optional>

namespace mirkano::stats {

// The tests of the family, in the table's order.
enum class FamilyTest { Mains, Bonuses, Sum, Odd, Low, Consecutive, Single, Multiple };
inline constexpr int kFamilySize = 8;

struct FamilyMember {
    std::optional<double> p;      // empty: the test could not be run
    std::optional<double> pHolm;  // Holm's correction over the tests that were run
};

struct StatsReport {
    GameId game = GameId::Loto6;
    ReflectFlags flags;
    HistoryStats history;            // over the complete draws
    BacktestResult backtest;         // the prediction test behind the record
    int testedDraws = 0;             // draws of the prediction test
    PredictionRecordTest single;     // the single prediction's record
    PredictionRecordTest multiple;   // the multiple prediction's record
    std::array<FamilyMember, kFamilySize> family;

    const FamilyMember& member(FamilyTest t) const { return family[std::size_t(t)]; }
    // How many tests of the family had enough draws to be run.
    int testsRun() const;
};

// A test's name as the headline says it (本数字の出方, …).
QString familyTestName(FamilyTest t);

// The draw shape of a game.
DrawShape drawShape(const Game& game);

// The report for the complete draws of the history; the prediction test runs
// with these options from its default first draw.
StatsReport statsReport(const History& history, GameId game, const ReflectFlags& flags);

// The family's p-values from the tests, Holm's correction over those that
// were run, and the numbers' gate from the mains' corrected result.
void correctFamily(StatsReport& report);

// The window's sheet: one row per test (statistic, degrees of freedom or
// expectation, p-value, corrected p-value, the verdict in words), then one
// row per number (count, expectation, p-value, corrected p-value, verdict).
Sheet buildStatsSheet(const StatsReport& report);
// The numbers marked significant, in words ("有意に偏った数字はありません" when none).
QString numbersVerdict(const StatsReport& report);
// The window's headline: the game and draws, how many tests were run, the
// family's verdict from the corrected p-values, and the numbers' verdict.
QString statsHeadline(const StatsReport& report);

// The report as JSON (the members `mirkano-cli stats` prints).
QJsonObject statsJson(const StatsReport& report);

}  // namespace mirkano::stats
