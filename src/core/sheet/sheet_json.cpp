#include "core/sheet/sheet_json.h"

#include <QJsonArray>

namespace mirkano {

QString colorName(Rgb c)
{
    return QStringLiteral("#%1%2%3")
        .arg(c.r, 2, 16, QLatin1Char('0'))
        .arg(c.g, 2, 16, QLatin1Char('0'))
        .arg(c.b, 2, 16, QLatin1Char('0'));
}

QJsonObject sheetToJson(const Sheet& sheet)
{
    QJsonArray cells;
    for (int r = 1; r <= sheet.rows(); ++r) {
        for (int c = 1; c <= sheet.columns(); ++c) {
            const Cell& cell = sheet.cell(c, r);
            if (cell.text.isEmpty() && cell.fg == colors::black && cell.bg == colors::white)
                continue;
            cells.append(QJsonObject{{QStringLiteral("col"), c},
                                     {QStringLiteral("row"), r},
                                     {QStringLiteral("text"), cell.text},
                                     {QStringLiteral("fg"), colorName(cell.fg)},
                                     {QStringLiteral("bg"), colorName(cell.bg)}});
        }
    }
    return QJsonObject{{QStringLiteral("columns"), sheet.columns()},
                       {QStringLiteral("rows"), sheet.rows()},
                       {QStringLiteral("cells"), cells}};
}

}  // namespace mirkano
