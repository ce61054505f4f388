#pragma once
// The chart of the window 期待値: over the draws, the value of a ticket of
// random numbers and what each draw paid out per ticket (thin lines), their
// moving means (thick lines), the price (a dashed line) and the draws that
// received a carry-over (a band along the foot). Long histories are thinned
// to what a chart's width can show: each of kChartColumns columns of draws
// keeps its lowest and highest value, so every peak is still drawn.

#include "core/money/ticket_value.h"

class QChart;

namespace mirkano {

// The moving means run over this many draws.
inline constexpr int kMeanDraws = 50;
// Columns of draws a chart shows at most (about its width in pixels).
inline constexpr int kChartColumns = 400;

// A new chart of the report's draws (at least one); the caller owns it.
// Series in order: random, paid out, price, random mean, paid-out mean,
// and the carry-over band (a QAreaSeries) when any draw received one.
QChart* makeValueChart(const ValueReport& report);

}  // namespace mirkano
