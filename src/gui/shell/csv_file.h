#pragma once
// Saving a CSV file from the desktop program: the file chooser, the checks
// before a file is written over, and the writing, shared by the grids'
// "CSVで保存…" and the history export.

#include <QByteArray>
#include <QString>

#include <functional>

class QWidget;

namespace mirkano {

// Where a CSV of that name goes unless the user says otherwise: the user's
// documents folder.
QString suggestedCsvPath(const QString& fileName);

// A save-file chooser for a CSV, starting at the suggested path; empty when
// cancelled. It asks nothing about an existing file: mayWriteCsv does, in
// Japanese, after its own checks.
QString chooseCsvSaveFile(QWidget* parent, const QString& title, const QString& suggestedPath);

// Whether the CSV may go to the chosen file. The program's history file at
// historyPath (also through a link), any other file that holds a database
// such as a history, and anything but a regular file are refused with a
// message through refuse; an existing file is written over only when confirm
// answers はい to the question it is given.
bool mayWriteCsv(const QString& path, const QString& historyPath, const std::function<void(const QString&)>& refuse,
                 const std::function<bool(const QString&)>& confirm);

// Writes the file whole: beside the target, renamed into place only once
// every byte is on the disk, so a failure keeps the old file. The UTF-8 text
// starts with a byte-order mark (added when csv has none), by which
// spreadsheet programs on Japanese systems know it is UTF-8 rather than
// Shift_JIS. A failure throws an Error naming the file and the cause.
void writeCsvFile(const QString& path, const QByteArray& csv);

// The note shown once a CSV is written: where it went.
QString csvWrittenText(const QString& path);

}  // namespace mirkano
