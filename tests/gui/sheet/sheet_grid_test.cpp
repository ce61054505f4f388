// The sheet grid: unit mapping, own size and scroll bars, frozen panes,
// painting of colours, borders and spill-over, read-only cells, long sheets.

#include "gui_support.h"
#include "gui/sheet/sheet_grid.h"

#include <QElapsedTimer>
#include <QScrollBar>
#include <QtTest>

using namespace mirkano;

class SheetGridTest : public QObject {
    Q_OBJECT

    static int countColor(const QImage& img, const QRect& r, QColor c)
    {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += img.pixelColor(x, y) == c;
        return n;
    }

    static QImage paint(SheetGrid& g) { return g.viewport()->grab().toImage(); }

    // Shows on g a sheet of the given width and 100 rows with two frozen rows
    // and one frozen column, five columns and ten rows in view.
    static void showFrozenSheet(SheetGrid& g, int columns)
    {
        Sheet s;
        s.setUp({.columns = columns, .rows = 100, .visibleColumns = 5, .visibleRows = 10,
                 .scrollBars = ScrollBars::Both, .frozenRows = 2, .frozenColumns = 1,
                 .columnWidth = 5, .rowHeight = 10});
        g.setSheet(s);
        g.resize(g.sizeHint());
        g.show();
    }

private slots:
    void initTestCase() { QApplication::setFont(uiFont()); }

    void unitsKeepTheProportions()
    {
        const GridUnits u(sheetFont());
        QCOMPARE(u.columnPixels(20), 10 * u.columnPixels(2));
        QCOMPARE(u.columnPixels(5) * 4, u.columnPixels(20));
        QCOMPARE(GridUnits::rowPixels(15), 24);
        QCOMPARE(GridUnits::rowPixels(10), 16);
        QCOMPARE(GridUnits::rowPixels(12), 19);
        QCOMPARE(twipsToPixels(8355), 557);
        QCOMPARE(twipsToPixels(3405), 227);
        // A "●" fits a column two wide.
        QVERIFY(QFontMetrics(sheetFont()).horizontalAdvance(QStringLiteral("●")) <= u.columnPixels(2));
    }

    void sizesItselfToTheVisibleCellsWithBarsOnlyWhenNeeded_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("visibleRows");
        QTest::addColumn<bool>("vbar");
        QTest::newRow("fits") << 10 << 10 << false;
        QTest::newRow("more rows than shown") << 40 << 10 << true;
    }

    void sizesItselfToTheVisibleCellsWithBarsOnlyWhenNeeded()
    {
        QFETCH(int, rows);
        QFETCH(int, visibleRows);
        QFETCH(bool, vbar);
        Sheet s;
        s.setUp({.columns = 2, .rows = rows, .visibleColumns = 2, .visibleRows = visibleRows,
                 .scrollBars = ScrollBars::Both, .frozenRows = 1, .frozenColumns = 0,
                 .columnWidth = 5, .rowHeight = 10});
        s.setColumnWidth(2, 20);
        SheetGrid g;
        g.setSheet(s);
        const int frame = 2 * g.frameWidth();
        const int w = g.columnPixels(1) + g.columnPixels(2);
        const int h = visibleRows * GridUnits::rowPixels(10);
        const int barW = vbar ? g.verticalScrollBar()->sizeHint().width() : 0;
        QCOMPARE(g.sizeHint(), QSize(w + barW + frame, h + frame));
        g.resize(g.sizeHint());
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        QCOMPARE(g.verticalScrollBar()->isVisible(), vbar);
        QVERIFY(!g.horizontalScrollBar()->isVisible());
        if (vbar) {
            // At the end of the range the last row is fully in view.
            g.verticalScrollBar()->setValue(g.verticalScrollBar()->maximum());
            const QRect last = g.cellRect(1, rows);
            QVERIFY(!last.isEmpty());
            QVERIFY(last.bottom() < g.viewport()->height());
        }
    }

    void frozenRowsAndColumnsStayWhileTheRestScrolls()
    {
        SheetGrid g;
        showFrozenSheet(g, 30);
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        g.verticalScrollBar()->setValue(10);
        g.horizontalScrollBar()->setValue(4);
        QCOMPARE(g.firstScrolledRow(), 13);
        QCOMPARE(g.firstScrolledColumn(), 6);
        QCOMPARE(g.cellRect(1, 1).topLeft(), QPoint(0, 0));
        QCOMPARE(g.cellRect(1, 13).top(), 2 * GridUnits::rowPixels(10));
        QCOMPARE(g.cellRect(6, 2).left(), g.columnPixels(1));
        QVERIFY(g.cellRect(3, 3).isEmpty());  // scrolled out of view
    }

    void paintsColoursBordersAndSpillOver()
    {
        Sheet s;
        s.setUp({.columns = 4, .rows = 3, .visibleColumns = 4, .visibleRows = 3,
                 .scrollBars = ScrollBars::None, .frozenRows = 0, .frozenColumns = 0,
                 .columnWidth = 5, .rowHeight = 10});
        s.setBackground(Block::cell(1, 1), {255, 255, 200});
        s.setBorder(Block::cols(1, 4, 2, 2), BorderAll, {136, 196, 255});
        s.setAllowOverflow(true);
        const QString longText = QStringLiteral("■■■■■■■■■■");
        s.setText(1, 3, longText);
        s.setForeground(Block::cols(1, 4, 3, 3), {255, 0, 0});
        s.setHAlign(Block::cols(1, 4, 3, 3), HAlign::Left);
        // A centred text spills to both sides, but not over a cell another
        // text already runs across.
        s.setText(4, 3, QStringLiteral("■■■■■■■■"));
        s.setForeground(Block::cell(4, 3), {0, 0, 255});
        s.setHAlign(Block::cell(4, 3), HAlign::Center);
        s.setActiveCell(0, 0);
        SheetGrid g;
        g.setSheet(s);
        g.resize(g.sizeHint());
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));

        QImage img = paint(g);
        const QRect c11 = g.cellRect(1, 1), c12 = g.cellRect(1, 2), c23 = g.cellRect(2, 3);
        QCOMPARE(img.pixelColor(c11.center()), QColor(255, 255, 200));
        QCOMPARE(img.pixelColor(c12.right(), c12.center().y()), QColor(136, 196, 255));
        QCOMPARE(img.pixelColor(c12.center().x(), c12.bottom()), QColor(136, 196, 255));
        // The long text runs on over the empty cell to its right ...
        QVERIFY(countColor(img, c23, Qt::red) > 0);
        QCOMPARE(countColor(img, g.cellRect(3, 3), Qt::blue), 0);
        QVERIFY(countColor(img, g.cellRect(4, 3), Qt::blue) > 0);

        // ... but not over a cell with text of its own, nor without spill-over.
        s.setText(2, 3, QStringLiteral(" "));
        g.setSheet(s);
        img = paint(g);
        QCOMPARE(countColor(img, c23.adjusted(c23.width() / 2, 0, 0, 0), Qt::red), 0);
        QVERIFY(countColor(img, g.cellRect(3, 3), Qt::blue) > 0);  // now free for the centred text
        s.setText(2, 3, QString());
        s.setAllowOverflow(false);
        g.setSheet(s);
        img = paint(g);
        QCOMPARE(countColor(img, c23, Qt::red), 0);
    }

    void staticCellsCannotBeEditedButTheActiveCellMoves()
    {
        Sheet s;
        s.setUp({.columns = 3, .rows = 3, .visibleColumns = 3, .visibleRows = 3,
                 .scrollBars = ScrollBars::None, .frozenRows = 0, .frozenColumns = 0,
                 .columnWidth = 5, .rowHeight = 10});
        s.setText(1, 1, QStringLiteral("1"));
        SheetGrid g;
        g.setSheet(s);
        g.resize(g.sizeHint());
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, g.cellRect(1, 1).center());
        QCOMPARE(QPoint(g.activeColumn(), g.activeRow()), QPoint(1, 1));
        QTest::keyClicks(&g, QStringLiteral("99"));
        QTest::keyClick(&g, Qt::Key_Return);
        QCOMPARE(g.sheet().text(1, 1), QStringLiteral("1"));
        QCOMPARE(QPoint(g.activeColumn(), g.activeRow()), QPoint(1, 2));  // Enter moves on
        QTest::keyClick(&g, Qt::Key_Right);
        QCOMPARE(QPoint(g.activeColumn(), g.activeRow()), QPoint(2, 2));
    }

    // Keys move the active cell as in a spreadsheet, and the view follows.
    // The sheet: 10 columns x 100 rows, 5 x 10 in view, 2 rows and 1 column
    // frozen, so a page is the 8 scrolled rows in view.
    void keysMoveAsInASpreadsheet_data()
    {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QPoint>("to");
        const int none = Qt::NoModifier, ctrl = Qt::ControlModifier;
        QTest::newRow("Home") << QPoint(7, 20) << int(Qt::Key_Home) << none << QPoint(1, 20);
        QTest::newRow("End") << QPoint(3, 20) << int(Qt::Key_End) << none << QPoint(10, 20);
        QTest::newRow("Ctrl+Home") << QPoint(7, 80) << int(Qt::Key_Home) << ctrl << QPoint(1, 1);
        QTest::newRow("Ctrl+End") << QPoint(3, 20) << int(Qt::Key_End) << ctrl << QPoint(10, 100);
        QTest::newRow("PageDown") << QPoint(2, 3) << int(Qt::Key_PageDown) << none << QPoint(2, 11);
        QTest::newRow("PageDown at the end") << QPoint(2, 97) << int(Qt::Key_PageDown) << none << QPoint(2, 100);
        QTest::newRow("PageUp") << QPoint(2, 50) << int(Qt::Key_PageUp) << none << QPoint(2, 42);
        QTest::newRow("PageUp at the start") << QPoint(2, 5) << int(Qt::Key_PageUp) << none << QPoint(2, 1);
        QTest::newRow("Down") << QPoint(2, 99) << int(Qt::Key_Down) << none << QPoint(2, 100);
    }

    void keysMoveAsInASpreadsheet()
    {
        QFETCH(QPoint, from);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QPoint, to);
        SheetGrid g;
        showFrozenSheet(g, 10);
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        g.setActiveCell(from.x(), from.y());
        QTest::keyClick(&g, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(QPoint(g.activeColumn(), g.activeRow()), to);
        // The active cell is wholly in view, frozen panes included.
        const QRect r = g.cellRect(to.x(), to.y());
        QVERIFY(!r.isEmpty());
        QVERIFY(g.viewport()->rect().contains(r));
        if (to == QPoint(1, 1)) {
            QCOMPARE(g.horizontalScrollBar()->value(), 0);
            QCOMPARE(g.verticalScrollBar()->value(), 0);
        }
    }

    void aLongSheetPaintsOnlyWhatIsInView()
    {
        // The size of the dispersion sheet over a long history.
        Sheet s;
        s.setUp({.columns = 45, .rows = 2141, .visibleColumns = 45, .visibleRows = 47,
                 .scrollBars = ScrollBars::Both, .frozenRows = 2, .frozenColumns = 1,
                 .columnWidth = 2, .rowHeight = 10});
        for (int r = 1; r <= 2141; ++r)
            for (int c = 1; c <= 45; c += 6)
                s.setText(c, r, QStringLiteral("●"));
        s.setBorder(Block::cols(1, 45, 2, 2141), BorderAll, {136, 196, 255});
        SheetGrid g;
        QElapsedTimer t;
        t.start();
        g.setSheet(s);
        g.resize(g.sizeHint());
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        for (int v : {0, 500, 1000, 1500, g.verticalScrollBar()->maximum()}) {
            g.verticalScrollBar()->setValue(v);
            paint(g);
        }
        QVERIFY2(t.elapsed() < 2000, qPrintable(QString::number(t.elapsed())));
        QVERIFY(!g.cellRect(1, 2141).isEmpty());
    }
};

QTEST_MAIN(SheetGridTest)
#include "sheet_grid_test.moc"
