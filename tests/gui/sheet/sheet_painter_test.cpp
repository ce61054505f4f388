// How the sheet painter fits header texts: no title of a real window is drawn
// below the smallest legible size, and a title placed with spaces over the
// cells it spans is centred on them.

#include "gui_support.h"
#include "core/analysis/analysis.h"
#include "core/history/startup_tables.h"
#include "gui/sheet/sheet_painter.h"

#include <QtTest>

using namespace mirkano;
using namespace mirkano::test;

namespace {

// Every column and row of the sheet from the left / top, as the grid lays
// them out when unscrolled.
std::vector<SheetPainter::Span> spans(int count, auto pixels)
{
    std::vector<SheetPainter::Span> out;
    int pos = 0;
    for (int i = 1; i <= count; ++i) {
        out.push_back({i, pos, pixels(i)});
        pos += pixels(i);
    }
    return out;
}

struct Laid {
    Sheet sheet;
    std::vector<SheetPainter::Span> cols, rows;
};

Laid layOut(const char* id, GameId game = GameId::Loto6)
{
    const History h = sampleHistory(game);
    const StartupTables tables = buildStartupTables(h, game);
    Laid l{findAnalysis(game, id)->build(h, tables), {}, {}};
    const GridUnits units(sheetFont());
    l.cols = spans(l.sheet.columns(), [&](int c) { return units.columnPixels(l.sheet.columnWidth(c)); });
    l.rows = spans(l.sheet.rows(), [&](int r) { return GridUnits::rowPixels(l.sheet.rowHeight(r)); });
    return l;
}

}  // namespace

class SheetPainterTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setFont(uiFont()); }

    // 出現間隔分析 and 数字間隔分析 head their columns 第1数字 … in cells too
    // narrow for them at full size.
    void headerTitlesStayLegible_data()
    {
        QTest::addColumn<QString>("id");
        for (const char* id : {"appearance-interval", "number-interval", "dispersion", "pull"})
            QTest::newRow(id) << QString::fromLatin1(id);
    }
    void headerTitlesStayLegible()
    {
        QFETCH(QString, id);
        const Laid l = layOut(id.toLatin1().constData());
        const SheetPainter painter(sheetFont());
        int fitted = 0;
        for (int r = 1; r <= l.sheet.frozenRows(); ++r)
            for (const auto& t : painter.layoutTexts(l.sheet, l.cols, l.rows[std::size_t(r - 1)])) {
                const bool whole = t.inkLeft >= t.box.left() && t.inkRight <= t.box.right();
                const QString where = QStringLiteral("%1 (%2, %3)").arg(t.cell.text).arg(t.column).arg(r);
                if (whole && !t.fit.fits)
                    continue;
                QVERIFY2(t.fit.fits, qPrintable(where + QStringLiteral(" does not fit")));
                ++fitted;
                const double size = t.fit.font.pixelSize() * t.fit.scaleX;
                QVERIFY2(size >= SheetPainter::kSmallestTextPixels - 1e-9,
                         qPrintable(where + QStringLiteral(" at %1 px").arg(size)));
            }
        QVERIFY(fitted > 0 || id == QStringLiteral("dispersion"));
    }

    // A title too wide for its cell even at the smallest size goes on two
    // lines rather than being squeezed below it; one that fits narrower at
    // a legible size stays on one line.
    void aTitleTooNarrowForOneLineWrapsToTwo_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<bool>("twoLines");
        QTest::newRow("slightly narrow") << 4.5 << false;
        QTest::newRow("narrow") << 3.5 << true;
    }
    void aTitleTooNarrowForOneLineWrapsToTwo()
    {
        QFETCH(double, width);
        QFETCH(bool, twoLines);
        Sheet s;
        s.setUp({.columns = 3, .rows = 2, .visibleColumns = 3, .visibleRows = 2, .scrollBars = ScrollBars::None,
                 .frozenRows = 1, .frozenColumns = 0, .columnWidth = width, .rowHeight = 12});
        s.setText(2, 1, QStringLiteral("第1数字"));
        const GridUnits units(sheetFont());
        const auto cols = spans(3, [&](int) { return units.columnPixels(width); });
        const SheetPainter painter(sheetFont());
        const auto placed = painter.layoutTexts(s, cols, {1, 0, GridUnits::rowPixels(12)});
        QCOMPARE(int(placed.size()), 1);
        const auto& fit = placed.front().fit;
        QVERIFY(fit.fits);
        QVERIFY(fit.font.pixelSize() * fit.scaleX >= SheetPainter::kSmallestTextPixels);
        QCOMPARE(!fit.secondLine.isEmpty(), twoLines);
        if (twoLines)
            QCOMPARE(fit.firstLine + fit.secondLine, QStringLiteral("第1数字"));
    }

    // The 下一桁数字 title spans the ten digit columns, and in Loto 7 and
    // Mini Loto 出現回数分析 each title spans its group of columns: the ink
    // is centred on them, at full size.
    void aSpacePaddedTitleIsCentredOnItsColumns_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<int>("game");
        QTest::addColumn<QStringList>("titles");
        for (const char* id : {"last-digit", "last-digit-run"})
            QTest::newRow(id) << QString::fromLatin1(id) << int(GameId::Loto6) << QStringList{QStringLiteral("下一桁数字")};
        const QStringList counts{QStringLiteral("当 選 数 字"), QStringLiteral("前回までの出現回数合計(回)")};
        QTest::newRow("appearance-count loto7") << QStringLiteral("appearance-count") << int(GameId::Loto7) << counts;
        QTest::newRow("appearance-count miniloto") << QStringLiteral("appearance-count") << int(GameId::MiniLoto) << counts;
    }
    void aSpacePaddedTitleIsCentredOnItsColumns()
    {
        QFETCH(QString, id);
        QFETCH(int, game);
        QFETCH(QStringList, titles);
        {
            const Laid l = layOut(id.toLatin1().constData(), GameId(game));
            const SheetPainter painter(sheetFont());
            QSet<QString> found;
            for (int r = 1; r <= std::min(l.sheet.rows(), 6); ++r)
                for (const auto& t : painter.layoutTexts(l.sheet, l.cols, l.rows[std::size_t(r - 1)])) {
                    if (!titles.contains(t.cell.text.trimmed()))
                        continue;
                    found << t.cell.text.trimmed();
                    // The framed title cell: from its column to the next
                    // column with a right border in that row.
                    int last = t.column;
                    while (last < l.sheet.columns() && !l.sheet.style(last, r).right.on)
                        ++last;
                    const auto& first = l.cols[std::size_t(t.column - 1)];
                    const auto& end = l.cols[std::size_t(last - 1)];
                    const double frameCentre = (first.pos + end.pos + end.size) / 2.0;
                    const double inkCentre = (t.inkLeft + t.inkRight) / 2.0;
                    QVERIFY2(std::abs(inkCentre - frameCentre) <= 3,
                             qPrintable(QStringLiteral("%1: ink centre %2, columns %3-%4 centre %5")
                                            .arg(t.cell.text.trimmed()).arg(inkCentre).arg(t.column).arg(last).arg(frameCentre)));
                    QVERIFY(!t.fit.fits);  // drawn whole at full size
                }
            QCOMPARE(found.size(), titles.size());
        }
    }
};

QTEST_MAIN(SheetPainterTest)
#include "sheet_painter_test.moc"
