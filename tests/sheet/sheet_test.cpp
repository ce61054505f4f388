#include "core/sheet/sheet.h"
#include "core/sheet/sheet_json.h"
#include "support/fixtures.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <sstream>

using namespace mirkano;
using mirkano::test::rowTexts;

TEST(Sheet, WritesOutsideTheSheetAreIgnored)
{
    Sheet s(3, 2);
    s.setText(0, 1, QStringLiteral("x"));
    s.setText(4, 1, QStringLiteral("x"));
    s.setText(1, 3, QStringLiteral("x"));
    s.setText(-1, -1, QStringLiteral("x"));
    s.setBackground({5, 5, 9, 9}, colors::red);
    s.setColumnWidth(7, 30);
    s.setRowHeight(0, 30);
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 3; ++c) {
            EXPECT_TRUE(s.text(c, r).isEmpty());
            EXPECT_EQ(s.cell(c, r).bg, colors::white);
        }
    // Reading outside gives an empty default cell.
    EXPECT_TRUE(s.text(9, 9).isEmpty());
    EXPECT_EQ(s.cell(0, 0).fg, colors::black);
}

TEST(Sheet, BlockOperationsAreClippedToTheSheet)
{
    Sheet s(4, 4);
    s.setColors({3, 3, 10, 10}, colors::blue, colors::lightYellow);
    s.setHAlign({3, 3, 10, 10}, HAlign::Left);
    for (int r = 1; r <= 4; ++r)
        for (int c = 1; c <= 4; ++c) {
            const bool inside = c >= 3 && r >= 3;
            EXPECT_EQ(s.cell(c, r).fg, inside ? colors::blue : colors::black) << c << "," << r;
            EXPECT_EQ(s.cell(c, r).bg, inside ? colors::lightYellow : colors::white);
            EXPECT_EQ(s.cell(c, r).hAlign, inside ? HAlign::Left : HAlign::Center);
        }
}

TEST(Sheet, OutlineBordersOnlyTheBlockEdgesAndClearRemovesThem)
{
    Sheet s(5, 5);
    const Rgb c{136, 196, 255};
    s.setBorder({2, 2, 4, 4}, BorderOutline, c);
    EXPECT_TRUE(s.cell(2, 3).left.on);
    EXPECT_EQ(s.cell(2, 3).left.color, c);
    EXPECT_FALSE(s.cell(2, 3).right.on);
    EXPECT_TRUE(s.cell(4, 4).right.on && s.cell(4, 4).bottom.on);
    EXPECT_TRUE(s.cell(3, 2).top.on);
    EXPECT_FALSE(s.cell(3, 3).top.on || s.cell(3, 3).left.on || s.cell(3, 3).right.on ||
                 s.cell(3, 3).bottom.on);

    s.setBorder({1, 1, 5, 5}, BorderAll, colors::red);
    s.clearBorder({2, 1, 4, 1});
    s.setBorder({4, 1, 4, 1}, BorderRight, colors::blue);
    EXPECT_FALSE(s.cell(3, 1).left.on || s.cell(3, 1).top.on);
    EXPECT_TRUE(s.cell(1, 1).right.on);
    EXPECT_TRUE(s.cell(4, 1).right.on);
    EXPECT_EQ(s.cell(4, 1).right.color, colors::blue);
    EXPECT_FALSE(s.cell(4, 1).left.on);
}

TEST(Sheet, SetUpAndResizeKeepContentsAndWidths)
{
    Sheet s;
    s.setUp({.columns = 3, .rows = 4, .visibleColumns = 3, .visibleRows = 2,
             .scrollBars = ScrollBars::Vertical, .frozenRows = 1, .frozenColumns = 1,
             .columnWidth = 7, .rowHeight = 10});
    s.setColumnWidth(2, 20);
    s.setRowHeight(1, 15);
    s.setText(3, 4, QStringLiteral("last"));
    s.setText(1, 1, QStringLiteral("first"));
    EXPECT_EQ(s.columnWidth(1), 7);
    EXPECT_EQ(s.columnWidth(2), 20);
    EXPECT_EQ(s.rowHeight(1), 15);
    EXPECT_EQ(s.rowHeight(4), 10);
    EXPECT_EQ(s.cell(2, 2).kind, CellKind::Static);
    EXPECT_EQ(s.cell(2, 2).vAlign, VAlign::Center);

    s.setSize(2, 6);
    EXPECT_EQ(s.text(1, 1), QStringLiteral("first"));
    EXPECT_TRUE(s.text(3, 4).isEmpty());
    EXPECT_EQ(s.columnWidth(2), 20);
    EXPECT_EQ(s.rowHeight(6), 10);  // new rows take the default height

    s.setAllColumnWidths(2);
    EXPECT_EQ(s.columnWidth(1), 2);
    EXPECT_EQ(s.columnWidth(2), 2);
}

TEST(Sheet, TextsOfNumbersWordsAndEmptyReplaceEachOther)
{
    // Number texts are shared, other texts belong to their cell: every
    // sequence of writes must leave each cell with its own last text.
    Sheet s(3, 3);
    s.setText(1, 1, 7);
    s.setText(2, 1, QStringLiteral("回"));
    s.setText(3, 1, -5);
    s.setText(1, 2, Sheet::kSharedNumbers);
    s.setText(2, 2, Sheet::kSharedNumbers - 1);
    EXPECT_EQ(rowTexts(s, 1, 1, 3), (QStringList{"7", "回", "-5"}));
    EXPECT_EQ(s.text(1, 2), QString::number(Sheet::kSharedNumbers));
    EXPECT_EQ(s.text(2, 2), QString::number(Sheet::kSharedNumbers - 1));

    s.setText(2, 1, 12);                    // word → number
    s.setText(1, 1, QStringLiteral("a"));   // number → word
    s.setText(3, 1, QString());             // word → empty
    s.setText(3, 3, QStringLiteral("b"));   // takes the entry the cleared cell gave up
    s.setText(1, 1, QStringLiteral("c"));   // word → word
    EXPECT_EQ(rowTexts(s, 1, 1, 3), (QStringList{"c", "12", ""}));
    EXPECT_EQ(s.text(3, 3), QStringLiteral("b"));

    // Cells cut off by a resize give up their texts; cells that stay keep theirs.
    s.setSize(1, 3);
    s.setText(1, 3, QStringLiteral("d"));
    s.setSize(3, 3);
    EXPECT_EQ(rowTexts(s, 1, 1, 3), (QStringList{"c", "", ""}));
    EXPECT_EQ(rowTexts(s, 3, 1, 3), (QStringList{"d", "", ""}));
    EXPECT_EQ(s.cell(1, 1).text, QStringLiteral("c"));
}

// The mark and the texts a sheet shares among its cells mix with numbers and
// a cell's own texts: overwriting or clearing one cell leaves the others.
TEST(Sheet, MarksAndSharedTextsReplaceAndAreReplacedLikeOtherTexts)
{
    Sheet s(3, 2);
    const std::uint32_t before = s.addSharedText(QStringLiteral("3回前"));
    const std::uint32_t empty = s.addSharedText(QString());
    s.setSharedText(1, 1, before);
    s.setSharedText(2, 1, before);
    s.setText(3, 1, QStringLiteral("●"));
    s.setText(1, 2, QStringLiteral("own"));
    s.setSharedText(1, 2, before);            // own → shared
    s.setText(2, 2, QStringLiteral("●"));
    s.setText(2, 2, 5);                       // mark → number
    s.setSharedText(3, 2, empty);
    EXPECT_EQ(rowTexts(s, 1, 1, 3), (QStringList{"3回前", "3回前", "●"}));
    EXPECT_EQ(rowTexts(s, 2, 1, 3), (QStringList{"3回前", "5", ""}));
    s.setText(1, 1, QString());               // shared → empty
    s.setText(2, 1, QStringLiteral("x"));     // shared → own
    s.setText(3, 1, QStringLiteral("y"));     // mark → own
    EXPECT_EQ(rowTexts(s, 1, 1, 3), (QStringList{"", "x", "y"}));
    const Sheet copy = s;
    EXPECT_EQ(rowTexts(copy, 2, 1, 2), (QStringList{"3回前", "5"}));
}

TEST(Sheet, SetUpOfAKeptSheetCentresItsCellsAgain)
{
    Sheet s(2, 2);
    s.setHAlign({1, 1, 2, 2}, HAlign::Left);
    s.setKind({1, 1, 2, 2}, CellKind::Edit);
    s.setBackground(Block::cell(1, 1), colors::red);
    s.setUp({.columns = 3, .rows = 2, .visibleColumns = 3, .visibleRows = 2});
    for (int c = 1; c <= 3; ++c) {
        EXPECT_EQ(s.cell(c, 1).hAlign, HAlign::Center) << c;
        EXPECT_EQ(s.cell(c, 2).kind, CellKind::Static) << c;
    }
    EXPECT_EQ(s.cell(1, 1).bg, colors::red);
}

namespace {

std::string jsonOf(const Sheet& s, std::vector<std::pair<QString, QString>> fields = {})
{
    std::ostringstream out;
    writeSheetJson(out, s, std::move(fields));
    return out.str();
}

}  // namespace

TEST(SheetJson, ExactFormOfASmallSheet)
{
    // Only cells with text or colour, row by row, keys sorted, one line.
    Sheet s(3, 2);
    s.setText(3, 1, QStringLiteral("回"));
    s.setBackground(Block::cell(1, 2), Rgb{255, 200, 200});
    s.setText(2, 2, 12);
    s.setForeground(Block::cell(2, 2), Rgb{1, 171, 16});
    EXPECT_EQ(jsonOf(s, {{QStringLiteral("caption"), QStringLiteral("出現\"頻度\"")},
                         {QStringLiteral("analysis"), QStringLiteral("x")}}),
              "{\"analysis\":\"x\",\"caption\":\"出現\\\"頻度\\\"\",\"cells\":["
              "{\"bg\":\"#ffffff\",\"col\":3,\"fg\":\"#000000\",\"row\":1,\"text\":\"回\"},"
              "{\"bg\":\"#ffc8c8\",\"col\":1,\"fg\":\"#000000\",\"row\":2,\"text\":\"\"},"
              "{\"bg\":\"#ffffff\",\"col\":2,\"fg\":\"#01ab10\",\"row\":2,\"text\":\"12\"}"
              "],\"columns\":3,\"rows\":2}\n");
    EXPECT_EQ(jsonOf(Sheet{}), "{\"cells\":[],\"columns\":0,\"rows\":0}\n");
    // The document-tree form holds the same object.
    EXPECT_EQ(QJsonDocument::fromJson(QByteArray::fromStdString(jsonOf(s))).object(), sheetToJson(s));
    EXPECT_EQ(colorName(Rgb{1, 171, 16}), QStringLiteral("#01ab10"));
}

TEST(SheetJson, TextsAreWrittenAsQtsJsonWriterWritesThem)
{
    // Every UTF-16 unit alone (control characters, quotes, lone surrogates),
    // surrogate pairs and a long text across the output buffer's flushes.
    QStringList texts;
    for (int u = 0; u <= 0xffff; ++u)
        texts << QString(QChar(char16_t(u)));
    texts << QStringLiteral("😀a😀") << QString(QChar(0xdc00)) + QChar(0xd800)
          << QString(100000, QChar(u'字'));
    Sheet s(1, int(texts.size()));
    for (int i = 0; i < texts.size(); ++i)
        s.setText(1, i + 1, texts[i]);

    QJsonArray cells;
    for (int i = 0; i < texts.size(); ++i)
        cells.append(QJsonObject{{QStringLiteral("col"), 1}, {QStringLiteral("row"), i + 1},
                                 {QStringLiteral("text"), texts[i]},
                                 {QStringLiteral("fg"), QStringLiteral("#000000")},
                                 {QStringLiteral("bg"), QStringLiteral("#ffffff")}});
    const QJsonObject expected{{QStringLiteral("cells"), cells},
                               {QStringLiteral("columns"), 1},
                               {QStringLiteral("rows"), int(texts.size())}};
    EXPECT_EQ(jsonOf(s), (QJsonDocument(expected).toJson(QJsonDocument::Compact) + '\n').toStdString());
}
