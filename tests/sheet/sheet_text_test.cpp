#include "core/analysis/analysis.h"
#include "core/sheet/sheet_text.h"
#include "core/history/startup_tables.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace mirkano;

namespace {

// A reader of RFC 4180 CSV, as a spreadsheet program reads the file back.
std::vector<QStringList> readCsv(const QString& text)
{
    std::vector<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"')
                field += c, ++i;
            else if (c == u'"')
                quoted = false;
            else
                field += c;
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row << field, field.clear();
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            row << field, field.clear();
            rows.push_back(row), row.clear();
            ++i;
        } else {
            field += c;
        }
    }
    return rows;
}

// Texts a spreadsheet program must read back unchanged.
Sheet awkwardSheet()
{
    Sheet s(3, 3);
    s.setText(1, 1, QStringLiteral("回数"));
    s.setText(2, 1, QStringLiteral("a,b"));
    s.setText(3, 1, QStringLiteral("say \"●\""));
    s.setText(1, 2, QStringLiteral(" 先頭の空白"));
    s.setText(3, 2, QStringLiteral("2行\n目"));
    s.setText(1, 3, 43);
    return s;
}

}  // namespace

TEST(SheetText, CsvIsUtf8WithBomAndRoundTripsEveryText)
{
    for (const Sheet& s : {awkwardSheet(), findAnalysis("pull")->build(test::sampleHistory(), {})}) {
        const QByteArray csv = sheetToCsv(s);
        ASSERT_TRUE(csv.startsWith("\xEF\xBB\xBF"));
        ASSERT_TRUE(csv.endsWith("\r\n"));
        const auto rows = readCsv(QString::fromUtf8(csv.mid(3)));
        ASSERT_EQ(int(rows.size()), s.rows());
        for (int r = 1; r <= s.rows(); ++r) {
            ASSERT_EQ(rows[std::size_t(r - 1)].size(), s.columns()) << r;
            for (int c = 1; c <= s.columns(); ++c)
                ASSERT_EQ(rows[std::size_t(r - 1)][c - 1], s.text(c, r)) << c << "," << r;
        }
    }
    // Plain texts stay unquoted.
    EXPECT_EQ(sheetToCsv(awkwardSheet()).mid(3).split('\r').first(),
              QStringLiteral("回数,\"a,b\",\"say \"\"●\"\"\"").toUtf8());
}

TEST(SheetText, TsvOfABlockIsOneLinePerRowAndOneFieldPerCell)
{
    const Sheet s = awkwardSheet();
    struct Case {
        Block block;
        QString expected;
    };
    const Case cases[] = {
        {Block::cell(2, 1), QStringLiteral("a,b")},
        {{2, 1, 3, 2}, QStringLiteral("a,b\tsay \"●\"\n\t2行 目")},
        // Corners given the other way round, and a block running off the sheet.
        {{3, 2, 2, 1}, QStringLiteral("a,b\tsay \"●\"\n\t2行 目")},
        {{3, 3, 9, 9}, QString()},
        {{1, 3, 9, 9}, QStringLiteral("43\t\t")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sheetToTsv(s, c.block), c.expected);
    EXPECT_EQ(sheetToTsv(s), QStringLiteral("回数\ta,b\tsay \"●\"\n 先頭の空白\t\t2行 目\n43\t\t"));
}
