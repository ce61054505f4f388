// The ticket check: prize classes against hand-made draws, the bonus rule of
// 2等, the order of the wins, the sheet and the refused tickets.

#include "core/check/ticket_check.h"
#include "predict/game_samples.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace mirkano;
using test::makeHistory;

namespace {

const Ticket kTicket = {1, 2, 3, 4, 5, 6};

// One draw for each outcome, oldest first.
History classHistory()
{
    return makeHistory({
        {1, {1, 2, 3, 4, 5, 6, 7}},        // 1等
        {2, {1, 2, 3, 4, 5, 10, 6}},       // 2等: five and the bonus
        {3, {1, 2, 3, 4, 5, 10, 11}},      // 3等
        {4, {10, 1, 2, 3, 4, 11, 5}},      // 4等: the bonus does not lift four matches
        {5, {1, 2, 3, 10, 11, 12, 13}},    // 5等
        {6, {1, 2, 10, 11, 12, 13, 3}},    // two and the bonus: nothing
        {7, {1, 2, 3, 4, 5, 6, 0}},        // incomplete: skipped
        {8, {1, 2, 3, 4, 5, 10, 5}},       // damaged row, bonus repeats a matched number: 3等
        {9, {20, 21, 22, 23, 24, 25, 26}}, // nothing
    });
}

struct Win {
    int draw, cls, matches, bonus;
    friend bool operator==(const Win&, const Win&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Win& w)
    {
        return os << "{" << w.draw << ", " << w.cls << "等, " << w.matches << ", " << w.bonus << "}";
    }
};

std::vector<Win> wins(const TicketCheck& r)
{
    std::vector<Win> out;
    for (const TicketWin& w : r.wins)
        out.push_back({w.draw.drawNo, w.prizeClass, w.matches, w.bonusMatches});
    return out;
}

}  // namespace

TEST(TicketCheck, EachPrizeClassNewestFirst)
{
    const TicketCheck r = checkTicket(classHistory(), kTicket);
    EXPECT_EQ(wins(r), (std::vector<Win>{{8, 3, 5, 0},
                                         {5, 5, 3, 0},
                                         {4, 4, 4, 1},
                                         {3, 3, 5, 0},
                                         {2, 2, 5, 1},
                                         {1, 1, 6, 0}}));
    EXPECT_EQ(r.counts, (std::vector<int>{0, 1, 1, 2, 1, 1}));
    EXPECT_EQ(r.drawsChecked, 8);
    EXPECT_EQ(ticketCheckSummary(r), QStringLiteral("全8回中　1等 1回　2等 1回　3等 2回　4等 1回　5等 1回"));
}

TEST(TicketCheck, NoWinAndEmptyHistory)
{
    const Ticket far = {37, 38, 39, 40, 41, 42};
    const TicketCheck none = checkTicket(classHistory(), far);
    EXPECT_TRUE(none.wins.empty());
    EXPECT_EQ(none.counts, (std::vector<int>(6, 0)));
    EXPECT_EQ(buildTicketCheckSheet(none).rows(), 1);  // the header alone

    const TicketCheck empty = checkTicket({}, kTicket);
    EXPECT_TRUE(empty.wins.empty());
    EXPECT_EQ(ticketCheckSummary(empty), QStringLiteral("全0回中　1等 0回　2等 0回　3等 0回　4等 0回　5等 0回"));
}

TEST(TicketCheck, TheLatestRealDrawWinsFirstPrize)
{
    const History h = test::sampleHistory();
    const DrawRecord& last = h.back();
    Ticket t(last.mains().begin(), last.mains().end());
    std::sort(t.begin(), t.end());
    const TicketCheck r = checkTicket(h, t);
    ASSERT_FALSE(r.wins.empty());
    EXPECT_EQ(r.wins.front().draw.drawNo, last.drawNo);
    EXPECT_EQ(r.wins.front().prizeClass, 1);
    int total = 0;
    for (int c = 1; c <= 5; ++c)
        total += r.count(c);
    EXPECT_EQ(total, int(r.wins.size()));
    for (std::size_t i = 1; i < r.wins.size(); ++i)
        EXPECT_GT(r.wins[i - 1].draw.drawNo, r.wins[i].draw.drawNo);
}

TEST(TicketCheck, SheetMarksTheMatches)
{
    const Sheet s = buildTicketCheckSheet(checkTicket(classHistory(), kTicket));
    ASSERT_EQ(s.rows(), 7);
    EXPECT_EQ(s.columns(), 10);
    EXPECT_EQ(s.frozenRows(), 1);
    EXPECT_EQ(test::rowTexts(s, 1, 8, 10), (QStringList{QStringLiteral("ボーナス数字"), QStringLiteral("一致"), QStringLiteral("等級")}));
    // Row 6 is draw 2 (2等): 1 2 3 4 5 10, bonus 6.
    EXPECT_EQ(test::rowTexts(s, 6, 1, 10),
              (QStringList{"2", "1", "2", "3", "4", "5", "10", "6", "5", QStringLiteral("2等")}));
    for (int c = 2; c <= 6; ++c)
        EXPECT_EQ(s.cell(c, 6).bg, kMatchedMain) << c;
    EXPECT_EQ(s.cell(7, 6).bg, colors::white);
    EXPECT_EQ(s.cell(8, 6).bg, kMatchedBonus);
    // Row 4 is draw 4: its bonus 5 is held and marked, yet four matches stay 4等.
    EXPECT_EQ(s.text(10, 4), QStringLiteral("4等"));
    EXPECT_EQ(s.cell(8, 4).bg, kMatchedBonus);
    // Row 2 is draw 8, whose bonus repeats a matched main number: not marked.
    EXPECT_EQ(s.cell(8, 2).bg, colors::white);
    EXPECT_EQ(s.cell(2, 4).bg, colors::white);  // 10 is not on the ticket
}

TEST(TicketCheck, ParsingAcceptsAnyOrderSpacesAndFullWidth)
{
    EXPECT_EQ(parseTicket(QStringLiteral("6,5,4,3,2,1")), kTicket);
    EXPECT_EQ(parseTicket(QStringLiteral(" 43, 1 ,20,7,9,12 ")), (Ticket{1, 7, 9, 12, 20, 43}));
    EXPECT_EQ(parseTicket(QStringLiteral("１，２，３，４，５，６")), kTicket);
    EXPECT_EQ(parseTicket(QStringList{" 2", "1", "3", "4", "5", "6 "}), kTicket);
}

TEST(TicketCheck, BadTicketsAreRefusedWithTheirCause)
{
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"", "数字を6個入力してください（入力された数字は0個です）。"},
        {"1,2,3,4,5", "数字を6個入力してください（入力された数字は5個です）。"},
        {"1,2,3,4,5,6,7", "数字を6個入力してください（入力された数字は7個です）。"},
        {"1,2,3,4,5,44", "6番目の数字 44 が 1～43 の範囲外です。"},
        {"0,1,2,3,4,5", "1番目の数字 0 が 1～43 の範囲外です。"},
        {"1,2,3,4,5,-6", "6番目の数字 -6 が 1～43 の範囲外です。"},
        {"1,2,3,3,5,6", "数字 3 が重複しています（3番目と4番目）。"},
        {"1,2,x,4,5,6", "3番目の「x」は数字ではありません。"},
        {"1,2,3.5,4,5,6", "3番目の「3.5」は数字ではありません。"},
        {"1,2,,4,5,6", "3番目の数字が入力されていません。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            parseTicket(QString::fromUtf8(c.text));
            ADD_FAILURE() << "accepted";
        } catch (const TicketError& e) {
            EXPECT_EQ(e.message(), QString::fromUtf8(c.message));
        }
    }
}

TEST(TicketCheck, PrizeClassesOfLoto7AndMiniLoto)
{
    // One draw each, against the ticket 1 … k: the main matches and the
    // bonuses held among the rest make the class (Loto 7: 2等 six and either
    // bonus, 6等 three and one or both; Mini Loto: 2等 four and the bonus).
    const struct {
        GameId game;
        std::array<int, kMaxNumbersPerDraw> draw;
        Win win;  // draw 1; class 0 for no win
    } cases[] = {
        {GameId::Loto7, {1, 2, 3, 4, 5, 6, 7, 8, 9}, {1, 1, 7, 0}},
        {GameId::Loto7, {1, 2, 3, 4, 5, 6, 10, 7, 11}, {1, 2, 6, 1}},
        {GameId::Loto7, {1, 2, 3, 4, 5, 6, 10, 11, 7}, {1, 2, 6, 1}},
        {GameId::Loto7, {1, 2, 3, 4, 5, 6, 10, 11, 12}, {1, 3, 6, 0}},
        {GameId::Loto7, {1, 2, 3, 4, 5, 10, 11, 6, 7}, {1, 4, 5, 2}},
        {GameId::Loto7, {1, 2, 3, 4, 10, 11, 12, 13, 14}, {1, 5, 4, 0}},
        {GameId::Loto7, {1, 2, 3, 10, 11, 12, 13, 14, 4}, {1, 6, 3, 1}},
        {GameId::Loto7, {1, 2, 3, 10, 11, 12, 13, 4, 5}, {1, 6, 3, 2}},
        {GameId::Loto7, {1, 2, 3, 10, 11, 12, 13, 14, 15}, {1, 0, 3, 0}},
        {GameId::Loto7, {1, 2, 10, 11, 12, 13, 14, 3, 4}, {1, 0, 2, 2}},
        {GameId::MiniLoto, {1, 2, 3, 4, 5, 6}, {1, 1, 5, 0}},
        {GameId::MiniLoto, {1, 2, 3, 4, 10, 5}, {1, 2, 4, 1}},
        {GameId::MiniLoto, {1, 2, 3, 4, 10, 11}, {1, 3, 4, 0}},
        {GameId::MiniLoto, {1, 2, 3, 10, 11, 4}, {1, 4, 3, 1}},
        {GameId::MiniLoto, {1, 2, 10, 11, 12, 3}, {1, 0, 2, 1}},
    };
    for (const auto& c : cases) {
        const Game& g = game(c.game);
        SCOPED_TRACE(g.cliName.toString().toStdString() + " draw " + std::to_string(c.draw[0]) + "…, class " +
                     std::to_string(c.win.cls));
        Ticket ticket;
        for (int n = 1; n <= g.mains; ++n)
            ticket.push_back(n);
        const History h{DrawRecord{1, c.draw, c.game}};
        const TicketCheck r = checkTicket(h, ticket, c.game);
        EXPECT_EQ(r.drawsChecked, 1);
        EXPECT_EQ(int(r.counts.size()), g.prizeClassCount() + 1);
        const DrawMatch m = matchDraw(h.front(), ticket);
        EXPECT_EQ(m.matches, c.win.matches);
        EXPECT_EQ(m.bonusMatches, c.win.bonus);
        if (c.win.cls == 0)
            EXPECT_TRUE(r.wins.empty());
        else
            EXPECT_EQ(wins(r), std::vector<Win>{c.win});
        // A Loto 6 check of the same rows finds no draw of its game.
        EXPECT_EQ(checkTicket(h, ticket).drawsChecked, 0);
    }
}

TEST(TicketCheck, Loto7SheetHasTwoBonusColumnsAndSixClasses)
{
    const History h = test::makeGameHistory(GameId::Loto7, {
        {1, {1, 2, 3, 10, 11, 12, 13, 14, 4}},  // 6等 with the second bonus
        {2, {1, 2, 3, 4, 5, 6, 10, 7, 11}},     // 2等 with the first bonus
        {3, {20, 21, 22, 23, 24, 25, 26, 27, 28}},
    });
    const TicketCheck r = checkTicket(h, parseTicket(QStringLiteral("7,6,5,4,3,2,1"), GameId::Loto7), GameId::Loto7);
    EXPECT_EQ(ticketCheckSummary(r), QStringLiteral("全3回中　1等 0回　2等 1回　3等 0回　4等 0回　5等 0回　6等 1回"));
    const Sheet s = buildTicketCheckSheet(r);
    ASSERT_EQ(s.rows(), 3);
    EXPECT_EQ(s.columns(), 12);
    EXPECT_EQ(test::rowTexts(s, 1, 9, 12), (QStringList{QStringLiteral("ボーナス数字1"), QStringLiteral("ボーナス数字2"),
                                                        QStringLiteral("一致"), QStringLiteral("等級")}));
    EXPECT_EQ(test::rowTexts(s, 2, 1, 12),
              (QStringList{"2", "1", "2", "3", "4", "5", "6", "10", "7", "11", "6", QStringLiteral("2等")}));
    EXPECT_EQ(s.cell(9, 2).bg, kMatchedBonus);
    EXPECT_EQ(s.cell(10, 2).bg, colors::white);
    EXPECT_EQ(s.cell(8, 2).bg, colors::white);
    EXPECT_EQ(test::rowTexts(s, 3, 9, 12), (QStringList{"14", "4", "3", QStringLiteral("6等")}));
    EXPECT_EQ(s.cell(9, 3).bg, colors::white);
    EXPECT_EQ(s.cell(10, 3).bg, kMatchedBonus);

    // Mini Loto: five main columns and one bonus column.
    TicketCheck mini;
    mini.gameId = GameId::MiniLoto;
    const Sheet m = buildTicketCheckSheet(mini);
    EXPECT_EQ(m.columns(), 9);
    EXPECT_EQ(test::rowTexts(m, 1, 7, 9), (QStringList{QStringLiteral("ボーナス数字"), QStringLiteral("一致"), QStringLiteral("等級")}));
    EXPECT_EQ(ticketCheckSummary(mini), QStringLiteral("全0回中　1等 0回　2等 0回　3等 0回　4等 0回"));
}

TEST(TicketCheck, EachGameAsksForItsCountAndRange)
{
    const struct {
        GameId game;
        const char* text;
        const char* message;  // empty: accepted
    } cases[] = {
        {GameId::Loto7, "7,6,5,4,3,2,1", ""},
        {GameId::Loto7, "37,1,2,3,4,5,6", ""},
        {GameId::Loto7, "1,2,3,4,5,6", "数字を7個入力してください（入力された数字は6個です）。"},
        {GameId::Loto7, "1,2,3,4,5,6,38", "7番目の数字 38 が 1～37 の範囲外です。"},
        {GameId::MiniLoto, "31,1,2,3,4", ""},
        {GameId::MiniLoto, "1,2,3,4,5,6", "数字を5個入力してください（入力された数字は6個です）。"},
        {GameId::MiniLoto, "1,2,3,4,32", "5番目の数字 32 が 1～31 の範囲外です。"},
        {GameId::MiniLoto, "", "数字を5個入力してください（入力された数字は0個です）。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            const Ticket t = parseTicket(QString::fromUtf8(c.text), c.game);
            EXPECT_STREQ(c.message, "");
            EXPECT_EQ(int(t.size()), game(c.game).mains);
            EXPECT_TRUE(std::is_sorted(t.begin(), t.end()));
        } catch (const TicketError& e) {
            EXPECT_EQ(e.message(), QString::fromUtf8(c.message));
        }
    }
}

TEST(TicketCheck, EveryGamesRealHistoryCountsItsDraws)
{
    // The latest draw's main numbers win 1等 there; the wins add up per class.
    for (const Game& g : games()) {
        SCOPED_TRACE(g.cliName.toString().toStdString());
        const History& h = test::gameSample(g.id);
        Ticket t(h.back().mains().begin(), h.back().mains().end());
        std::sort(t.begin(), t.end());
        const TicketCheck r = checkTicket(h, t, g.id);
        EXPECT_EQ(r.drawsChecked, int(h.size()));
        ASSERT_FALSE(r.wins.empty());
        EXPECT_EQ(r.wins.front().draw.drawNo, h.back().drawNo);
        EXPECT_EQ(r.wins.front().prizeClass, 1);
        int total = 0;
        for (int c = 1; c <= g.prizeClassCount(); ++c)
            total += r.count(c);
        EXPECT_EQ(total, int(r.wins.size()));
    }
}
