#pragma once
// Builders of the division analyses: the numbers 1 … pool cut into groups of
// consecutive numbers (see groups.h), and each draw read against those groups.

#include "core/sheet/sheet.h"
#include "core/history/history.h"
#include "core/history/startup_tables.h"

namespace mirkano {

// 5分割傾向分析: each draw's numbers coloured by their group (Loto 6: 1–9,
// 10–19, 20–29, 30–39, 40–43) and how many of them fall into each group.
Sheet buildFiveDivisionSheet(const History& history, const StartupTables& tables);

// How 分割データ分析 cuts 1 … pool: 6, 7 or 11 groups (Loto 6: 7, 6 or 4
// numbers, the last group taking the rest: 36–43, 37–43, 41–43).
enum class Grouping { Six = 6, Seven = 7, Eleven = 11 };

// 分割データ分析: every draw on a map of the pool's numbers, one mark per
// number, with each group that none of the draw's numbers falls into greyed.
Sheet buildDivisionSheet(const History& history, const StartupTables& tables, Grouping grouping);
// The three windows of it, one per grouping.
Sheet buildDivision6Sheet(const History& history, const StartupTables& tables);
Sheet buildDivision7Sheet(const History& history, const StartupTables& tables);
Sheet buildDivision11Sheet(const History& history, const StartupTables& tables);

}  // namespace mirkano
