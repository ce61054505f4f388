#pragma once
// Every test of a game's history in one report, as the statistics window and
// `mirkano-cli stats` show it: the numbers (uniformity, each number), the sum,
// odd/even, low/high and consecutive pairs of the mains against their exact
// laws, and the prediction's record from the prediction test against random
// picks of the same sizes.

#include "core/backtest/backtest.h"
#include "core/game/game.h"
#include "core/history/history.h"
#include "core/predict/reflect_options.h"
#include "core/sheet/sheet.h"
#include "core/stats/history_stats.h"

#include <QJsonObject>

namespace mirkano::stats {

struct StatsReport {
    GameId game = GameId::Loto6;
    ReflectFlags flags;
    HistoryStats history;            // over the complete draws
    BacktestResult backtest;         // the prediction test behind the record
    int testedDraws = 0;             // draws of the prediction test
    PredictionRecordTest single;     // the single prediction's record
    PredictionRecordTest multiple;   // the multiple prediction's record
};

// The draw shape of a game.
DrawShape drawShape(const Game& game);

// The report for the complete draws of the history; the prediction test runs
// with these options from its default first draw.
StatsReport statsReport(const History& history, GameId game, const ReflectFlags& flags);

// The window's sheet: one row per test (statistic, degrees of freedom or
// expectation, p-value, the verdict in words), then one row per number.
Sheet buildStatsSheet(const StatsReport& report);
// The numbers marked significant, in words ("有意に偏った数字はありません" when none).
QString numbersVerdict(const StatsReport& report);

// The report as JSON (the members `mirkano-cli stats` prints).
QJsonObject statsJson(const StatsReport& report);

}  // namespace mirkano::stats
