// The statistics window: its sheet and its three charts hold the figures of
// the same report the command-line tool prints, the charts paint, and the
// window prints the sheet and a page per chart.

#include "gui_support.h"
#include "core/stats/stats_report.h"
#include "gui/sheet/sheet_print.h"
#include "gui/stats/stats_print.h"
#include "gui/stats/stats_window.h"

#include <QAreaSeries>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QPushButton>
#include <QSignalSpy>
#include <QValueAxis>
#include <QChart>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTabWidget>
#include <QtTest>

using namespace mirkano;
using namespace mirkano::test;

namespace {

template <class Series>
Series* seriesOf(QChartView* view)
{
    for (QAbstractSeries* s : view->chart()->series())
        if (auto* x = qobject_cast<Series*>(s))
            return x;
    return nullptr;
}

// Pixels of the image that are neither white nor the background grey: what
// the chart painted.
int paintedPixels(QWidget* w)
{
    QImage image(w->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    w->render(&image);
    int n = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            n += image.pixel(x, y) != qRgb(255, 255, 255);
    return n;
}

}  // namespace

class StatsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setFont(uiFont()); }

    void chartsHoldTheReportsFigures()
    {
        for (const Game& g : games()) {
            const History history = sampleHistory(g.id);
            StatsWindow w;
            w.load(history, g.id, ReflectFlags{});
            w.show();
            // Computed off the GUI thread: load returns at once.
            QVERIFY(w.isComputing());
            QVERIFY(!w.printButton()->isEnabled());
            QVERIFY(w.waitForReport());
            QVERIFY(w.printButton()->isEnabled());
            const stats::StatsReport& r = w.report();
            QCOMPARE(r.history.draws, int(history.size()));

            // The sheet is the report's.
            const Sheet expected = stats::buildStatsSheet(r);
            QCOMPARE(w.grid()->sheet().rows(), expected.rows());
            for (int row = 1; row <= expected.rows(); ++row)
                QCOMPARE(w.grid()->sheet().text(6, row), expected.text(6, row));
            QCOMPARE(w.summary()->text(), stats::statsHeadline(r));
            QVERIFY(w.summary()->text().contains(g.name.toString()));
            QVERIFY(w.summary()->text().contains(QStringLiteral("8個の検定を実施")));
            // Every column of both header rows has its title.
            for (int col = 1; col <= expected.columns(); ++col) {
                QVERIFY(!expected.text(col, 1).isEmpty());
                QVERIFY(!expected.text(col, 2 + stats::kFamilySize + 1).isEmpty());
            }

            // Frequency: a bar per number, the expected count and its band.
            QBarSet* counts = seriesOf<QBarSeries>(w.frequencyChart())->barSets().first();
            QCOMPARE(counts->count(), g.pool);
            for (const stats::NumberTest& n : r.history.numbers)
                QCOMPARE(counts->at(n.number - 1), double(n.observed));
            const double mean = double(r.history.draws) * g.mains / g.pool;
            QCOMPARE(seriesOf<QLineSeries>(w.frequencyChart())->at(0).y(), mean);
            QAreaSeries* band = seriesOf<QAreaSeries>(w.frequencyChart());
            QVERIFY(band->upperSeries()->at(0).y() > mean && band->lowerSeries()->at(0).y() < mean);

            // Sums: the bins hold every draw, the curve the exact law's counts.
            QBarSet* sums = seriesOf<QBarSeries>(w.sumChart())->barSets().first();
            double binned = 0;
            for (int i = 0; i < sums->count(); ++i)
                binned += sums->at(i);
            QCOMPARE(binned, double(r.history.draws));
            double curve = 0;
            for (const QPointF& p : seriesOf<QLineSeries>(w.sumChart())->points())
                curve += p.y();
            QVERIFY(std::abs(curve - r.history.draws) < 1e-6 * r.history.draws);
            // At the window's size the sums' labels are whole round values
            // (no "1…"), and the count axis ticks on round numbers.
            w.tabs()->setCurrentWidget(w.sumChart());
            QCoreApplication::processEvents();
            auto* sumAxis = qobject_cast<QCategoryAxis*>(w.sumChart()->chart()->axes(Qt::Horizontal).first());
            QVERIFY(sumAxis);
            QVERIFY(sumAxis->categoriesLabels().size() <= 12);
            for (const QString& label : sumAxis->categoriesLabels())
                QVERIFY2(label.toInt() % 10 == 0 && label.toInt() > 0, qPrintable(label));
            const QFontMetrics metrics(sumAxis->labelsFont());
            const double plotWidth = w.sumChart()->chart()->plotArea().width();
            QVERIFY(metrics.horizontalAdvance(QStringLiteral("000")) <
                    plotWidth / sumAxis->categoriesLabels().size());
            for (QChartView* view : {w.frequencyChart(), w.sumChart(), w.predictionChart()}) {
                auto* y = qobject_cast<QValueAxis*>(view->chart()->axes(Qt::Vertical).first());
                const double step = (y->max() - y->min()) / (y->tickCount() - 1);
                const double scale = std::pow(10.0, std::floor(std::log10(step)));
                const double mantissa = step / scale;
                QVERIFY2(std::abs(mantissa - std::round(mantissa)) < 1e-9 && y->min() == 0,
                         qPrintable(QString::number(step)));
            }

            // The prediction test: 0 … k matches, prediction beside chance.
            const QList<QBarSet*> sets = seriesOf<QBarSeries>(w.predictionChart())->barSets();
            QCOMPARE(sets.size(), 4);
            QCOMPARE(sets[0]->count(), g.mains + 1);
            for (int k = 0; k <= g.mains; ++k) {
                QCOMPARE(sets[0]->at(k), double(r.backtest.single[std::size_t(k)]));
                QCOMPARE(sets[1]->at(k), r.backtest.expectedSingle[std::size_t(k)] * r.backtest.draws);
                QCOMPARE(sets[2]->at(k), double(r.backtest.multiple[std::size_t(k)]));
            }

            // Each chart paints.
            for (int tab = 1; tab < w.tabs()->count(); ++tab) {
                w.tabs()->setCurrentIndex(tab);
                QVERIFY2(paintedPixels(w.tabs()->currentWidget()) > 2000, qPrintable(w.tabs()->tabText(tab)));
            }
        }
    }

    // A change of history while the figures are computed: the window ends
    // on the figures of the last history it was given, computed once more.
    void aRecomputeWhileComputingEndsOnTheLastHistory()
    {
        const History full = sampleHistory(GameId::MiniLoto);
        const History part(full.begin(), full.begin() + 30);
        StatsWindow w;
        QSignalSpy computed(&w, &StatsWindow::computed);
        w.load(full, GameId::MiniLoto, ReflectFlags{});
        w.recompute(full, GameId::MiniLoto, ReflectFlags{});
        w.recompute(part, GameId::MiniLoto, ReflectFlags{});
        QVERIFY(w.waitForReport());
        QCOMPARE(computed.count(), 1);
        QCOMPARE(w.report().history.draws, 30);
        // Thirty draws: the uniformity test of the bonuses cannot be run.
        QVERIFY(w.grid()->sheet().text(6, 3) == QStringLiteral("回数が足りません"));
        QVERIFY(w.summary()->text().contains(QStringLiteral("回数が足りず")));
    }

    void printsTheSheetAndEveryChart()
    {
        StatsWindow w;
        w.load(sampleHistory(), GameId::Loto6, ReflectFlags{});
        QVERIFY(w.waitForReport());
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("stats.pdf"));
        int sheetPages = 0;
        {
            QPdfWriter pdf(path);
            pdf.setResolution(300);
            pdf.setPageOrientation(QPageLayout::Landscape);
            const QRect area = pdf.pageLayout().paintRectPixels(300);
            sheetPages = SheetPages(w.grid()->sheet(), QSizeF(area.size()) / (300 / 96.0),
                                    tablesAfterBlankRows(w.grid()->sheet()))
                             .count();
            w.print(pdf);
        }
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const int pages =
            int(QString::fromLatin1(f.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
        QCOMPARE(pages, sheetPages + 3);
    }
};

QTEST_MAIN(StatsWindowTest)
#include "stats_window_test.moc"
