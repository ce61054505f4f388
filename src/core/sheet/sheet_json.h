#pragma once
// JSON form of a result sheet, as the command-line tool prints it: written
// straight to a stream, a cell at a time, without building a document first.

#include "core/sheet/sheet.h"

#include <QJsonObject>
#include <QString>

#include <ostream>
#include <utility>
#include <vector>

namespace mirkano {

// "#rrggbb"
QString colorName(Rgb c);

// Writes one compact JSON object and a newline:
// {"cells": [{"bg","col","fg","row","text"}, …], "columns", "rows"} plus the
// given text fields, every object's keys in sorted order. The cells are
// listed row by row: every cell whose text is not empty or whose colours are
// not black on white.
void writeSheetJson(std::ostream& out, const Sheet& sheet,
                    std::vector<std::pair<QString, QString>> textFields = {});

// The same object as a document tree (without text fields), for callers that
// place sheets inside a larger document; writeSheetJson is the fast way.
QJsonObject sheetToJson(const Sheet& sheet);

}  // namespace mirkano
