#include "core/shell/history_csv.h"

#include "core/shell/draw_rule.h"
#include "core/shell/file_kind.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <map>

namespace mirkano {

namespace {

// Columns kept from one record; further fields are only counted, so that a
// line of a million commas costs no memory.
constexpr int kMaxKeptFields = 4096;
// Characters of a bad field quoted in a message.
constexpr int kExcerptLength = 16;

QString displayPath(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

[[noreturn]] void failFile(const QString& source, const QString& cause)
{
    throw HistoryError(QStringLiteral("CSV「%1」を読み取れません：%2").arg(source, cause));
}

[[noreturn]] void failLine(const QString& source, int line, const QString& cause)
{
    throw HistoryError(QStringLiteral("CSV「%1」の%2行目：%3").arg(source).arg(line).arg(cause));
}

// A field as a message quotes it: at most a few characters, control
// characters (a NUL would end the message) shown as replacement characters.
QString excerpt(QStringView field)
{
    QString out;
    for (QChar c : field.left(kExcerptLength))
        out += (c.unicode() < 0x20 || c.unicode() == 0x7f) ? QChar(QChar::ReplacementCharacter) : c;
    if (field.size() > kExcerptLength)
        out += u'…';
    return out;
}

// Decodes with the given decoder; nullopt when the bytes are not valid in it.
std::optional<QString> decodeStrict(QStringDecoder decoder, QByteArrayView bytes)
{
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// The text of the file: a byte-order mark names UTF-8 or UTF-16; without one
// the bytes are UTF-8 when they are valid as such, else Shift_JIS.
QString decodeCsv(const QByteArray& bytes, const QString& source)
{
    const QByteArrayView all(bytes);
    std::optional<QString> text;
    if (all.startsWith("\xEF\xBB\xBF")) {
        text = decodeStrict(QStringDecoder(QStringDecoder::Utf8), all.sliced(3));
        if (!text)
            failFile(source, QStringLiteral("UTF-8 として読めない文字があります"));
    } else if (all.startsWith("\xFF\xFE") || all.startsWith("\xFE\xFF")) {
        const bool little = all.startsWith("\xFF\xFE");
        text = decodeStrict(QStringDecoder(little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE), all.sliced(2));
        if (!text)
            failFile(source, QStringLiteral("UTF-16 として読めない文字があります"));
    } else {
        text = decodeStrict(QStringDecoder(QStringDecoder::Utf8), all);
        if (!text) {
            text = decodeStrict(QStringDecoder("Shift_JIS"), all);
            if (text && text->contains(QChar(QChar::ReplacementCharacter)))
                text.reset();
        }
        if (!text)
            failFile(source, QStringLiteral("文字コードが UTF-8、UTF-16、シフトJIS のいずれでもありません"));
    }
    return *std::move(text);
}

// Reads records of standard CSV: fields separated by commas, records by CR,
// LF or CRLF; a field that starts with a double quote (after blanks) runs to
// the closing quote and may hold commas, line ends and doubled quotes.
class CsvRecords {
public:
    explicit CsvRecords(QStringView text, const QString& source) : m_text(text), m_source(source) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    // Line on which the next record starts.
    int line() const { return m_line; }
    // True when nothing but blanks and line ends is left.
    bool onlyBlanksLeft() const
    {
        for (qsizetype i = m_pos; i < m_text.size(); ++i)
            if (!m_text[i].isSpace())
                return false;
        return true;
    }

    // Reads the next record: the fields (each with surrounding blanks
    // removed, at most kMaxKeptFields of them) and the number of fields.
    int next(QStringList& fields, bool& blank)
    {
        fields.clear();
        const int startLine = m_line;
        int count = 0;
        bool anyQuoted = false;
        for (;;) {
            QString field;
            bool quoted = false;
            skipBlanks();
            if (m_pos < m_text.size() && m_text[m_pos] == u'"') {
                quoted = anyQuoted = true;
                ++m_pos;
                for (;;) {
                    if (m_pos >= m_text.size())
                        failLine(m_source, startLine, QStringLiteral("引用符 \" が閉じていません"));
                    const QChar c = m_text[m_pos++];
                    if (c == u'"') {
                        if (m_pos < m_text.size() && m_text[m_pos] == u'"') {
                            field += u'"';
                            ++m_pos;
                            continue;
                        }
                        break;
                    }
                    if (c == u'\r' || c == u'\n') {
                        if (c == u'\r' && m_pos < m_text.size() && m_text[m_pos] == u'\n')
                            field += m_text[m_pos++];
                        ++m_line;
                    }
                    field += c;
                }
            }
            // Unquoted text, or whatever follows a closing quote, up to the field's end.
            const qsizetype start = m_pos;
            while (m_pos < m_text.size() && m_text[m_pos] != u',' && m_text[m_pos] != u'\r' &&
                   m_text[m_pos] != u'\n')
                ++m_pos;
            field += m_text.mid(start, m_pos - start);
            if (count < kMaxKeptFields)
                fields << (quoted ? field : field.trimmed());
            ++count;
            if (m_pos < m_text.size() && m_text[m_pos] == u',') {
                ++m_pos;
                continue;
            }
            break;
        }
        endLine();
        blank = count == 1 && !anyQuoted && fields.first().isEmpty();
        return count;
    }

private:
    void skipBlanks()
    {
        while (m_pos < m_text.size() && (m_text[m_pos] == u' ' || m_text[m_pos] == u'\t'))
            ++m_pos;
    }
    void endLine()
    {
        if (m_pos >= m_text.size())
            return;
        if (m_text[m_pos] == u'\r' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == u'\n')
            ++m_pos;
        ++m_pos;
        ++m_line;
    }

    QStringView m_text;
    const QString& m_source;
    qsizetype m_pos = 0;
    int m_line = 1;
};

}  // namespace

History parseHistoryCsv(const QByteArray& csv, const QString& sourceName)
{
    const QString text = decodeCsv(csv, sourceName);
    CsvRecords records(text, sourceName);
    if (records.onlyBlanksLeft())
        failLine(sourceName, 1, QStringLiteral("見出し行がありません"));

    // Header: where each field of the history sits; other columns are ignored.
    QStringList fields;
    bool blank = false;
    const int headerCount = records.next(fields, blank);
    std::array<int, kFieldCount> column;
    column.fill(-1);
    for (int c = 0; c < fields.size(); ++c) {
        for (int f = 0; f < kFieldCount; ++f) {
            if (kFieldNames[std::size_t(f)] != fields[c])
                continue;
            if (column[std::size_t(f)] >= 0)
                failLine(sourceName, 1, QStringLiteral("見出し「%1」が重複しています").arg(fields[c]));
            column[std::size_t(f)] = c;
        }
    }
    for (int f = 0; f < kFieldCount; ++f)
        if (column[std::size_t(f)] < 0)
            failLine(sourceName, 1, QStringLiteral("見出しに「%1」がありません").arg(kFieldNames[std::size_t(f)]));

    History rows;
    std::map<int, int> lineOfDraw;  // 回数 → line where it first appeared
    while (!records.atEnd()) {
        const int lineNo = records.line();
        const int count = records.next(fields, blank);
        // Blank lines at the end are not rows.
        if (blank && records.onlyBlanksLeft())
            break;
        if (count != headerCount)
            failLine(sourceName, lineNo, QStringLiteral("項目の数が%1個です（見出しは%2個）").arg(count).arg(headerCount));

        DrawRecord row;
        const QString& drawText = fields[column[0]];
        const FieldReading drawNo = readDrawNoText(drawText);
        if (drawNo.kind == FieldReading::Empty)
            failLine(sourceName, lineNo, QStringLiteral("回数が空です"));
        if (drawNo.kind == FieldReading::NotWhole)
            failLine(sourceName, lineNo, QStringLiteral("回数「%1」が整数ではありません").arg(excerpt(drawText)));
        if (drawNo.kind == FieldReading::OutOfRange)
            failLine(sourceName, lineNo,
                     QStringLiteral("回数 %1 が 1～%2 の範囲外です").arg(excerpt(drawText)).arg(kMaxDrawNo));
        const auto [it, inserted] = lineOfDraw.emplace(drawNo.value, lineNo);
        if (!inserted)
            failLine(sourceName, lineNo,
                     QStringLiteral("回数 %1 が重複しています（%2行目と同じ）").arg(drawNo.value).arg(it->second));
        row.drawNo = drawNo.value;

        for (int f = 1; f < kFieldCount; ++f) {
            const QStringView name = kFieldNames[std::size_t(f)];
            const QString& value = fields[column[std::size_t(f)]];
            const FieldReading n = readNumberText(value);
            if (n.kind == FieldReading::NotWhole)
                failLine(sourceName, lineNo, QStringLiteral("%1「%2」が整数ではありません").arg(name, excerpt(value)));
            if (n.kind == FieldReading::OutOfRange)
                failLine(sourceName, lineNo,
                         QStringLiteral("%1 %2 が 1～%3 の範囲外です").arg(name, excerpt(value)).arg(kMaxNumber));
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
    const QString shown = displayPath(path);
    // Only a regular file: a named pipe would wait for a writer for ever.
    QFile file;
    if (const QString cause = openRegularFile(file, path); !cause.isEmpty())
        throw HistoryError(QStringLiteral("CSV「%1」を開けません：%2").arg(shown, cause));
    const QString tooLarge =
        QStringLiteral("%1 MB を超える大きさで、履歴の CSV ではありません").arg(kMaxCsvBytes / (1024 * 1024));
    if (file.size() > kMaxCsvBytes)
        failFile(shown, tooLarge);
    // Read in pieces up to the limit: a huge file must be refused before it
    // fills memory, also one that grows while it is read.
    QByteArray bytes;
    for (;;) {
        const QByteArray piece = file.read(1024 * 1024);
        if (piece.isEmpty())
            break;
        bytes += piece;
        if (bytes.size() > kMaxCsvBytes)
            failFile(shown, tooLarge);
    }
    if (file.error() != QFileDevice::NoError)
        failFile(shown, QStringLiteral("読み取りに失敗しました"));
    return parseHistoryCsv(bytes, shown);
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
