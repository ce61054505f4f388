#pragma once
// CSV form of the history: a header naming 回数, 第1数字 … 第6数字 and
// ボーナス数字 (other columns are ignored), one draw per record; an empty
// field is an empty number.
//
// The reader takes what spreadsheet programs save: UTF-8 with or without a
// byte-order mark, UTF-16 with a byte-order mark, or Shift_JIS; CR, LF or CRLF
// line ends; standard quoting (a quoted field may hold commas, line ends and
// doubled quotes). The writer always writes UTF-8 with LF line ends.

#include "core/shell/history.h"

#include <QByteArray>
#include <QString>

namespace mirkano {

// The largest CSV the reader takes: far more than any real history (32,767
// draws with a date column come to about 1.3 MB), small enough to hold in memory.
inline constexpr qint64 kMaxCsvBytes = 32 * 1024 * 1024;

// Parses CSV bytes. Throws HistoryError naming the line number and the cause
// for the first bad line (text in no known encoding, open quote, non-numeric
// field, number out of 1 … 43, 回数 out of 1 … 32767 or repeated, missing
// column, wrong field count). A bad field is quoted as a short excerpt.
History parseHistoryCsv(const QByteArray& csv, const QString& sourceName);
// Reads and parses a CSV file; throws HistoryError (also for a file larger
// than kMaxCsvBytes, which is refused before it is read whole, and for
// anything but a regular file, such as a named pipe or a device, which is
// refused without waiting).
History readHistoryCsv(const QString& path);
// The history as CSV (header and one line per row, LF line ends).
QByteArray historyToCsv(const History& rows);

}  // namespace mirkano
