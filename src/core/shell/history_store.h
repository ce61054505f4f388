#pragma once
// The history file: an encrypted database protected by a fixed password. Its
// history is read once through the view 全データ選択クエリ and the file is
// closed again, so that a downloaded copy can replace it later.

#include "core/shell/history.h"

#include <QString>

namespace mirkano {

// File name of the history in the program's folder.
inline const QString kHistoryFileName = QStringLiteral("Mirkano.mdb");
// The command text through which the history is always read.
extern const char* const kHistoryQuery;

// Path of the history file beside the running program (not the working directory).
QString defaultHistoryPath();

// Reads every row of the history file, in ascending 回数. Opens the file read
// only and never writes to it. Throws HistoryError naming the file and cause
// (missing, not a history, wrong password, locked, no view, missing field).
History loadHistory(const QString& path);

// Writes a new history file with the given rows: it is built beside the target
// and renamed over it only once complete, so an existing file is replaced
// whole or not at all. Throws HistoryError on failure (target untouched).
void saveHistory(const QString& path, const History& rows);

}  // namespace mirkano
