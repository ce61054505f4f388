#include "core/maintenance/history_merge.h"
#include "core/maintenance/history_source.h"
#include "core/maintenance/history_update.h"
#include "core/history/history_csv.h"
#include "maintenance_support.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

#include <algorithm>

using namespace mirkano;
using test::makeHistory;

TEST(HistoryMerge, TheRealHistoryCutShortGainsTheMissingDraws)
{
    const History full = test::sampleHistory();
    const History cut(full.begin(), full.begin() + 2000);
    const MergeResult r = mergeHistories(cut, full, MergePreference::Refuse);
    EXPECT_EQ(r.rows, full);
    EXPECT_EQ(r.added, 137);
    EXPECT_EQ(r.same, 2000);
    EXPECT_TRUE(r.conflicts.empty());
    EXPECT_TRUE(r.changes(MergePreference::Refuse));
    // Merged the other way round nothing is lost and nothing changes.
    const MergeResult back = mergeHistories(full, cut, MergePreference::Refuse);
    EXPECT_EQ(back.rows, full);
    EXPECT_EQ(back.onlyMine, 137);
    EXPECT_FALSE(back.changes(MergePreference::Refuse));
}

TEST(HistoryMerge, ConflictsAreListedAndSettledAsAsked)
{
    const History mine = makeHistory({
        {1, {2, 8, 10, 13, 27, 30, 39}},  // same
        {2, {1, 9, 16, 20, 21, 43, 0}},   // the source completes the bonus
        {3, {1, 2, 3, 4, 5, 6, 7}},       // conflict
        {5, {11, 12, 13, 14, 15, 16, 17}},  // only stored
        {6, {1, 2, 3, 4, 5, 6, 0}},       // the source gives less: stays
    });
    const History theirs = makeHistory({
        {1, {2, 8, 10, 13, 27, 30, 39}},
        {2, {1, 9, 16, 20, 21, 43, 5}},
        {3, {1, 2, 3, 4, 5, 8, 7}},
        {4, {21, 22, 23, 24, 25, 26, 27}},  // added
        {6, {1, 2, 3, 0, 0, 0, 0}},
    });
    struct Case {
        MergePreference preference;
        int draw3Sixth;  // 第6数字 of draw 3 in the result; 0: refused
    };
    for (const Case c : {Case{MergePreference::Refuse, 0}, Case{MergePreference::Mine, 6},
                         Case{MergePreference::Theirs, 8}}) {
        SCOPED_TRACE(int(c.preference));
        const MergeResult r = mergeHistories(mine, theirs, c.preference);
        EXPECT_EQ(r.added, 1);
        EXPECT_EQ(r.same, 2);
        EXPECT_EQ(r.completed, 1);
        EXPECT_EQ(r.onlyMine, 1);
        ASSERT_EQ(r.conflicts.size(), 1u);
        EXPECT_EQ(r.conflicts[0].mine, mine[2]);
        EXPECT_EQ(r.conflicts[0].theirs, theirs[2]);
        EXPECT_EQ(r.refused, c.draw3Sixth == 0);
        if (c.draw3Sixth == 0) {
            EXPECT_TRUE(r.rows.empty());
            continue;
        }
        ASSERT_EQ(r.rows.size(), 6u);
        EXPECT_EQ(r.rows[1], theirs[1]);
        EXPECT_EQ(r.rows[2].main(5), c.draw3Sixth);
        EXPECT_EQ(r.rows[3], theirs[3]);
        EXPECT_EQ(r.rows[4], mine[3]);
        EXPECT_EQ(r.rows[5], mine[4]);
    }
    const MergeResult r = mergeHistories(mine, theirs, MergePreference::Mine);
    EXPECT_EQ(conflictLines(r.conflicts, 5), QStringLiteral("第3回　手元 1 2 3 4 5 6 + 7　取り込み 1 2 3 4 5 8 + 7"));
    EXPECT_EQ(mergeSummary(r, MergePreference::Mine),
              QStringLiteral("追加 1回、同じ 2回、補完 1回、食い違い 1回（1回は手元の数字のままです）、"
                             "手元だけにある回 1回はそのままです"));
    EXPECT_EQ(mergeSummary(mergeHistories(mine, theirs, MergePreference::Refuse), MergePreference::Refuse),
              QStringLiteral("追加 1回、同じ 2回、補完 1回、食い違い 1回（食い違いがあるため何も書き込んでいません）、"
                             "手元だけにある回 1回はそのままです"));
    // A long list is cut with a count of the rest.
    std::vector<MergeConflict> many(7, r.conflicts[0]);
    EXPECT_TRUE(conflictLines(many, 5).endsWith(QStringLiteral("\nほか 2回")));
    EXPECT_EQ(conflictLines(many, 5).count(u'\n'), 5);
}

// What a source serves is told apart by content; a merge writes only what
// changes the history and leaves the file byte-identical when refused.
TEST(HistorySource, ReadsAHistoryFileOrAnyCsvAndMergesIntoTheFile)
{
    test::TempDir dir;
    const History full = test::sampleHistory();
    const History cut(full.begin(), full.begin() + 2000);

    const SourceHistory fromFile = readSourceHistory(test::historyBytes(dir, full), QStringLiteral("src"));
    EXPECT_EQ(fromFile.kind, SourceKind::HistoryFile);
    EXPECT_EQ(fromFile.rows, full);
    const QByteArray csv = historyToCsv(full);
    const SourceHistory fromCsv = readSourceHistory(csv, QStringLiteral("src"));
    EXPECT_EQ(fromCsv.kind, SourceKind::Csv);
    EXPECT_EQ(fromCsv.rows, full);
    const QByteArray utf16 = QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom)
                                 .encode(QString::fromUtf8(csv));
    EXPECT_EQ(readSourceHistory(utf16, QStringLiteral("src")).kind, SourceKind::Csv);
    for (const QByteArray& bad : {QByteArray(), QByteArray("<!DOCTYPE html><html><body>404</body></html>")}) {
        EXPECT_THROW(readSourceHistory(bad, QStringLiteral("src")), UpdateError);
    }

    const QString target = dir.path(QStringLiteral("Mirkano.mdb"));
    saveHistory(target, cut);
    // A conflict (draw 5 changed) refused: the file is untouched.
    History changed = full;
    changed[4].numbers[0] = changed[4].numbers[0] == 1 ? 2 : 1;
    std::sort(changed[4].numbers.begin(), changed[4].numbers.begin() + 6);
    const QByteArray before = test::fileBytes(target);
    const MergeResult refused = mergeIntoHistoryFile(target, changed, MergePreference::Refuse);
    EXPECT_TRUE(refused.refused);
    EXPECT_EQ(test::fileBytes(target), before);
    // Nothing new: nothing written.
    EXPECT_EQ(mergeIntoHistoryFile(target, cut, MergePreference::Refuse).added, 0);
    EXPECT_EQ(test::fileBytes(target), before);
    // Keeping the stored draws, the 137 new ones are added.
    const MergeResult merged = mergeIntoHistoryFile(target, changed, MergePreference::Mine);
    EXPECT_EQ(merged.added, 137);
    History expected = full;
    EXPECT_EQ(loadHistory(target), expected);
    EXPECT_EQ(test::folderEntries(dir.path(QString())), QStringList{QStringLiteral("Mirkano.mdb")});
}

TEST(HistoryMerge, EachGameMergesOnlyItsOwnDrawsAndListsItsNumbers)
{
    // A conflict names the game's numbers: the mains, then the bonuses after a
    // plus; a stored draw the source completes is completed, in each game.
    const struct {
        GameId game;
        test::GameRow mine, theirs;
        int completed;
        const char* line;
    } cases[] = {
        {GameId::Loto7, {1, {7, 10, 12, 17, 23, 28, 34, 3, 0}}, {1, {7, 10, 12, 17, 23, 28, 34, 3, 15}}, 1,
         "第1回　手元 7 10 12 17 23 28 34 + 3 －　取り込み 7 10 12 17 23 28 34 + 3 15"},
        {GameId::MiniLoto, {1, {1, 3, 17, 20, 25, 26}}, {1, {1, 3, 17, 20, 24, 26}}, 0,
         "第1回　手元 1 3 17 20 25 + 26　取り込み 1 3 17 20 24 + 26"},
    };
    for (const auto& c : cases) {
        const History mine = test::makeGameHistory(c.game, {c.mine}), theirs = test::makeGameHistory(c.game, {c.theirs});
        const MergeResult r = mergeHistories(mine, theirs, MergePreference::Refuse);
        EXPECT_EQ(r.completed, c.completed);
        EXPECT_EQ(int(r.conflicts.size()), 1 - c.completed);
        EXPECT_EQ(conflictLines({{mine[0], theirs[0]}}, 5), QString::fromUtf8(c.line));
    }

    // Into a file of one game only that game's draws go.
    test::TempDir dir;
    const QString target = dir.path(QStringLiteral("Mirkano7.mdb"));
    const History full = test::sampleHistory(GameId::Loto7);
    saveHistory(target, History(full.begin(), full.begin() + 690), GameId::Loto7);
    try {
        mergeIntoHistoryFile(target, test::sampleHistory(GameId::MiniLoto), MergePreference::Refuse,
                             QStringLiteral("mini.csv"));
        ADD_FAILURE() << "no error";
    } catch (const HistoryError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("「mini.csv」はミニロトの当選データです。ロト7の履歴には取り込めません"));
    }
    EXPECT_EQ(loadHistory(target).size(), 690u);
    EXPECT_EQ(mergeIntoHistoryFile(target, full, MergePreference::Refuse).added, 1);
    EXPECT_EQ(loadHistory(target, GameId::Loto7), full);
}
