#pragma once
// What the wheel window and its printout show besides the tickets: the
// chances of the set beside as many random tickets, and the whole set
// checked against the history with the ticket check. Each as a sheet.

#include "core/history/history.h"
#include "core/sheet/sheet.h"
#include "core/wheel/wheel_builder.h"
#include "core/wheel/wheel_chances.h"

#include <QStringList>

#include <vector>

namespace mirkano {

// The tickets, one row each: 番号 and the numbers, keys marked in colour.
Sheet buildWheelTicketSheet(const Wheel& wheel);

// Rows 1等 … and はずれ; columns この組合せ and 同じ枚数をランダムに購入, as percentages.
struct WheelOdds {
    std::vector<double> set;     // per class, then none
    std::vector<double> random;  // the same for as many random tickets
};
WheelOdds wheelOdds(const Wheel& wheel);
Sheet buildWheelOddsSheet(GameId game, const WheelOdds& odds);

// The set against every complete draw of the history: per class, the draws
// whose best ticket won that class, and the tickets' wins summed.
struct WheelHistoryCheck {
    std::vector<int> draws;    // index c − 1
    std::vector<int> tickets;  // index c − 1
    int drawsChecked = 0;
};
WheelHistoryCheck checkWheelAgainstHistory(const Wheel& wheel, const History& history);
Sheet buildWheelHistorySheet(GameId game, const WheelHistoryCheck& check);

// Lines above the tickets in the window and the printout: guarantee, count
// and cost, the lower bound, the exact design when one was used.
QStringList wheelSummaryLines(const Wheel& wheel);

// A chance as a percentage with enough digits for small ones ("0.0000123%").
QString percentText(double p);

}  // namespace mirkano
