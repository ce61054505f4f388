#pragma once
// The draws a source gives: a history file of this program or a CSV in any
// layout the CSV reader takes, told apart by their content, not their name;
// and the merge of those draws into the stored history file.

#include "core/maintenance/history_merge.h"
#include "core/history/history.h"

#include <QByteArray>
#include <QString>

namespace mirkano {

enum class SourceKind { HistoryFile, Csv };

struct SourceHistory {
    SourceKind kind = SourceKind::Csv;
    History rows;
};

// The draws of a downloaded or read body. Throws HistoryError (a CSV that is
// refused, naming its line and cause) or UpdateError (an empty body, a web
// page, a history file that cannot be read); sourceName names the source in
// the messages.
SourceHistory readSourceHistory(const QByteArray& body, const QString& sourceName);

// Merges theirs into the history file at target and, when that changes the
// history and is not refused, writes the merged history beside the file and
// renames it into place. Throws HistoryError when the stored history cannot
// be read or the write fails; the file is then as it was.
MergeResult mergeIntoHistoryFile(const QString& target, const History& theirs, MergePreference preference);

}  // namespace mirkano
