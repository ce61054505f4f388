#include "core/sheet/sheet_json.h"

#include <QJsonArray>

#include <algorithm>
#include <array>
#include <charconv>
#include <string>

namespace mirkano {

namespace {

// Two lower-case hex digits of every byte value.
constexpr std::array<std::array<char, 2>, 256> kHexPairs = [] {
    constexpr char digits[] = "0123456789abcdef";
    std::array<std::array<char, 2>, 256> t{};
    for (std::size_t i = 0; i < 256; ++i)
        t[i] = {digits[i >> 4], digits[i & 15]};
    return t;
}();

char hexDigit(unsigned v) { return "0123456789abcdef"[v & 15]; }

// Collects the output and hands it to the stream in large pieces.
class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : m_out(out) { m_buf.reserve(kFlushAt + 4096); }
    ~JsonWriter() { flush(); }

    void raw(std::string_view s)
    {
        m_buf.append(s);
        if (m_buf.size() >= kFlushAt)
            flush();
    }

    void number(int v)
    {
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
        m_buf.append(digits, std::size_t(end - digits));
    }

    void color(Rgb c)
    {
        const char text[] = {'"', '#', kHexPairs[c.r][0], kHexPairs[c.r][1], kHexPairs[c.g][0],
                             kHexPairs[c.g][1], kHexPairs[c.b][0], kHexPairs[c.b][1], '"'};
        m_buf.append(text, sizeof text);
    }

    // A quoted string: UTF-8, with the escapes of Qt's own JSON writer (short
    // escapes, \u00xx for other control characters, \uxxxx for a lone surrogate).
    void string(const QString& s)
    {
        m_buf.push_back('"');
        const char16_t* p = reinterpret_cast<const char16_t*>(s.constData());
        const char16_t* const end = p + s.size();
        while (p != end) {
            const char16_t u = *p++;
            if (u < 0x80) {
                if (u >= 0x20 && u != '"' && u != '\\') {
                    m_buf.push_back(char(u));
                    continue;
                }
                m_buf.push_back('\\');
                switch (u) {
                case '"': m_buf.push_back('"'); break;
                case '\\': m_buf.push_back('\\'); break;
                case '\b': m_buf.push_back('b'); break;
                case '\f': m_buf.push_back('f'); break;
                case '\n': m_buf.push_back('n'); break;
                case '\r': m_buf.push_back('r'); break;
                case '\t': m_buf.push_back('t'); break;
                default:
                    m_buf.append("u00");
                    m_buf.append(kHexPairs[u].data(), 2);
                }
            } else if (u < 0x800) {
                m_buf.push_back(char(0xc0 | (u >> 6)));
                m_buf.push_back(char(0x80 | (u & 0x3f)));
            } else if (u < 0xd800 || u > 0xdfff) {
                m_buf.push_back(char(0xe0 | (u >> 12)));
                m_buf.push_back(char(0x80 | ((u >> 6) & 0x3f)));
                m_buf.push_back(char(0x80 | (u & 0x3f)));
            } else if (u < 0xdc00 && p != end && *p >= 0xdc00 && *p <= 0xdfff) {
                const char32_t cp = 0x10000 + ((char32_t(u) - 0xd800) << 10) + (char32_t(*p++) - 0xdc00);
                m_buf.push_back(char(0xf0 | (cp >> 18)));
                m_buf.push_back(char(0x80 | ((cp >> 12) & 0x3f)));
                m_buf.push_back(char(0x80 | ((cp >> 6) & 0x3f)));
                m_buf.push_back(char(0x80 | (cp & 0x3f)));
            } else {
                const char esc[] = {'\\', 'u', hexDigit(u >> 12), hexDigit(u >> 8), hexDigit(u >> 4),
                                    hexDigit(u)};
                m_buf.append(esc, sizeof esc);
            }
        }
        m_buf.push_back('"');
        if (m_buf.size() >= kFlushAt)
            flush();
    }

    void flush()
    {
        m_out.write(m_buf.data(), std::streamsize(m_buf.size()));
        m_buf.clear();
    }

private:
    static constexpr std::size_t kFlushAt = 1 << 16;
    std::ostream& m_out;
    std::string m_buf;
};

// A cell is written when it holds a text or is coloured; the rest of the
// sheet is empty black on white.
bool isWritten(const QString& text, const CellStyle& style)
{
    return !text.isEmpty() || style.fg != colors::black || style.bg != colors::white;
}

void writeCells(JsonWriter& w, const Sheet& sheet)
{
    w.raw("[");
    bool first = true;
    for (int r = 1; r <= sheet.rows(); ++r) {
        for (int c = 1; c <= sheet.columns(); ++c) {
            const QString& text = sheet.text(c, r);
            const CellStyle& style = sheet.style(c, r);
            if (!isWritten(text, style))
                continue;
            w.raw(first ? "{\"bg\":" : ",{\"bg\":");
            first = false;
            w.color(style.bg);
            w.raw(",\"col\":");
            w.number(c);
            w.raw(",\"fg\":");
            w.color(style.fg);
            w.raw(",\"row\":");
            w.number(r);
            w.raw(",\"text\":");
            w.string(text);
            w.raw("}");
        }
    }
    w.raw("]");
}

}  // namespace

QString colorName(Rgb c)
{
    const char text[] = {'#', kHexPairs[c.r][0], kHexPairs[c.r][1], kHexPairs[c.g][0],
                         kHexPairs[c.g][1], kHexPairs[c.b][0], kHexPairs[c.b][1]};
    return QString::fromLatin1(text, sizeof text);
}

void writeSheetJson(std::ostream& out, const Sheet& sheet,
                    std::vector<std::pair<QString, QString>> textFields)
{
    // Fields in key order, as a JSON object keeps them: the text fields
    // placed among "cells", "columns" and "rows".
    enum class Own { Text, Cells, Columns, Rows };
    struct Field {
        QString key;
        Own own;
        const QString* text = nullptr;
    };
    std::vector<Field> fields{{QStringLiteral("cells"), Own::Cells},
                              {QStringLiteral("columns"), Own::Columns},
                              {QStringLiteral("rows"), Own::Rows}};
    for (const auto& [key, value] : textFields)
        fields.push_back({key, Own::Text, &value});
    std::stable_sort(fields.begin(), fields.end(),
                     [](const Field& a, const Field& b) { return a.key < b.key; });

    JsonWriter w(out);
    w.raw("{");
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i)
            w.raw(",");
        w.string(fields[i].key);
        w.raw(":");
        switch (fields[i].own) {
        case Own::Text: w.string(*fields[i].text); break;
        case Own::Cells: writeCells(w, sheet); break;
        case Own::Columns: w.number(sheet.columns()); break;
        case Own::Rows: w.number(sheet.rows()); break;
        }
    }
    w.raw("}\n");
}

QJsonObject sheetToJson(const Sheet& sheet)
{
    QJsonArray cells;
    for (int r = 1; r <= sheet.rows(); ++r) {
        for (int c = 1; c <= sheet.columns(); ++c) {
            const QString& text = sheet.text(c, r);
            const CellStyle& style = sheet.style(c, r);
            if (!isWritten(text, style))
                continue;
            cells.append(QJsonObject{{QStringLiteral("col"), c},
                                     {QStringLiteral("row"), r},
                                     {QStringLiteral("text"), text},
                                     {QStringLiteral("fg"), colorName(style.fg)},
                                     {QStringLiteral("bg"), colorName(style.bg)}});
        }
    }
    return QJsonObject{{QStringLiteral("columns"), sheet.columns()},
                       {QStringLiteral("rows"), sheet.rows()},
                       {QStringLiteral("cells"), cells}};
}

}  // namespace mirkano
