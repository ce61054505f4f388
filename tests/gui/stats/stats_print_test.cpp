// Printing 統計的検定: every chart prints across the page whether or not its
// tab was ever shown, the numbers' table goes on under its own header, and
// every page names the game, the last draw and its number among all pages.

#include "gui_support.h"
#include "page_text.h"
#include "gui/stats/stats_print.h"
#include "gui/stats/stats_window.h"

#include <QChart>
#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace mirkano;
using namespace mirkano::test;

namespace {

// The printable area of a landscape A4 page within 10 mm margins, in grid
// pixels.
const QSizeF kLandscape((297.0 - 20.0) / 25.4 * 96.0, (210.0 - 20.0) / 25.4 * 96.0);

StatsPrintout printoutOf(const StatsWindow& w)
{
    return StatsPrintout(w.grid()->sheet(), {w.frequencyChart()->chart(), w.sumChart()->chart(), w.predictionChart()->chart()},
                         {kStatsCaption, w.printSource()}, kLandscape);
}

}  // namespace

class StatsPrintTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setFont(uiFont()); }

    void everyPageIsPrintedWholeAndNamed_data()
    {
        QTest::addColumn<int>("game");
        QTest::addColumn<QString>("source");
        QTest::newRow("Loto 6") << int(GameId::Loto6) << QStringLiteral("ロト6　第2137回まで");
        QTest::newRow("Mini Loto") << int(GameId::MiniLoto) << QStringLiteral("ミニロト　第1400回まで");
    }

    // A window never shown: only its first tab would ever have been laid out.
    void everyPageIsPrintedWholeAndNamed()
    {
        QFETCH(int, game);
        QFETCH(QString, source);
        StatsWindow w;
        w.load(sampleHistory(GameId(game)), GameId(game), ReflectFlags{});
        QVERIFY(w.waitForReport());
        const StatsPrintout printout = printoutOf(w);
        const int sheetPages = printout.sheetPages().count();
        QCOMPARE(printout.count(), sheetPages + 3);
        const QSizeF chartSize = w.sumChart()->chart()->size();

        for (int page = 0; page < printout.count(); ++page) {
            PageText text(kLandscape.toSize());
            {
                QPainter p(&text);
                printout.paint(p, page);
            }
            const QString all = text.texts().join(QString());
            QVERIFY2(all.startsWith(kStatsCaption + source + pageNumberText(page + 1, printout.count())),
                     qPrintable(all));
            if (page < sheetPages)
                continue;

            // The chart fills the page's width and draws its bars and axes,
            // not a title over an empty page.
            QImage img(kLandscape.toSize(), QImage::Format_RGB32);
            img.fill(Qt::white);
            {
                QPainter p(&img);
                printout.paint(p, page);
            }
            const QRect area = printout.chartArea().toRect() & img.rect();
            QRect ink;
            int inked = 0;
            for (int y = area.top() + 2; y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    if (const QColor c = img.pixelColor(x, y); c.lightness() < 200) {
                        ink |= QRect(x, y, 1, 1);
                        ++inked;
                    }
            QVERIFY2(inked > area.width() * area.height() / 50, qPrintable(QString::number(inked)));
            QVERIFY2(ink.width() > area.width() * 0.85, qPrintable(QString::number(ink.width())));
            QVERIFY2(ink.height() > area.height() * 0.7, qPrintable(QString::number(ink.height())));
        }
        // On screen the charts keep their own size.
        QCOMPARE(w.sumChart()->chart()->size(), chartSize);
    }

    // The sheet holds the tests and then the numbers, each table under its
    // header: a page that goes on with the numbers repeats the numbers'
    // header, and every row prints once.
    void theNumbersTableGoesOnUnderItsOwnHeader()
    {
        StatsWindow w;
        w.load(sampleHistory(), GameId::Loto6, ReflectFlags{});
        QVERIFY(w.waitForReport());
        const Sheet& sheet = w.grid()->sheet();
        const std::vector<int> starts = tablesAfterBlankRows(sheet);
        QCOMPARE(int(starts.size()), 1);
        const int numbers = starts.front();
        QCOMPARE(sheet.text(1, numbers), QStringLiteral("数字"));

        const StatsPrintout printout = printoutOf(w);
        const SheetPages& pages = printout.sheetPages();
        QVERIFY(pages.count() > 1);
        std::vector<int> printed(std::size_t(sheet.rows()) + 1);
        for (int p = 0; p < pages.count(); ++p) {
            const std::vector<int>& rows = pages.rows(p);
            const bool repeats = p > 0 && rows.front() != rows[1] - 1;
            if (p > 0 && repeats)
                QCOMPARE(rows.front(), rows[1] > numbers ? numbers : 1);
            for (std::size_t i = repeats ? 1 : 0; i < rows.size(); ++i)
                ++printed[std::size_t(rows[i])];
            QVERIFY(rows.back() != numbers);
        }
        for (int r = 1; r <= sheet.rows(); ++r)
            QCOMPARE(printed[std::size_t(r)], 1);
    }
};

QTEST_MAIN(StatsPrintTest)
#include "stats_print_test.moc"
