#pragma once
// What a ticket was worth in each draw with prize data, and what it can be
// worth at the next one. Two figures per draw, both in yen per ticket:
// 払戻し (paid out), the draw's prizes over the tickets sold, and 無作為な1口
// の価値 (random), the value at the draw's prizes of a ticket whose numbers
// were picked at random, Σ P(class) × 賞金 with the exact odds of the game.
// Their ratio tells how popular the winning numbers were: above 1, fewer
// players had chosen them than chance would give.
//
// Tickets sold are 販売実績額 ÷ price where the sales are known; else they
// follow from the prize fund: what was paid out, less the carry-over received,
// plus the carry-over left, is the game's share of sales (45 %).

#include "core/history/draw_prizes.h"
#include "core/history/history.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace mirkano {

enum class TicketsFrom { Sales, Fund };

struct DrawValue {
    int drawNo = 0;
    double paidOut = 0;             // yen per ticket sold
    double random = 0;              // yen: a ticket of random numbers at the draw's prizes
    std::optional<double> ratio;    // random ÷ paidOut; none when nothing was paid
    std::int64_t tickets = 0;       // tickets sold
    TicketsFrom ticketsFrom = TicketsFrom::Sales;
    Yen paid = 0;                   // Σ 口数 × 賞金
    Yen carryIn = 0;                // the previous draw's キャリーオーバー (0 for the first draw)
    Yen carryOut = 0;               // this draw's キャリーオーバー
    bool operator==(const DrawValue&) const = default;
};

// The draw after the latest one whose carry-over is known.
struct NextDrawValue {
    int drawNo = 0;
    Yen carryIn = 0;                // the carry-over it receives
    std::int64_t tickets = 0;       // tickets assumed sold: the latest known draw's (0 without carry-over: not needed)
    Yen firstPrizeCap = 0;          // the 1等 cap that applies to it
    // The most a ticket can be worth at it when each class has as many
    // winners as chance gives: the fund share of the price plus the
    // carry-over per ticket, the carry-over's part bounded by what 1等 can
    // pay at its cap (P(1等) × cap).
    double ceiling = 0;
    bool reachesPrice = false;      // ceiling ≥ the price
};

struct ValueReport {
    GameId game = GameId::Loto6;
    int price = 0;
    std::vector<DrawValue> draws;   // ascending 回数
    int skipped = 0;                // draws of the history without the prize data these need
    double meanPaidOut = 0;         // over draws (0 without any)
    double meanRandom = 0;
    std::optional<NextDrawValue> next;
};

// The values of each draw of rows that has prize data in prizes: every
// class's 口数 and 賞金, and the sales or both carry-overs (a carry-over
// equal to kSuspectYen counts as unknown). Draws without them are counted in
// skipped.
ValueReport ticketValues(GameId game, const History& rows, const PrizeTable& prizes);

// Words for TicketsFrom: 販売実績額から, 賞金総額から.
const char* ticketsFromWord(TicketsFrom from);

}  // namespace mirkano
