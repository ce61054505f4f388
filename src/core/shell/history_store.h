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

// The folder of the running program (not the working directory).
QString programFolder();
// The user's own data folder, for a program installed where the user cannot
// write: ~/.local/share/mirkano on Linux.
QString userDataFolder();
// Path of the history file: beside the program when its folder is writable,
// else in the user's data folder. The prediction settings file sits beside it.
QString defaultHistoryPath();
// Gives a user without a history file of their own a copy of the sample
// history installed beside the program. Returns whether it copied one; an
// existing history is never touched.
bool copySampleHistoryIfMissing(const QString& historyPath);

// Reads every row of the history file, in ascending 回数. Opens the file read
// only and never writes to it. Throws HistoryError naming the file and cause
// (missing, not a history, wrong password, locked, no view, missing field).
History loadHistory(const QString& path);

// Writes a new history file with the given rows: it is built beside the target
// and renamed over it only once complete, so an existing file is replaced
// whole or not at all. Throws HistoryError on failure (target untouched).
void saveHistory(const QString& path, const History& rows);

}  // namespace mirkano
