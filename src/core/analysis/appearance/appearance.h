#pragma once
// Builders of the appearance analyses: how often each number has come up.

#include "core/sheet/sheet.h"
#include "core/history/history.h"
#include "core/history/startup_tables.h"

namespace mirkano {

// 出現頻度分析: one strip of marks per number, one mark per appearance.
Sheet buildFrequencySheet(const History& history, const StartupTables& tables);
// 回数別頻度分析: the numbers grouped by their appearance count.
Sheet buildCountGroupsSheet(const History& history, const StartupTables& tables);
// 出現回数分析: each draw with the earlier appearances of its numbers.
Sheet buildAppearanceCountSheet(const History& history, const StartupTables& tables);

}  // namespace mirkano
