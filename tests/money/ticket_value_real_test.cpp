// Ticket values on the real prize data bundled with the project: tickets
// derived from the prize fund against the known Loto 6 sales, draw 2054,
// and the averages over each game's history.

#include "core/history/history_csv.h"
#include "core/money/ticket_value.h"

#include "support/fixtures.h"
#include "support/prize_samples.h"

#include <gtest/gtest.h>

#include <cmath>

namespace mirkano {
namespace {

using test::samplePrizesCsvPath;

struct RealData {
    History rows;
    PrizeTable prizes;
};

// The draws and prize data of the public layout, read as an import reads them.
RealData readPrizesCsv(GameId game)
{
    CsvHistory csv = readGameHistoryCsv(samplePrizesCsvPath(game), game);
    return {std::move(csv.rows), std::move(csv.prizes)};
}

TEST(TicketValueReal, FundDerivedTicketsMatchKnownLoto6Sales)
{
    RealData d = readPrizesCsv(GameId::Loto6);
    ASSERT_FALSE(d.prizes.empty()) << samplePrizesCsvPath(GameId::Loto6).toStdString();
    const ValueReport withSales = ticketValues(GameId::Loto6, d.rows, d.prizes);

    // The same draws with their sales taken away: tickets from the fund.
    PrizeTable withoutSales = d.prizes;
    for (DrawPrizes& p : withoutSales)
        p.sales.reset();
    const ValueReport fromFund = ticketValues(GameId::Loto6, d.rows, withoutSales);
    ASSERT_EQ(fromFund.draws.size(), withSales.draws.size());

    int compared = 0;
    double worst = 0;
    for (std::size_t i = 0; i < withSales.draws.size(); ++i) {
        const DrawValue& known = withSales.draws[i];
        if (known.ticketsFrom != TicketsFrom::Sales)
            continue;
        ++compared;
        const DrawValue& derived = fromFund.draws[i];
        EXPECT_EQ(derived.ticketsFrom, TicketsFrom::Fund);
        worst = std::max(worst, std::abs(double(derived.tickets) / double(known.tickets) - 1));
    }
    EXPECT_EQ(compared, 1197);
    // Prizes are paid rounded down to 100円, so the fund is 44.86–45.00 %
    // of sales: the derived tickets are at most 0.31 % low.
    EXPECT_LT(worst, 0.0031);
    EXPECT_GT(worst, 0.002);  // the bound is tight: the comparison really ran on the rounded draws
}

TEST(TicketValueReal, Loto6Draw2054AndHistoryAverages)
{
    const RealData d = readPrizesCsv(GameId::Loto6);
    ASSERT_FALSE(d.prizes.empty());
    const ValueReport r = ticketValues(GameId::Loto6, d.rows, d.prizes);
    // Draws 1 … 2133 have prize data; 2134 … 2137 not yet.
    EXPECT_EQ(r.draws.size(), 2133u);
    EXPECT_EQ(r.skipped, 4);

    const auto it = std::find_if(r.draws.begin(), r.draws.end(), [](const DrawValue& v) { return v.drawNo == 2054; });
    ASSERT_NE(it, r.draws.end());
    // One 1等 (6億円) and one 2等 winner: a random ticket was worth 242.7円
    // against the 200円 price; the draw paid out 123.0円 a ticket.
    EXPECT_NEAR(it->random, 242.72, 0.01);
    EXPECT_NEAR(it->paidOut, 122.99, 0.01);
    EXPECT_EQ(it->ticketsFrom, TicketsFrom::Fund);
    EXPECT_NEAR(*it->ratio, 1.973, 0.001);

    // Over the history: 0.488 of the price at random against 0.444 paid out.
    EXPECT_NEAR(r.meanRandom / r.price, 0.488, 0.001);
    EXPECT_NEAR(r.meanPaidOut / r.price, 0.444, 0.001);
    ASSERT_TRUE(r.next);
    EXPECT_EQ(r.next->drawNo, 2134);
    EXPECT_FALSE(r.next->reachesPrice);
}

TEST(TicketValueReal, OtherGamesHistories)
{
    // Loto 7's 1等 is often not won: those draws give a random ticket
    // nothing there, and it averages below what was paid out (which includes
    // the carry-overs paid). Mini Loto has no carry-over: it pays 45 %.
    struct Case {
        GameId game;
        std::size_t draws;
        double random;
        double paidOut;
    };
    for (const Case& c : {Case{GameId::Loto7, 691, 0.385, 0.436}, Case{GameId::MiniLoto, 1353, 0.535, 0.450}}) {
        const RealData d = readPrizesCsv(c.game);
        ASSERT_FALSE(d.prizes.empty()) << samplePrizesCsvPath(c.game).toStdString();
        const ValueReport r = ticketValues(c.game, d.rows, d.prizes);
        EXPECT_EQ(r.draws.size(), c.draws);
        EXPECT_TRUE(std::all_of(r.draws.begin(), r.draws.end(),
                                [](const DrawValue& v) { return v.ticketsFrom == TicketsFrom::Fund; }));
        EXPECT_NEAR(r.meanRandom / r.price, c.random, 0.001);
        EXPECT_NEAR(r.meanPaidOut / r.price, c.paidOut, 0.001);
        ASSERT_TRUE(r.next);
        EXPECT_EQ(r.next->drawNo, int(c.draws) + 1);
        EXPECT_FALSE(r.next->reachesPrice);
    }
}

}  // namespace
}  // namespace mirkano
