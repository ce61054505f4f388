#pragma once
// Builders of the combination and digit analyses: properties of the numbers
// within one draw, and the last digits of the numbers.

#include "core/sheet/sheet.h"
#include "core/history/history.h"
#include "core/history/startup_tables.h"

namespace mirkano {

// 連番・飛び石分析: neighbouring main numbers one apart (consecutive) or two
// apart (stepping stones).
Sheet buildConsecutiveSheet(const History& history, const StartupTables& tables);
// 数字合計分析: the sum of the main numbers and of all the draw's numbers.
Sheet buildNumberSumSheet(const History& history, const StartupTables& tables);
// 低数字・高数字の組合せパターン分析: low (1 to ⌊pool / 2⌋; Loto 6: 1 to 21)
// against high main numbers.
Sheet buildLowHighSheet(const History& history, const StartupTables& tables);
// 偶数・奇数の組合せパターン分析: even against odd main numbers.
Sheet buildEvenOddSheet(const History& history, const StartupTables& tables);
// 下一桁出現傾向分析: how many numbers of each draw end in each digit.
Sheet buildLastDigitSheet(const History& history, const StartupTables& tables);
// 下一桁連続出現回数分析: in how many draws in a row each last digit came up.
Sheet buildLastDigitRunSheet(const History& history, const StartupTables& tables);

}  // namespace mirkano
