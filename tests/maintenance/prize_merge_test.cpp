// The merge of prize data: fields known on one side are completed, fields
// that differ are conflicts settled like numbers, the 32-bit cap is replaced.
#include "core/maintenance/history_merge.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace mirkano;
using test::makeHistory;

namespace {

const std::optional<Yen> kUnknown;

DrawPrizes loto6Prizes(int drawNo, std::initializer_list<std::optional<Yen>> fields)
{
    const std::vector<std::optional<Yen>> v(fields);
    return prizesFromFields(drawNo, v, GameId::Loto6);
}

const History kRows = makeHistory({{1, {2, 8, 10, 13, 27, 30, 39}}, {2, {1, 9, 16, 20, 21, 43, 5}}});

}  // namespace

TEST(PrizeMerge, FieldsKnownOnOneSideAreCompletedAndTheCapIsReplaced)
{
    const PrizeTable mine = {
        // 2等口数 unknown, carry-over the 32-bit cap.
        loto6Prizes(1, {2, kUnknown, 262, 12413, 174452, 45513600, 40961900, 375200, 6900, 1000, kSuspectYen}),
    };
    const PrizeTable theirs = {
        // Sales known only here; their own cap never replaces a stored value.
        loto6Prizes(1, {2, 2, 262, 12413, 174452, 45513600, 40961900, 375200, 6900, 1000, 0, 1183183200}),
        loto6Prizes(2, {0, 7, kUnknown, kUnknown, kUnknown, 0, 13188800, kUnknown, kUnknown, kUnknown, kSuspectYen}),
    };
    const MergeResult r = mergeHistories(kRows, mine, kRows, theirs, MergePreference::Refuse, GameId::Loto6);
    EXPECT_FALSE(r.refused);
    EXPECT_EQ(r.rows, kRows);
    EXPECT_EQ(r.prizes, (PrizeTable{
                            loto6Prizes(1, {2, 2, 262, 12413, 174452, 45513600, 40961900, 375200, 6900, 1000, 0,
                                            1183183200}),
                            theirs[1],
                        }));
    EXPECT_EQ(r.prizeFieldsCompleted, 3 + 5);  // 2等口数, the cap, sales; draw 2's five fields
    EXPECT_EQ(r.prizeSuspectReplaced, 1);
    EXPECT_TRUE(r.prizeConflicts.empty());
    EXPECT_TRUE(r.changes(MergePreference::Refuse));
    EXPECT_EQ(mergeSummary(r, MergePreference::Refuse),
              QStringLiteral("追加 0回、同じ 2回、補完 0回、食い違い 0回。賞金データ：補完 8項目、食い違い 0項目"
                             "（2,147,483,647 だった 1項目を取り込み側の値に置き換えました）"));

    // The stored data hold everything the source gives: no change.
    const MergeResult again = mergeHistories(kRows, r.prizes, kRows, theirs, MergePreference::Refuse, GameId::Loto6);
    EXPECT_EQ(again.prizes, r.prizes);
    EXPECT_FALSE(again.changes(MergePreference::Refuse));
    // A source without prize data keeps the stored ones.
    const MergeResult none = mergeHistories(kRows, r.prizes, kRows, {}, MergePreference::Refuse, GameId::Loto6);
    EXPECT_EQ(none.prizes, r.prizes);
    EXPECT_FALSE(none.changes(MergePreference::Refuse));
}

TEST(PrizeMerge, FieldsThatDifferAreConflictsSettledAsAsked)
{
    const PrizeTable mine = {loto6Prizes(1, {2, 2, 262, 12413, 174452, 45513600, 40961900})};
    const PrizeTable theirs = {loto6Prizes(1, {2, 3, 262, 12413, 174452, 45513600, 40961800, 375200})};
    const struct {
        MergePreference preference;
        bool refused;
        std::optional<Yen> winners2, prize2;
        const char* summary;
    } cases[] = {
        {MergePreference::Refuse, true, {}, {}, "（食い違いがあるため何も書き込んでいません）"},
        {MergePreference::Mine, false, 2, 40961900, "（2項目は手元の値のままです）"},
        {MergePreference::Theirs, false, 3, 40961800, "（2項目を取り込み側の値に置き換えました）"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.preference));
        const MergeResult r = mergeHistories(kRows, mine, kRows, theirs, c.preference, GameId::Loto6);
        EXPECT_EQ(r.refused, c.refused);
        ASSERT_EQ(r.prizeConflicts.size(), 2u);
        EXPECT_EQ(r.prizeConflicts[0].field, QStringLiteral("2等口数"));
        EXPECT_EQ(r.prizeFieldsCompleted, 1);  // 3等賞金
        if (c.refused) {
            EXPECT_TRUE(r.rows.empty());
            EXPECT_TRUE(r.prizes.empty());
        } else {
            EXPECT_EQ(r.rows, kRows);
            ASSERT_EQ(r.prizes.size(), 1u);
            EXPECT_EQ(r.prizes[0].winners[1], c.winners2);
            EXPECT_EQ(r.prizes[0].prize[1], c.prize2);
            EXPECT_EQ(r.prizes[0].prize[2], 375200);
        }
        EXPECT_EQ(mergeSummary(r, c.preference),
                  QStringLiteral("追加 0回、同じ 2回、補完 0回、食い違い 0回。賞金データ：補完 1項目、食い違い 2項目")
                      + QString::fromUtf8(c.summary));
    }
    // The conflicts listed after the draws', in yen and tickets, within the limit.
    History otherRows = kRows;
    otherRows[1].numbers[6] = 6;
    const MergeResult r = mergeHistories(kRows, mine, otherRows, theirs, MergePreference::Refuse, GameId::Loto6);
    EXPECT_EQ(allConflictLines(r, 10), QStringLiteral("第2回　手元 1 9 16 20 21 43 + 5　取り込み 1 9 16 20 21 43 + 6\n"
                                                   "第1回　2等口数　手元 2口　取り込み 3口\n"
                                                   "第1回　2等賞金　手元 40,961,900円　取り込み 40,961,800円"));
    EXPECT_EQ(allConflictLines(r, 2), QStringLiteral("第2回　手元 1 9 16 20 21 43 + 5　取り込み 1 9 16 20 21 43 + 6\n"
                                                  "第1回　2等口数　手元 2口　取り込み 3口\n"
                                                  "ほか 1件"));
}

TEST(PrizeMerge, WithoutPrizeDataOnEitherSideTheMergeSaysNothingOfPrizes)
{
    History theirs = kRows;
    theirs.push_back(makeHistory({{3, {1, 5, 15, 31, 36, 38, 13}}}).front());
    const MergeResult plain = mergeHistories(kRows, theirs, MergePreference::Refuse);
    const MergeResult r = mergeHistories(kRows, {}, theirs, {}, MergePreference::Refuse, GameId::Loto6);
    EXPECT_FALSE(r.prizeData);
    EXPECT_EQ(r.rows, plain.rows);
    EXPECT_EQ(mergeSummary(r, MergePreference::Refuse), mergeSummary(plain, MergePreference::Refuse));
    EXPECT_EQ(mergeSummary(r, MergePreference::Refuse), QStringLiteral("追加 1回、同じ 2回、補完 0回、食い違い 0回"));
}
