#pragma once
// JSON form of a result sheet, as the command-line tool prints it.

#include "core/sheet/sheet.h"

#include <QJsonObject>
#include <QString>

namespace mirkano {

// "#rrggbb"
QString colorName(Rgb c);

// {"columns", "rows", "cells": [{"col","row","text","fg","bg"}, …]} listing,
// row by row, every cell whose text is not empty or whose colours are not
// black on white.
QJsonObject sheetToJson(const Sheet& sheet);

}  // namespace mirkano
