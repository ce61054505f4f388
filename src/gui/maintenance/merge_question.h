#pragma once
// Merging draws from a CSV or an update source into the history file as the
// desktop does it: conflicts are listed in a question (take the source's
// numbers, keep mine — the default — or stop), then the merge is written and
// summed up.

#include "core/maintenance/history_merge.h"
#include "core/history/history.h"
#include "gui/maintenance/ask.h"

#include <optional>

namespace mirkano {

struct MergeReport {
    QMessageBox::Icon icon = QMessageBox::Information;
    QString text;
    bool changed = false;  // the history file was rewritten
};

// The question about conflicts: the draws that differ, and which numbers to keep.
QString conflictQuestion(const QString& source, const std::vector<MergeConflict>& conflicts);
// The same for a merge with prize data: the draws and the prize fields that
// differ (without prize conflicts, the question above).
QString conflictQuestion(const QString& source, const MergeResult& planned);

// Merges theirs (read from `source`, as shown to the player) into the history
// file at target, asking through ask when draws differ. nullopt when the
// player stopped at the question (nothing written); otherwise what to tell
// the player. Errors of reading or writing the history, and draws of another
// game than the history's, come back as a Critical report, the file then as
// it was. theirPrizes are the source's prize data, merged with the file's
// field by field (the file's are kept where the source has none); warnings,
// what the source's reader named, end the report.
std::optional<MergeReport> mergeIntoHistoryAsking(const AskFn& ask, const QString& title, const QString& target,
                                                  const History& theirs, const QString& source,
                                                  const PrizeTable& theirPrizes = {}, const QStringList& warnings = {});

}  // namespace mirkano
