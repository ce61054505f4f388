// The ticket check in yen: each win's prize or 不明, the totals over the
// draws with prize data beside a random ticket's, and the result without
// prize data as it always was.

#include "core/check/ticket_check.h"
#include "money/yen_fixture.h"

#include <gtest/gtest.h>

using namespace mirkano;
using namespace mirkano::test;

TEST(TicketCheckYen, EachWinHasItsPrizeAndTheTotalsCoverDrawsWithPrizes)
{
    const TicketCheck r = checkTicket(yenHistory(), kYenTicket, GameId::Loto6, yenPrizes());
    ASSERT_EQ(r.wins.size(), 5u);
    const std::pair<int, std::optional<Yen>> expected[] = {
        {5, std::nullopt}, {4, std::nullopt}, {3, 1'000}, {2, 12'345'600}, {1, 200'000'000}};
    for (std::size_t i = 0; i < r.wins.size(); ++i) {
        EXPECT_EQ(r.wins[i].draw.drawNo, expected[i].first);
        EXPECT_EQ(r.wins[i].prize, expected[i].second) << "draw " << expected[i].first;
    }
    ASSERT_TRUE(r.money);
    EXPECT_EQ(r.drawsChecked, 6);
    EXPECT_EQ(r.money->draws, 5);
    EXPECT_EQ(r.money->cost, 1'000);
    EXPECT_EQ(r.money->won, 212'346'600);
    EXPECT_NEAR(r.money->expected, kYenExpected, 1e-6);
    EXPECT_EQ(r.money->unpriced, std::vector<int>{5});
    EXPECT_EQ(r.money->unknownWins, 1);

    // The grid: 賞金 after 等級, 不明 where it is not known.
    const Sheet s = buildTicketCheckSheet(r);
    ASSERT_EQ(s.columns(), 11);
    EXPECT_EQ(s.text(11, 1), QStringLiteral("賞金"));
    QStringList column;
    for (int row = 2; row <= s.rows(); ++row)
        column << s.text(11, row);
    EXPECT_EQ(column, (QStringList{QStringLiteral("不明"), QStringLiteral("不明"), QStringLiteral("1,000円"),
                                   QStringLiteral("12,345,600円"), QStringLiteral("200,000,000円")}));

    const QStringList summary = ticketCheckSummary(r).split(u'\n');
    EXPECT_EQ(summary.first(), QStringLiteral("全6回中　1等 1回　2等 1回　3等 1回　4等 1回　5等 1回"));
    EXPECT_EQ(summary.mid(1), winningsLines(*r.money, QStringLiteral("この数字を各回1口")));
    EXPECT_TRUE(summary.join(u'\n').contains(QStringLiteral("賞金データのない1回は金額に含めていません：第5回")));
}

TEST(TicketCheckYen, WithoutPrizeDataTheResultIsAsBefore)
{
    const TicketCheck plain = checkTicket(yenHistory(), kYenTicket, GameId::Loto6);
    const TicketCheck empty = checkTicket(yenHistory(), kYenTicket, GameId::Loto6, PrizeTable{});
    for (const TicketCheck* r : {&plain, &empty}) {
        EXPECT_FALSE(r->money);
        EXPECT_EQ(buildTicketCheckSheet(*r).columns(), 10);
        EXPECT_FALSE(ticketCheckSummary(*r).contains(u'\n'));
        for (const TicketWin& w : r->wins)
            EXPECT_FALSE(w.prize);
    }
}
