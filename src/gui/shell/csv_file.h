#pragma once
// Saving a CSV file from the desktop program: the file chooser and the
// writing, shared by the grids' "CSVで保存…" and the history export.

#include <QByteArray>
#include <QString>

class QWidget;

namespace mirkano {

// Where a CSV of that name goes unless the user says otherwise: the user's
// documents folder.
QString suggestedCsvPath(const QString& fileName);

// A save-file chooser for a CSV, starting at the suggested path; empty when
// cancelled.
QString chooseCsvSaveFile(QWidget* parent, const QString& title, const QString& suggestedPath);

// Writes the file whole: beside the target, renamed into place only once
// complete. The UTF-8 text starts with a byte-order mark (added when csv has
// none), by which spreadsheet programs on Japanese systems know it is UTF-8
// rather than Shift_JIS. A failure throws an Error naming the file and the
// cause.
void writeCsvFile(const QString& path, const QByteArray& csv);

// The note shown once a CSV is written: where it went.
QString csvWrittenText(const QString& path);

}  // namespace mirkano
