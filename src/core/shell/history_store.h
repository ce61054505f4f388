#pragma once
// The history file: an encrypted database protected by a fixed password. Its
// history is read once through the view 全データ選択クエリ and the file is
// closed again, so that a downloaded copy can replace it later. The entry
// window alone keeps it open while it writes single rows (HistoryEditor).

#include "core/shell/history.h"

#include <QString>

#include <memory>

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

// Why a file cannot serve as the history, in words for the user, or an empty
// text when it can: it opens with the password, has the view and every field,
// reads back whole, every row passes the row rule (core/shell/draw_rule.h) so
// that nothing would be dropped or read as empty at the next start, and the
// table 当選データ that the entry window writes to is there. Never writes.
QString historyFileFault(const QString& path);

// Writes a new history file with the given rows: it is built beside the target
// and renamed over it only once complete, so an existing file is replaced
// whole or not at all. Throws HistoryError on failure (target untouched).
void saveHistory(const QString& path, const History& rows);

// The history file opened for editing row by row. Each change is one
// transaction of its own: when a call returns, the change is in the file;
// when it throws HistoryError (naming the file and the cause), the file is as
// it was. Rows that break the row rule never reach the file.
class HistoryEditor {
public:
    // Throws HistoryError as loadHistory does, and when the file cannot be
    // written or has no table 当選データ.
    explicit HistoryEditor(const QString& path);
    ~HistoryEditor();
    HistoryEditor(const HistoryEditor&) = delete;
    HistoryEditor& operator=(const HistoryEditor&) = delete;

    const QString& path() const;
    // The rows as stored now, in ascending 回数.
    History rows() const;
    // A new row; refused when its 回数 is already in the history.
    void insertRow(const DrawRecord& row);
    // Replaces the row stored under storedDrawNo (its 回数 may change);
    // refused when the new 回数 belongs to another row.
    void updateRow(int storedDrawNo, const DrawRecord& row);
    // Removes the row; no row under that 回数 is no change.
    void deleteRow(int drawNo);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace mirkano
