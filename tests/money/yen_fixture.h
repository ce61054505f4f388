#pragma once
// A small Loto 6 history with hand-made prize data, and what the ticket
// 1 2 3 4 5 6 won on it, worked out by hand:
//   draw 1: all six                1等  200,000,000円
//   draw 2: five and the bonus 6   2等   12,345,600円
//   draw 3: three                  5等        1,000円
//   draw 4: five                   3等  nobody won 3等 (賞金 0): 不明
//   draw 5: four                   4等  no prize data: 不明
//   draw 6: nothing
// The figures cover draws 1, 2, 3, 4 and 6 (five tickets, 1,000円); won
// 212,346,600円. A random ticket's value at a draw is Σ P(class) × 賞金
// with the classes' outcomes 1, 6, 216, 9,990 and 155,400 of 6,096,454:
//   draw 1: 200,000,000 + 60,000,000 + 64,800,000 + 59,940,000 + 155,400,000 = 540,140,000
//   draw 2:           0 + 74,073,600 + 86,400,000 + 69,930,000 + 155,400,000 = 385,803,600
//   draw 3: 150,000,000 + 54,000,000 + 54,000,000 + 49,950,000 + 155,400,000 = 463,350,000
//   draw 4: 100,000,000 + 48,000,000 +          0 + 39,960,000 + 155,400,000 = 343,360,000
//   draw 6: 120,000,000 + 42,000,000 + 43,200,000 + 29,970,000 + 155,400,000 = 390,570,000
// together 2,123,223,600 / 6,096,454 = 348.27円.

#include "core/check/ticket_check.h"
#include "core/history/draw_prizes.h"
#include "support/fixtures.h"

namespace mirkano::test {

inline History yenHistory()
{
    return makeHistory({
        {1, {1, 2, 3, 4, 5, 6, 7}},
        {2, {1, 2, 3, 4, 5, 10, 6}},
        {3, {1, 2, 3, 10, 11, 12, 13}},
        {4, {1, 2, 3, 4, 5, 20, 21}},
        {5, {1, 2, 3, 4, 30, 31, 32}},
        {6, {20, 21, 22, 23, 24, 25, 26}},
    });
}

// 賞金 of 1等 … 5等 of a Loto 6 draw; 口数 1 where paid, 0 where not.
inline DrawPrizes loto6Prizes(int drawNo, std::array<Yen, 5> prizes)
{
    DrawPrizes p;
    p.drawNo = drawNo;
    for (std::size_t c = 0; c < prizes.size(); ++c) {
        p.prize[c] = prizes[c];
        p.winners[c] = prizes[c] > 0 ? 1 : 0;
    }
    return p;
}

inline PrizeTable yenPrizes()
{
    return {
        loto6Prizes(1, {200'000'000, 10'000'000, 300'000, 6'000, 1'000}),
        loto6Prizes(2, {0, 12'345'600, 400'000, 7'000, 1'000}),
        loto6Prizes(3, {150'000'000, 9'000'000, 250'000, 5'000, 1'000}),
        loto6Prizes(4, {100'000'000, 8'000'000, 0, 4'000, 1'000}),
        loto6Prizes(6, {120'000'000, 7'000'000, 200'000, 3'000, 1'000}),
    };
}

inline const Ticket kYenTicket{1, 2, 3, 4, 5, 6};
inline constexpr double kYenExpected = 2'123'223'600.0 / 6'096'454.0;

}  // namespace mirkano::test
