#pragma once
// Builders of the interval and movement analyses: each draw set against earlier draws.

#include "core/sheet/sheet.h"
#include "core/history/history.h"
#include "core/history/startup_tables.h"

namespace mirkano {

// 出現間隔分析: how many draws ago each number of a draw last came up.
Sheet buildAppearanceIntervalSheet(const History& history, const StartupTables& tables);
// 数字間隔分析: each position's difference from the previous complete draw.
Sheet buildNumberIntervalSheet(const History& history, const StartupTables& tables);
// バラツキ分析: a scatter chart of every draw's numbers.
Sheet buildDispersionSheet(const History& history, const StartupTables& tables);
// 引っ張り分析: numbers carried over from the previous complete draw.
Sheet buildPullSheet(const History& history, const StartupTables& tables);

}  // namespace mirkano
