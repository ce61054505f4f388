#include "core/shell/history_csv.h"

#include "core/shell/draw_rule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStringList>

#include <algorithm>
#include <map>

namespace mirkano {

namespace {

QString displayPath(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

[[noreturn]] void failLine(const QString& source, int line, const QString& cause)
{
    throw HistoryError(QStringLiteral("CSV「%1」の%2行目：%3").arg(source).arg(line).arg(cause).toStdString());
}

// A field with surrounding blanks and an optional pair of double quotes removed.
QString cleanField(const QByteArray& raw)
{
    QString s = QString::fromUtf8(raw).trimmed();
    if (s.size() >= 2 && s.startsWith(u'"') && s.endsWith(u'"'))
        s = s.mid(1, s.size() - 2).trimmed();
    return s;
}

}  // namespace

History parseHistoryCsv(const QByteArray& csv, const QString& sourceName)
{
    QByteArray text = csv;
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    QList<QByteArray> lines = text.split('\n');
    for (QByteArray& l : lines)
        if (l.endsWith('\r'))
            l.chop(1);
    // Blank lines at the end (including the one after the last line end) are not rows.
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    if (lines.isEmpty())
        failLine(sourceName, 1, QStringLiteral("見出し行がありません"));

    // Header: where each field of the history sits; other columns are ignored.
    const QList<QByteArray> header = lines.first().split(',');
    std::array<int, kFieldCount> column;
    column.fill(-1);
    for (int c = 0; c < header.size(); ++c) {
        const QString name = cleanField(header[c]);
        for (int f = 0; f < kFieldCount; ++f) {
            if (kFieldNames[std::size_t(f)] != name)
                continue;
            if (column[std::size_t(f)] >= 0)
                failLine(sourceName, 1, QStringLiteral("見出し「%1」が重複しています").arg(name));
            column[std::size_t(f)] = c;
        }
    }
    for (int f = 0; f < kFieldCount; ++f)
        if (column[std::size_t(f)] < 0)
            failLine(sourceName, 1, QStringLiteral("見出しに「%1」がありません").arg(kFieldNames[std::size_t(f)]));

    History rows;
    std::map<int, int> lineOfDraw;  // 回数 → line where it first appeared
    for (int i = 1; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        const QList<QByteArray> fields = lines[i].split(',');
        if (fields.size() != header.size())
            failLine(sourceName, lineNo,
                     QStringLiteral("項目の数が%1個です（見出しは%2個）").arg(fields.size()).arg(header.size()));

        DrawRecord row;
        const QString drawText = cleanField(fields[column[0]]);
        const FieldReading drawNo = readDrawNoText(drawText);
        if (drawNo.kind == FieldReading::Empty)
            failLine(sourceName, lineNo, QStringLiteral("回数が空です"));
        if (drawNo.kind == FieldReading::NotWhole)
            failLine(sourceName, lineNo, QStringLiteral("回数「%1」が整数ではありません").arg(drawText));
        if (drawNo.kind == FieldReading::OutOfRange)
            failLine(sourceName, lineNo,
                     QStringLiteral("回数 %1 が 1～%2 の範囲外です").arg(drawText).arg(kMaxDrawNo));
        const auto [it, inserted] = lineOfDraw.emplace(drawNo.value, lineNo);
        if (!inserted)
            failLine(sourceName, lineNo,
                     QStringLiteral("回数 %1 が重複しています（%2行目と同じ）").arg(drawNo.value).arg(it->second));
        row.drawNo = drawNo.value;

        for (int f = 1; f < kFieldCount; ++f) {
            const QStringView name = kFieldNames[std::size_t(f)];
            const QString value = cleanField(fields[column[std::size_t(f)]]);
            const FieldReading n = readNumberText(value);
            if (n.kind == FieldReading::NotWhole)
                failLine(sourceName, lineNo, QStringLiteral("%1「%2」が整数ではありません").arg(name, value));
            if (n.kind == FieldReading::OutOfRange)
                failLine(sourceName, lineNo,
                         QStringLiteral("%1 %2 が 1～%3 の範囲外です").arg(name, value).arg(kMaxNumber));
            row.numbers[std::size_t(f - 1)] = n.value;  // 0 for an empty number: the draw is not complete
        }
        rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end(),
              [](const DrawRecord& a, const DrawRecord& b) { return a.drawNo < b.drawNo; });
    return rows;
}

History readHistoryCsv(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw HistoryError(QStringLiteral("CSV「%1」を開けません：%2")
                               .arg(displayPath(path), file.errorString())
                               .toStdString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw HistoryError(QStringLiteral("CSV「%1」を読み取れません：%2")
                               .arg(displayPath(path), file.errorString())
                               .toStdString());
    return parseHistoryCsv(bytes, displayPath(path));
}

QByteArray historyToCsv(const History& rows)
{
    QStringList header;
    for (QStringView name : kFieldNames)
        header << name.toString();
    QByteArray out = header.join(u',').toUtf8() + '\n';
    for (const DrawRecord& row : rows) {
        out += QByteArray::number(row.drawNo);
        for (int n : row.numbers) {
            out += ',';
            if (n != 0)
                out += QByteArray::number(n);
        }
        out += '\n';
    }
    return out;
}

}  // namespace mirkano
