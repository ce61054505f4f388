#include "core/sheet/sheet.h"
#include "core/sheet/sheet_json.h"
#include "support/fixtures.h"

#include <QJsonArray>
#include <gtest/gtest.h>

using namespace mirkano;

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

TEST(SheetJson, ListsOnlyCellsWithTextOrColourInRowOrder)
{
    Sheet s(3, 2);
    s.setText(3, 1, QStringLiteral("回"));
    s.setBackground(Block::cell(1, 2), Rgb{255, 200, 200});
    s.setText(2, 2, 12);
    const QJsonObject j = sheetToJson(s);
    EXPECT_EQ(j[QStringLiteral("columns")].toInt(), 3);
    EXPECT_EQ(j[QStringLiteral("rows")].toInt(), 2);
    const QJsonArray cells = j[QStringLiteral("cells")].toArray();
    ASSERT_EQ(cells.size(), 3);
    EXPECT_EQ(cells[0].toObject()[QStringLiteral("text")].toString(), QStringLiteral("回"));
    EXPECT_EQ(cells[1].toObject()[QStringLiteral("col")].toInt(), 1);
    EXPECT_EQ(cells[1].toObject()[QStringLiteral("bg")].toString(), QStringLiteral("#ffc8c8"));
    EXPECT_EQ(cells[1].toObject()[QStringLiteral("fg")].toString(), QStringLiteral("#000000"));
    EXPECT_EQ(cells[2].toObject()[QStringLiteral("text")].toString(), QStringLiteral("12"));
}
