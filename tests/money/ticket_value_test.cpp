// The value of a ticket per draw and the next draw's ceiling, on draws
// computed by hand, and the game's money rules.

#include "core/game/prize_rules.h"
#include "core/money/ticket_value.h"

#include "support/fixtures.h"

#include "support/prize_samples.h"

#include <gtest/gtest.h>

namespace mirkano {
namespace {

using test::loto6Draw;

History loto6Rows(int from, int to)
{
    History h;
    for (int no = from; no <= to; ++no)
        h.push_back(DrawRecord{no, {1, 2, 3, 4, 5, 6, 7}});
    return h;
}

// Loto 6 outcomes per class over C(43,6) = 6,096,454 tickets: 1, 6, 216,
// 9,990 and 155,400 win 1等 … 5等.
double loto6Random(std::array<Yen, 5> prize)
{
    const double counts[] = {1, 6, 216, 9990, 155400};
    double sum = 0;
    for (std::size_t c = 0; c < 5; ++c)
        sum += counts[c] * double(prize[c]);
    return sum / 6096454.0;
}

// Draw 1 with known sales; draw 2 with tickets from the fund, leaving a
// carry-over; draw 3 receives it.
const PrizeTable kHandMade = {
    loto6Draw(1, {1, 2, 100, 5000, 80000}, {100000000, 10000000, 500000, 9000, 1000}, 0, 1000000000),
    loto6Draw(2, {0, 3, 150, 6000, 90000}, {0, 8000000, 400000, 8000, 1000}, 150000000),
    loto6Draw(3, {1, 2, 100, 5000, 85000}, {300000000, 9000000, 450000, 8500, 1000}, 0),
};

TEST(TicketValue, HandMadeDrawsBothTicketDerivations)
{
    const ValueReport r = ticketValues(GameId::Loto6, loto6Rows(1, 4), kHandMade);
    ASSERT_EQ(r.draws.size(), 3u);
    EXPECT_EQ(r.skipped, 1);  // draw 4 has no prize data
    EXPECT_EQ(r.price, 200);

    // Draw 1: 1,000,000,000円 ÷ 200円 = 5,000,000 tickets; paid 295,000,000円.
    const DrawValue& d1 = r.draws[0];
    EXPECT_EQ(d1.ticketsFrom, TicketsFrom::Sales);
    EXPECT_EQ(d1.tickets, 5000000);
    EXPECT_EQ(d1.paid, 295000000);
    EXPECT_DOUBLE_EQ(d1.paidOut, 59.0);
    EXPECT_NEAR(d1.random, 513310000.0 / 6096454.0, 1e-9);  // 84.199円
    EXPECT_NEAR(*d1.ratio, d1.random / 59.0, 1e-12);

    // Draw 2: paid 222,000,000 − 0 received + 150,000,000 left = 45 % of
    // sales: 826,666,667円, 4,133,333 tickets.
    const DrawValue& d2 = r.draws[1];
    EXPECT_EQ(d2.ticketsFrom, TicketsFrom::Fund);
    EXPECT_EQ(d2.paid, 222000000);
    EXPECT_EQ(d2.tickets, 4133333);
    EXPECT_EQ(d2.carryIn, 0);
    EXPECT_EQ(d2.carryOut, 150000000);
    EXPECT_NEAR(d2.paidOut, 222000000.0 / 4133333.0, 1e-9);
    EXPECT_NEAR(d2.random, loto6Random({0, 8000000, 400000, 8000, 1000}), 1e-9);

    // Draw 3: paid 490,500,000 − 150,000,000 received = 340,500,000 →
    // 3,783,333 tickets.
    const DrawValue& d3 = r.draws[2];
    EXPECT_EQ(d3.carryIn, 150000000);
    EXPECT_EQ(d3.tickets, 3783333);
    EXPECT_NEAR(d3.random, loto6Random({300000000, 9000000, 450000, 8500, 1000}), 1e-9);

    EXPECT_NEAR(r.meanRandom, (d1.random + d2.random + d3.random) / 3, 1e-9);
    EXPECT_NEAR(r.meanPaidOut, (d1.paidOut + d2.paidOut + d3.paidOut) / 3, 1e-9);

    // The next draw after draw 3 receives nothing: 45 % of the price.
    ASSERT_TRUE(r.next);
    EXPECT_EQ(r.next->drawNo, 4);
    EXPECT_EQ(r.next->carryIn, 0);
    EXPECT_DOUBLE_EQ(r.next->ceiling, 90.0);
    EXPECT_FALSE(r.next->reachesPrice);
}

TEST(TicketValue, NextDrawCeilingBoundedByFirstPrizeCap)
{
    // After draw 2 (150,000,000円 carried, 4,133,333 tickets): 90 + 36.29円.
    PrizeTable two(kHandMade.begin(), kHandMade.begin() + 2);
    ValueReport r = ticketValues(GameId::Loto6, loto6Rows(1, 2), two);
    ASSERT_TRUE(r.next);
    EXPECT_EQ(r.next->carryIn, 150000000);
    EXPECT_EQ(r.next->tickets, 4133333);
    EXPECT_EQ(r.next->firstPrizeCap, 400000000);
    EXPECT_NEAR(r.next->ceiling, 90.0 + 150000000.0 / 4133333.0, 1e-9);

    // A carry-over far above what 1等 can pay: the cap bounds it
    // (4億円 ÷ 6,096,454).
    two[1].carryOver = 10000000000;
    r = ticketValues(GameId::Loto6, loto6Rows(1, 2), two);
    ASSERT_TRUE(r.next);
    EXPECT_NEAR(r.next->ceiling, 90.0 + 400000000.0 / 6096454.0, 1e-9);
    EXPECT_FALSE(r.next->reachesPrice);
}

TEST(TicketValue, IncompleteOrSuspectDataSkipped)
{
    PrizeTable p = kHandMade;
    // Draw 2's carry-over is the 32-bit overflow value: no amount. Draw 2
    // (no sales) and draw 3 (its carry-in unknown) cannot be told.
    p[1].carryOver = kSuspectYen;
    ValueReport r = ticketValues(GameId::Loto6, loto6Rows(1, 3), p);
    ASSERT_EQ(r.draws.size(), 1u);
    EXPECT_EQ(r.draws[0].drawNo, 1);
    EXPECT_EQ(r.skipped, 2);
    // The next draw's carry-in is the latest known one: after draw 3.
    ASSERT_TRUE(r.next);
    EXPECT_EQ(r.next->drawNo, 4);

    // A class without its 口数: the draw is incomplete.
    p = kHandMade;
    p[0].winners[4].reset();
    r = ticketValues(GameId::Loto6, loto6Rows(1, 1), p);
    EXPECT_TRUE(r.draws.empty());
    EXPECT_EQ(r.skipped, 1);

    // Amounts past 64 bits (a corrupt source) are no prize data, not a wrapped total.
    p = kHandMade;
    p[0].winners[0] = std::int64_t(1) << 40;
    p[0].prize[0] = Yen(1) << 40;
    r = ticketValues(GameId::Loto6, loto6Rows(1, 1), p);
    EXPECT_TRUE(r.draws.empty());

    // No prize data at all: nothing, no next draw.
    r = ticketValues(GameId::Loto6, loto6Rows(1, 3), {});
    EXPECT_TRUE(r.draws.empty());
    EXPECT_EQ(r.skipped, 3);
    EXPECT_FALSE(r.next);
    EXPECT_EQ(r.meanRandom, 0.0);
}

TEST(TicketValue, MiniLotoWithoutCarryOver)
{
    // Mini Loto keeps no carry-over: the fund is what was paid, 45 % of
    // sales. Odds over C(31,5) = 169,911: 1, 5, 125, 3,250 tickets win.
    DrawPrizes p;
    p.drawNo = 7;
    const std::int64_t winners[] = {2, 10, 400, 12000};
    const Yen prize[] = {10000000, 200000, 10000, 1000};
    for (std::size_t c = 0; c < 4; ++c) {
        p.winners[c] = winners[c];
        p.prize[c] = prize[c];
    }
    History rows{DrawRecord{7, {1, 2, 3, 4, 5, 6}, GameId::MiniLoto}};
    const ValueReport r = ticketValues(GameId::MiniLoto, rows, {p});
    ASSERT_EQ(r.draws.size(), 1u);
    const Yen paid = 20000000 + 2000000 + 4000000 + 12000000;
    EXPECT_EQ(r.draws[0].paid, paid);
    EXPECT_EQ(r.draws[0].tickets, std::llround(double(paid) / 0.45 / 200));
    EXPECT_NEAR(r.draws[0].random, (10000000.0 + 5 * 200000.0 + 125 * 10000.0 + 3250 * 1000.0) / 169911.0, 1e-9);
    ASSERT_TRUE(r.next);
    EXPECT_EQ(r.next->carryIn, 0);
    EXPECT_DOUBLE_EQ(r.next->ceiling, 90.0);
}

TEST(PrizeRules, CapsFixedClassesAndFundShare)
{
    struct Case {
        GameId game;
        int draw;
        std::int64_t cap;
        std::int64_t capCarryOver;
    };
    const Case cases[] = {
        {GameId::Loto6, 1, 200000000, 400000000},     {GameId::Loto6, 1144, 200000000, 400000000},
        {GameId::Loto6, 1145, 200000000, 600000000},  {GameId::Loto6, 2138, 200000000, 600000000},
        {GameId::Loto7, 187, 400000000, 800000000},   {GameId::Loto7, 188, 600000000, 1000000000},
        {GameId::Loto7, 611, 600000000, 1200000000},  {GameId::MiniLoto, 1400, 40000000, 40000000},
    };
    for (const Case& c : cases) {
        const FirstPrizeCap& cap = firstPrizeCap(c.game, c.draw);
        EXPECT_EQ(cap.cap, c.cap) << int(c.game) << " draw " << c.draw;
        EXPECT_EQ(cap.capCarryOver, c.capCarryOver) << int(c.game) << " draw " << c.draw;
    }
    EXPECT_EQ(fixedPrize(GameId::Loto6, 5), 1000);
    EXPECT_EQ(fixedPrize(GameId::Loto6, 4), std::nullopt);
    EXPECT_EQ(fixedPrize(GameId::Loto7, 6), std::nullopt);
    EXPECT_EQ(fixedPrize(GameId::MiniLoto, 4), std::nullopt);
    for (const Game& g : games())
        EXPECT_EQ(prizeRules(g.id).fundPercent, 45);
}

}  // namespace
}  // namespace mirkano
