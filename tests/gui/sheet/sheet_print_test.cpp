// Printing a sheet: pages painted from the sheet fill the page width with the
// cells where the layout says, a long sheet runs over pages with its header
// rows on every page (each table of a sheet of several its own), a wide one
// shrinks and then continues across with its label columns repeated, every
// page's header names the window, the game and the last draw and numbers the
// page, and a PDF holds as many pages as the layout has.

#include "gui_support.h"
#include "page_text.h"
#include "core/analysis/analysis.h"
#include "core/history/startup_tables.h"
#include "gui/sheet/grid_actions.h"
#include "gui/sheet/sheet_grid.h"
#include "gui/sheet/sheet_print.h"

#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTimer>
#include <QRegularExpression>
#include <QtTest>

using namespace mirkano;
using namespace mirkano::test;

namespace {

// One light-yellow header row over `rows` - 1 numbered rows, column 1 a
// light-cyan label column.
Sheet longSheet(int columns, int rows)
{
    Sheet s;
    s.setUp({.columns = columns, .rows = rows, .visibleColumns = columns, .visibleRows = 20,
             .scrollBars = ScrollBars::Both, .frozenRows = 1, .frozenColumns = 1, .columnWidth = 5,
             .rowHeight = 10});
    s.setBackground({1, 1, columns, 1}, colors::lightYellow);
    s.setBackground({1, 2, 1, rows}, colors::lightCyan);
    s.setText(1, 1, QStringLiteral("回数"));
    for (int r = 2; r <= rows; ++r)
        s.setText(1, r, r - 1);
    return s;
}

// Page `page` painted into an image `zoom` times the page's grid pixels.
QImage paintPage(const SheetPages& pages, int page, QSize pageSize, double zoom)
{
    QImage img((QSizeF(pageSize) * zoom).toSize(), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.scale(zoom, zoom);
    pages.paint(p, page, {QStringLiteral("出現間隔分析"), QStringLiteral("ロト6　第2137回まで")});
    return img;
}

// Bounding box of the pixels that match.
template <typename Match>
QRect inkOf(const QImage& img, QRect area, Match match)
{
    QRect box;
    area &= img.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (match(img.pixelColor(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

int pdfPages(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    return int(QString::fromLatin1(f.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

}  // namespace

class SheetPrintTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setFont(uiFont()); }

    // A known cell's red digits lie inside the cell's rectangle as laid out
    // on the page, drawn at the page's scale; the last column reaches the
    // right edge of the page: a half-width or broken page fails.
    void cellsFillThePageWidthWithTheirDigitsInPlace()
    {
        Sheet s = longSheet(12, 30);
        s.setText(5, 7, 2024);
        s.setColors(Block::cell(5, 7), colors::red, colors::white);
        s.setBackground({12, 2, 12, 30}, colors::lightRed);
        const QSize page(720, 1000);
        const SheetPages pages(s, page);
        QCOMPARE(pages.count(), 1);
        const int sheetWidth = 12 * GridUnits(sheetFont()).columnPixels(5);
        QCOMPARE(pages.scale(), 720.0 / sheetWidth);

        constexpr double zoom = 3;  // as a printer paints, at more dots than the screen
        const QImage img = paintPage(pages, 0, page, zoom);
        const QRectF cell = pages.cellRect(0, 5, 7);
        const QRect cellPx = QRectF(cell.topLeft() * zoom, cell.size() * zoom).toRect();
        const QRect ink = inkOf(img, img.rect(), [](QColor c) { return c.red() > 150 && c.green() < 100 && c.blue() < 100; });
        QVERIFY(!ink.isEmpty());
        QVERIFY2(cellPx.contains(ink), qPrintable(QStringLiteral("ink %1,%2 %3x%4 outside the cell")
                                                      .arg(ink.x()).arg(ink.y()).arg(ink.width()).arg(ink.height())));
        // Four digits of a 12-pixel font at the page's scale, not a blot or a speck.
        QVERIFY(ink.width() > 4 * 4 * pages.scale() * zoom);
        QVERIFY(ink.height() > 6 * pages.scale() * zoom);

        const QRect lastColumn = inkOf(img, QRect(0, int(cellPx.center().y()), img.width(), 1),
                                       [](QColor c) { return c == QColor(255, 200, 200); });
        QVERIFY(lastColumn.right() >= img.width() - 2 * zoom);
    }

    void aLongSheetRepeatsItsHeaderRowOnEveryPage()
    {
        const Sheet s = longSheet(5, 200);
        // At full size (the page as wide as the sheet) 16-pixel rows: below
        // the page header 60 fit, the header row and 59 data rows, so 199
        // data rows take 4 pages.
        const QSize page(5 * GridUnits(sheetFont()).columnPixels(5), SheetPages::kHeaderPixels + 60 * 16);
        const SheetPages pages(s, page);
        QCOMPARE(pages.count(), 4);
        QCOMPARE(pages.scale(), 1.0);
        int next = 2;
        for (int i = 0; i < pages.count(); ++i) {
            const auto& rows = pages.rows(i);
            QCOMPARE(rows.front(), 1);
            QCOMPARE(rows[1], next);  // no row lost or repeated between pages
            next = rows.back() + 1;

            const QImage img = paintPage(pages, i, page, 1);
            const int headerY = SheetPages::kHeaderPixels + 8;
            QCOMPARE(img.pixelColor(60, headerY), QColor(255, 255, 200));
            QCOMPARE(img.pixelColor(10, headerY + 16), QColor(200, 255, 255));
            // The caption and the page number are painted above the grid.
            auto dark = [&](int x1, int x2) {
                return !inkOf(img, QRect(x1, 0, x2 - x1, SheetPages::kHeaderPixels - 6),
                              [](QColor c) { return c.lightness() < 128; })
                            .isEmpty();
            };
            QVERIFY(dark(0, 80));
            QVERIFY(dark(page.width() - 60, page.width()));
        }
        QCOMPARE(next, 201);
        QCOMPARE(pageNumberText(2, 4), QStringLiteral("2 / 4 ページ"));
    }

    void aWideSheetShrinksThenContinuesAcrossWithItsLabelColumn()
    {
        const int colPx = GridUnits(sheetFont()).columnPixels(5);
        // Twice the page width fits at half size on one page across.
        const SheetPages fits(longSheet(20, 10), QSize(10 * colPx, 400));
        QCOMPARE(fits.count(), 1);
        QCOMPARE(fits.scale(), 0.5);
        QCOMPARE(int(fits.columns(0).size()), 20);

        // Four times the width does not: the label column repeats on each page.
        const SheetPages across(longSheet(40, 10), QSize(10 * colPx, 400));
        QCOMPARE(across.scale(), 0.5);
        QCOMPARE(across.count(), 3);  // 39 columns after the label column, 19 a page
        int seen = 1;
        for (int i = 0; i < across.count(); ++i) {
            QCOMPARE(across.columns(i).front(), 1);
            seen += int(across.columns(i).size()) - 1;
        }
        QCOMPARE(seen, 40);

        QCOMPARE(preferredOrientation(longSheet(40, 10)), QPageLayout::Landscape);
        QCOMPARE(preferredOrientation(longSheet(8, 400)), QPageLayout::Portrait);
    }

    // 数字合計分析 on the real history, printed into a PDF in the orientation
    // chosen for it: every page repeats the header rows, no row is lost, and
    // the PDF holds as many pages as the layout.
    void theRealNumberSumSheetPrintsIntoAPdf()
    {
        const History h = sampleHistory();
        const Analysis* a = findAnalysis("number-sum");
        QVERIFY(a);
        const Sheet s = a->build(h, buildStartupTables(h));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("number-sum.pdf"));
        int expected = 0;
        {
            QPdfWriter pdf(path);
            pdf.setResolution(600);
            pdf.setPageOrientation(preferredOrientation(s));
            const QRect area = pdf.pageLayout().paintRectPixels(600);
            const SheetPages pages(s, QSizeF(area.size()) / (600 / 96.0));
            expected = pages.count();
            QVERIFY(pages.scale() >= 0.75);  // legible
            int next = s.frozenRows() + 1;
            for (int i = 0; i < pages.count(); ++i) {
                const auto& rows = pages.rows(i);
                for (int r = 1; r <= s.frozenRows(); ++r)
                    QCOMPARE(rows[std::size_t(r - 1)], r);
                QCOMPARE(rows[std::size_t(s.frozenRows())], next);
                next = rows.back() + 1;
                QCOMPARE(int(pages.columns(i).size()), s.columns());
            }
            QCOMPARE(next, s.rows() + 1);
            printSheet(pdf, s, {a->facts.caption, historySourceText(GameId::Loto6, h)});
        }
        QVERIFY(expected > 1);
        QCOMPARE(pdfPages(path), expected);
    }

    // A sheet of two tables, a blank row between them: a page that goes on
    // inside the second table repeats the second table's header, not the
    // first's, and a table's header never stands alone at a page's foot.
    void eachTableRepeatsItsOwnHeader()
    {
        Sheet s = longSheet(5, 100);
        for (int c = 1; c <= 5; ++c)
            s.setText(c, 39, QString());
        s.setText(1, 40, QStringLiteral("数字"));
        // 40 rows to a page at full size: the first page would end on row 40,
        // the second table's header.
        const QSize page(5 * GridUnits(sheetFont()).columnPixels(5), SheetPages::kHeaderPixels + 40 * 16);
        const SheetPages pages(s, page, {40});
        QCOMPARE(pages.count(), 3);
        QCOMPARE(pages.rows(0).front(), 1);
        QCOMPARE(pages.rows(0).back(), 39);
        QCOMPARE(pages.rows(1).front(), 40);
        QCOMPARE(pages.rows(1)[1], 41);
        QCOMPARE(pages.rows(1).back(), 79);
        QCOMPARE(pages.rows(2).front(), 40);
        QCOMPARE(pages.rows(2)[1], 80);
        QCOMPARE(pages.rows(2).back(), 100);
        // Painted, the repeated header is the second table's.
        PageText text(page);
        {
            QPainter p(&text);
            pages.paint(p, 2, {QStringLiteral("統計的検定"), QStringLiteral("ミニロト　第1400回まで")}, 1, 5);
        }
        QVERIFY2(text.texts().contains(QStringLiteral("数字")), qPrintable(text.joined()));
        QVERIFY2(!text.texts().contains(QStringLiteral("回数")), qPrintable(text.joined()));
    }

    // The page header: the caption, the game and the last draw, and the page
    // among all pages of the printout, also where the sheet's pages are only
    // some of them.
    void thePageHeaderNamesTheGameTheLastDrawAndThePage()
    {
        const Sheet s = longSheet(12, 200);
        const QSize page(12 * GridUnits(sheetFont()).columnPixels(5), SheetPages::kHeaderPixels + 60 * 16);
        const SheetPages pages(s, page);
        QCOMPARE(pages.count(), 4);
        const PageHeader header{QStringLiteral("出現間隔分析"), QStringLiteral("ミニロト　第1400回まで")};
        const auto textsOf = [&](int at, int first, int total) {
            PageText text(page);
            QPainter p(&text);
            pages.paint(p, at, header, first, total);
            p.end();
            // A text of mixed scripts reaches the device in runs.
            return text.texts().join(QString());
        };
        const QString own = textsOf(1, 1, 0);
        QVERIFY2(own.startsWith(header.caption + header.source + QStringLiteral("2 / 4 ページ")), qPrintable(own));
        QVERIFY2(textsOf(1, 3, 9).contains(QStringLiteral("4 / 9 ページ")), qPrintable(textsOf(1, 3, 9)));
    }

    void theSourceNamesTheGameAndItsLastCompleteDraw_data()
    {
        QTest::addColumn<int>("game");
        QTest::addColumn<QString>("history");  // draw numbers, "x" after an incomplete one
        QTest::addColumn<QString>("text");
        QTest::newRow("Loto 6") << int(GameId::Loto6) << "1 2 3" << QStringLiteral("ロト6　第3回まで");
        QTest::newRow("Mini Loto, last incomplete") << int(GameId::MiniLoto) << "7 8 9x"
                                                    << QStringLiteral("ミニロト　第8回まで");
        QTest::newRow("Loto 7, none complete") << int(GameId::Loto7) << "5x" << QStringLiteral("ロト7　当選データなし");
        QTest::newRow("empty") << int(GameId::Loto6) << "" << QStringLiteral("ロト6　当選データなし");
    }

    void theSourceNamesTheGameAndItsLastCompleteDraw()
    {
        QFETCH(int, game);
        QFETCH(QString, history);
        QFETCH(QString, text);
        const GameId id = GameId(game);
        const Game& g = mirkano::game(id);
        History h;
        for (const QString& d : history.split(u' ', Qt::SkipEmptyParts)) {
            DrawRecord r;
            r.gameId = id;
            r.drawNo = QString(d).remove(u'x').toInt();
            for (int i = 0; i < g.numbersPerDraw(); ++i)
                r.numbers[std::size_t(i)] = i + 1;
            if (d.endsWith(u'x'))
                r.numbers[0] = 0;
            h.push_back(r);
        }
        QCOMPARE(historySourceText(id, h), text);
    }

    // The grid's 印刷… opens the preview in the orientation the sheet's shape
    // asks for; turning the page in the preview lays the sheet out anew.
    void thePreviewStartsInTheSheetsOrientationAndRelaysOutWhenTurned()
    {
        SheetGrid grid;
        grid.setSheet(longSheet(40, 300));
        int landscapePages = 0, portraitPages = 0;
        bool wasLandscape = false;
        auto* timer = new QTimer;
        timer->setInterval(20);
        QObject::connect(timer, &QTimer::timeout, timer, [&, timer] {
            auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            auto* preview = dialog->findChild<QPrintPreviewWidget*>();
            wasLandscape = preview->orientation() == QPageLayout::Landscape;
            landscapePages = preview->pageCount();
            preview->setPortraitOrientation();
            portraitPages = preview->pageCount();
            dialog->close();
            timer->deleteLater();
        });
        timer->start();
        GridActions::of(&grid)->print();
        QVERIFY(wasLandscape);
        QVERIFY(landscapePages > 0);
        QVERIFY(portraitPages > landscapePages);
    }
};

QTEST_MAIN(SheetPrintTest)
#include "sheet_print_test.moc"
