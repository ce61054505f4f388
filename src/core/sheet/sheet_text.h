#pragma once
// A sheet's texts for other programs: tab-separated text for the clipboard
// (spreadsheets paste it cell by cell) and CSV for a file. Only the texts go
// out; colours and borders stay on screen.

#include "core/sheet/sheet.h"

#include <QByteArray>
#include <QString>

namespace mirkano {

// The texts of the block (clipped to the sheet), cells separated by tabs and
// rows by line feeds, without a final line feed. Tabs and line breaks inside
// a text become spaces so that each cell stays one cell.
QString sheetToTsv(const Sheet& sheet, Block block);
// The whole sheet as tab-separated text.
QString sheetToTsv(const Sheet& sheet);

// The whole sheet as CSV: UTF-8 with a byte-order mark (so that spreadsheet
// programs on Japanese systems read it as UTF-8), CRLF after every row, a
// field quoted when it holds a comma, a double quote, a line break or
// leading/trailing blanks, quotes inside doubled.
QByteArray sheetToCsv(const Sheet& sheet);

}  // namespace mirkano
