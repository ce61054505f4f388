#pragma once
// CSV form of the history: a header naming 回数, 第1数字 … 第6数字 and
// ボーナス数字 (other columns are ignored), one draw per line, UTF-8,
// CRLF or LF line ends; an empty field is an empty number.

#include "core/shell/history.h"

#include <QByteArray>
#include <QString>

namespace mirkano {

// Parses CSV text. Throws HistoryError naming the line number and the cause
// for the first bad line (non-numeric field, number out of 1 … 43, 回数 out
// of 1 … 32767 or repeated, missing column, wrong field count).
History parseHistoryCsv(const QByteArray& csv, const QString& sourceName);
// Reads and parses a CSV file; throws HistoryError.
History readHistoryCsv(const QString& path);
// The history as CSV (header and one line per row, LF line ends).
QByteArray historyToCsv(const History& rows);

}  // namespace mirkano
