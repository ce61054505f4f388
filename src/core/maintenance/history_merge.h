#pragma once
// Merging draws from another source (a CSV, a downloaded history) into the
// stored history without losing any: draws the history lacks are added, draws
// equal in both are left, an incomplete stored draw that the source completes
// is completed, and a draw whose numbers differ is a conflict that the caller
// settles (keep the stored draw or take the source's) or refuses.

#include "core/history/history.h"

#include <QString>

#include <vector>

namespace mirkano {

// A draw stored one way and given another way by the source.
struct MergeConflict {
    DrawRecord mine;
    DrawRecord theirs;
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
    bool refused = false;                  // conflicts and MergePreference::Refuse

    // Whether the merged history differs from the stored one.
    bool changes(MergePreference preference) const
    {
        return added > 0 || completed > 0 || (preference == MergePreference::Theirs && !conflicts.empty());
    }
};

// Merges theirs into mine; both sorted by 回数 with unique 回数 (as every reader
// gives them). Linear in the two sizes.
MergeResult mergeHistories(const History& mine, const History& theirs, MergePreference preference);

// One line per conflict, at most `limit` of them and a line saying how many
// more: "第123回　手元 1 2 3 4 5 6 + 7　取り込み 1 2 3 4 5 8 + 7".
QString conflictLines(const std::vector<MergeConflict>& conflicts, int limit);

// The summary after a merge: "追加 137回、同じ 2000回、…".
QString mergeSummary(const MergeResult& result, MergePreference preference);

}  // namespace mirkano
