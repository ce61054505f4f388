// A random ticket's value at a draw's prizes, and the money of tickets over
// draws with and without prize data.

#include "core/money/random_ticket.h"
#include "core/money/winnings.h"
#include "money/yen_fixture.h"

#include <gtest/gtest.h>

using namespace mirkano;
using namespace mirkano::test;

TEST(RandomTicketValue, SumsEachClassChanceTimesItsPrize)
{
    // Loto 6 draw 2054 as published: 1等 600,000,000, 2等 91,661,400,
    // 3等 414,100, 4等 8,500, 5等 1,000: (600,000,000 + 6 × 91,661,400 +
    // 216 × 414,100 + 9,990 × 8,500 + 155,400 × 1,000) / 6,096,454.
    const DrawPrizes d2054 = loto6Prizes(2054, {600'000'000, 91'661'400, 414'100, 8'500, 1'000});
    EXPECT_NEAR(*randomTicketValue(game(GameId::Loto6), d2054), 1'479'729'000.0 / 6'096'454.0, 1e-9);

    // Mini Loto reads its four classes only: 1 + 5 + 125 + 3,250 of 169,911.
    DrawPrizes mini;
    mini.prize = {10'000'000, 150'000, 10'000, 1'000, 999'999'999, std::nullopt};
    EXPECT_NEAR(*randomTicketValue(game(GameId::MiniLoto), mini),
                (10'000'000.0 + 5 * 150'000.0 + 125 * 10'000.0 + 3'250 * 1'000.0) / 169'911.0, 1e-9);

    // One class's 賞金 unknown: no value.
    DrawPrizes partial = d2054;
    partial.prize[4].reset();
    EXPECT_FALSE(randomTicketValue(game(GameId::Loto6), partial));
}

TEST(WinningsTally, CountsOnlyDrawsWithPrizesAndNamesTheOthers)
{
    const PrizeTable prizes = yenPrizes();
    WinningsTally tally(GameId::Loto6, prizes);
    // The ticket's classes at draws 1 … 6 of the fixture.
    EXPECT_EQ(tally.add(1, 1), 200'000'000);
    EXPECT_EQ(tally.add(2, 2), 12'345'600);
    EXPECT_EQ(tally.add(3, 5), 1'000);
    EXPECT_EQ(tally.add(4, 3), std::nullopt);  // nobody won 3等
    EXPECT_EQ(tally.add(5, 4), std::nullopt);  // no prize data
    EXPECT_EQ(tally.add(6, 0), std::nullopt);
    // Draws 7 and 9 without data, 8 too, and 5 again (a repeated 回数).
    tally.add(9, 0);
    tally.add(7, 0);
    tally.add(8, 4);
    tally.add(5, 0);

    const Winnings w = tally.result();
    EXPECT_EQ(w.draws, 5);
    EXPECT_EQ(w.cost, 1'000);
    EXPECT_EQ(w.won, 212'346'600);
    EXPECT_NEAR(w.expected, kYenExpected, 1e-6);
    EXPECT_EQ(w.unknownWins, 1);
    EXPECT_EQ(w.unpriced, (std::vector<int>{5, 7, 8, 9}));
    EXPECT_NEAR(*w.returnRate(), 212'346.6, 1e-6);
    EXPECT_NEAR(*w.expectedRate(), kYenExpected / 1'000, 1e-9);

    const QStringList lines = winningsLines(w, QStringLiteral("この数字を各回1口"));
    EXPECT_EQ(lines, (QStringList{
                         QStringLiteral("金額（賞金データのある5回、この数字を各回1口）：購入額 1,000円　"
                                        "当選金 212,346,600円（還元率 21234660.0％）"),
                         QStringLiteral("　同じ回に無作為な数字を1口ずつ買った場合の期待値 348円（還元率 34.8％）"),
                         QStringLiteral("　賞金データのない4回は金額に含めていません：第5回、第7回～第9回"),
                         QStringLiteral("　該当者のいなかった等級での当選1回は、賞金が決まらないため当選金に含めていません"),
                     }));
}

TEST(WinningsTally, NoDrawWithPrizesHasNoRates)
{
    const PrizeTable prizes = yenPrizes();
    WinningsTally tally(GameId::Loto6, prizes);
    tally.add(5, 4);
    const Winnings w = tally.result();
    EXPECT_EQ(w.draws, 0);
    EXPECT_EQ(w.cost, 0);
    EXPECT_FALSE(w.returnRate());
    EXPECT_EQ(winningsLines(w, QString()).first(),
              QStringLiteral("金額：賞金データのある回がないため、金額では比べられません"));
}

TEST(MoneyText, YenAndDrawLists)
{
    EXPECT_EQ(yenText(0), QStringLiteral("0円"));
    EXPECT_EQ(yenText(999), QStringLiteral("999円"));
    EXPECT_EQ(yenText(1'000), QStringLiteral("1,000円"));
    EXPECT_EQ(yenText(4'000'000'000LL), QStringLiteral("4,000,000,000円"));
    EXPECT_EQ(drawListText({}), QString());
    EXPECT_EQ(drawListText({5}), QStringLiteral("第5回"));
    EXPECT_EQ(drawListText({1354, 1355, 1356, 1400}), QStringLiteral("第1354回～第1356回、第1400回"));
    // Past eight runs the rest are counted.
    EXPECT_EQ(drawListText({1, 3, 5, 7, 9, 11, 13, 15, 17, 18, 19, 30}),
              QStringLiteral("第1回、第3回、第5回、第7回、第9回、第11回、第13回、第15回ほか4回"));
}
