// Printing a sheet: a long sheet runs over pages with its header rows on
// every page, a wide one shrinks and then continues across with its label
// columns repeated, and a PDF holds as many pages as the layout has.

#include "gui_support.h"
#include "gui/sheet/sheet_print.h"

#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QtTest>

using namespace mirkano;

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

}  // namespace

class SheetPrintTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setFont(uiFont()); }

    void aLongSheetRepeatsItsHeaderRowOnEveryPage()
    {
        const Sheet s = longSheet(5, 200);
        // 16-pixel rows: below the page header 60 fit, the header row and 59
        // data rows, so 199 data rows take 4 pages.
        const QSize page(600, SheetPages::kHeaderPixels + 60 * 16);
        const SheetPages pages(s, page);
        QCOMPARE(pages.count(), 4);
        QCOMPARE(pages.shrink(), 1.0);
        int next = 2;
        for (int i = 0; i < pages.count(); ++i) {
            const auto& rows = pages.rows(i);
            QCOMPARE(rows.front(), 1);
            QCOMPARE(rows[1], next);  // no row lost or repeated between pages
            next = rows.back() + 1;

            QImage img(page, QImage::Format_RGB32);
            img.fill(Qt::white);
            QPainter p(&img);
            pages.paint(p, i, QStringLiteral("出現間隔分析"));
            p.end();
            const int headerY = SheetPages::kHeaderPixels + 8;
            QCOMPARE(img.pixelColor(60, headerY), QColor(255, 255, 200));
            QCOMPARE(img.pixelColor(10, headerY + 16), QColor(200, 255, 255));
            // The caption and the page number are painted above the grid.
            auto dark = [&](int x1, int x2) {
                for (int y = 0; y < SheetPages::kHeaderPixels - 6; ++y)
                    for (int x = x1; x < x2; ++x)
                        if (img.pixelColor(x, y).lightness() < 128)
                            return true;
                return false;
            };
            QVERIFY(dark(0, 80));
            QVERIFY(dark(page.width() - 80, page.width()));
        }
        QCOMPARE(next, 201);
        QCOMPARE(pageNumberText(2, 4), QStringLiteral("2 / 4 ページ"));

        // A page's own sheet keeps the cells, not the screen's active cell.
        const Sheet last = pages.pageSheet(3);
        QCOMPARE(last.text(1, 1), QStringLiteral("回数"));
        QCOMPARE(last.text(1, last.rows()), QStringLiteral("199"));
        QCOMPARE(last.frozenRows(), 1);
        QCOMPARE(last.activeColumn(), 0);
    }

    void aWideSheetShrinksThenContinuesAcrossWithItsLabelColumn()
    {
        const int colPx = GridUnits(sheetFont()).columnPixels(5);
        // Twice the page width fits at half size on one page across.
        const SheetPages fits(longSheet(20, 10), QSize(10 * colPx, 400));
        QCOMPARE(fits.count(), 1);
        QCOMPARE(fits.shrink(), 0.5);
        QCOMPARE(int(fits.columns(0).size()), 20);

        // Four times the width does not: the label column repeats on each page.
        const SheetPages across(longSheet(40, 10), QSize(10 * colPx, 400));
        QCOMPARE(across.shrink(), 0.5);
        QCOMPARE(across.count(), 3);  // 39 columns after the label column, 19 a page
        int seen = 1;
        for (int i = 0; i < across.count(); ++i) {
            QCOMPARE(across.columns(i).front(), 1);
            seen += int(across.columns(i).size()) - 1;
        }
        QCOMPARE(seen, 40);
    }

    void aPdfHoldsEveryPage()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sheet.pdf"));
        const Sheet s = longSheet(8, 400);
        int expected = 0;
        {
            QPdfWriter pdf(path);
            pdf.setResolution(300);
            const QRect area = pdf.pageLayout().paintRectPixels(300);
            expected = SheetPages(s, QSizeF(area.size()) / (300 / 96.0)).count();
            printSheet(pdf, s, QStringLiteral("数字間隔分析"));
        }
        QVERIFY(expected > 1);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromLatin1(f.readAll());
        QCOMPARE(int(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]")))), expected);
    }
};

QTEST_MAIN(SheetPrintTest)
#include "sheet_print_test.moc"
