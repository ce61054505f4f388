#pragma once
// The text of a CSV file and its records, as the history CSV reader takes
// them: the encoding told from a byte-order mark or the bytes themselves, and
// standard CSV records. Errors are thrown as HistoryError naming the file,
// and for a record its line.

#include "core/error.h"
#include "core/history/history.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace mirkano::csv {

// Columns kept from one record; further fields are only counted, so that a
// line of a million commas costs no memory.
inline constexpr int kMaxKeptFields = 4096;

// "CSV「source」を読み取れません：cause".
[[noreturn]] void failFile(const QString& source, const QString& cause);
// "CSV「source」のN行目：cause".
[[noreturn]] void failLine(const QString& source, int line, const QString& cause);

// The text of the file: a byte-order mark names UTF-8 or UTF-16; without one
// the bytes are UTF-8 when they are valid as such, else Shift_JIS. UTF-32,
// UTF-16 without a mark and a history file are refused by name.
QString decodeCsv(const QByteArray& bytes, const QString& source);

// Reads records of standard CSV: fields separated by commas, records by CR,
// LF or CRLF; a field that starts with a double quote (after blanks) runs to
// the closing quote and may hold commas, line ends and doubled quotes.
class Records {
public:
    explicit Records(QStringView text, const QString& source) : m_text(text), m_source(source) {}

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

}  // namespace mirkano::csv
