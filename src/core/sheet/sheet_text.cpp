#include "core/sheet/sheet_text.h"

#include <QStringList>

#include <algorithm>

namespace mirkano {

namespace {

QString oneLine(QString text)
{
    for (QChar& c : text)
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    return text;
}

QString csvField(const QString& text)
{
    const bool quote = text.contains(u',') || text.contains(u'"') || text.contains(u'\n')
        || text.contains(u'\r') || (!text.isEmpty() && (text.front().isSpace() || text.back().isSpace()));
    if (!quote)
        return text;
    QString doubled = text;
    doubled.replace(u'"', QStringLiteral("\"\""));
    return u'"' + doubled + u'"';
}

}  // namespace

QString sheetToTsv(const Sheet& sheet, Block block)
{
    const int c1 = std::max(1, std::min(block.col1, block.col2));
    const int c2 = std::min(sheet.columns(), std::max(block.col1, block.col2));
    const int r1 = std::max(1, std::min(block.row1, block.row2));
    const int r2 = std::min(sheet.rows(), std::max(block.row1, block.row2));
    QStringList lines;
    for (int r = r1; r <= r2; ++r) {
        QStringList cells;
        for (int c = c1; c <= c2; ++c)
            cells << oneLine(sheet.text(c, r));
        lines << cells.join(u'\t');
    }
    return lines.join(u'\n');
}

QString sheetToTsv(const Sheet& sheet)
{
    return sheetToTsv(sheet, {1, 1, sheet.columns(), sheet.rows()});
}

QByteArray sheetToCsv(const Sheet& sheet)
{
    QString out;
    for (int r = 1; r <= sheet.rows(); ++r) {
        QStringList cells;
        for (int c = 1; c <= sheet.columns(); ++c)
            cells << csvField(sheet.text(c, r));
        out += cells.join(u',');
        out += QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

}  // namespace mirkano
