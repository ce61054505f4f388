#pragma once
// Merging draws from another source (a CSV, a downloaded history) into the
// stored history without losing any: draws the history lacks are added, draws
// equal in both are left, an incomplete stored draw that the source completes
// is completed, and a draw whose numbers differ is a conflict that the caller
// settles (keep the stored draw or take the source's) or refuses. Prize data
// (core/history/draw_prizes.h) merge field by field the same way: a field
// known on one side only is taken, fields that differ are conflicts settled
// alike; a stored kSuspectYen is replaced by the source's value without a
// conflict, and a source's kSuspectYen never replaces a stored value.

#include "core/history/draw_prizes.h"
#include "core/history/history.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace mirkano {

// A draw stored one way and given another way by the source.
struct MergeConflict {
    DrawRecord mine;
    DrawRecord theirs;
};

// A prize field stored with one value and given with another by the source.
struct PrizeConflict {
    int drawNo = 0;
    QString field;  // its name (prizeFieldNames): 1等賞金, キャリーオーバー, …
    Yen mine = 0;
    Yen theirs = 0;
};

// How conflicts are settled.
enum class MergePreference {
    Refuse,  // any conflict: nothing is merged
    Mine,    // keep the stored draw
    Theirs,  // take the source's draw
};

struct MergeResult {
    History rows;                          // the merged history, by 回数 (empty when refused)
    int added = 0;                         // draws only in the source
    int same = 0;                          // draws equal in both
    int completed = 0;                     // stored incomplete draws the source fills in
    int onlyMine = 0;                      // stored draws the source lacks (kept)
    std::vector<MergeConflict> conflicts;  // draws that differ, by 回数
    bool refused = false;                  // conflicts (of numbers or prize fields) and MergePreference::Refuse

    // Prize data: whether either side had any (else the fields below stay
    // empty and nothing about prizes is said), the merged table (empty when
    // refused), the fields the source filled in (also those replacing a
    // stored kSuspectYen, counted again in prizeSuspectReplaced) and the
    // fields that differ, by 回数 and field order.
    bool prizeData = false;
    PrizeTable prizes;
    int prizeFieldsCompleted = 0;
    int prizeSuspectReplaced = 0;
    std::vector<PrizeConflict> prizeConflicts;

    // What the source's reader named (amounts of 2,147,483,647), for the user.
    QStringList warnings;

    // Whether the merged history differs from the stored one.
    bool changes(MergePreference preference) const
    {
        return added > 0 || completed > 0 || prizeFieldsCompleted > 0
               || (preference == MergePreference::Theirs && (!conflicts.empty() || !prizeConflicts.empty()));
    }
    // Whether anything differs between the two sides.
    bool anyConflict() const { return !conflicts.empty() || !prizeConflicts.empty(); }
};

// Merges theirs into mine; both sorted by 回数 with unique 回数 (as every reader
// gives them). Linear in the two sizes.
MergeResult mergeHistories(const History& mine, const History& theirs, MergePreference preference);
// The same with the prize data of both sides (each ascending 回数, as
// PrizeTable is), fields named as the game's.
MergeResult mergeHistories(const History& mine, const PrizeTable& minePrizes, const History& theirs,
                           const PrizeTable& theirPrizes, MergePreference preference, GameId game);

// One line per conflict, at most `limit` of them and a line saying how many
// more: "第123回　手元 1 2 3 4 5 6 + 7　取り込み 1 2 3 4 5 8 + 7".
QString conflictLines(const std::vector<MergeConflict>& conflicts, int limit);
// The same for every conflict of a merge: the draws first, then the prize
// fields, "第123回　1等賞金　手元 1,000円　取り込み 2,000円" (口数 in 口), the
// limit shared.
QString allConflictLines(const MergeResult& result, int limit);

// The summary after a merge: "追加 137回、同じ 2000回、…", and when either
// side has prize data "。賞金データ：補完 12項目、食い違い 0項目…".
QString mergeSummary(const MergeResult& result, MergePreference preference);

}  // namespace mirkano
