// The analysis window: its elements per window facts, the grid's place, the
// window that follows resizing, the window that grows to show its whole grid,
// the description wrapped between phrases, and the idle print button.

#include "analysis/game_histories.h"
#include "gui/sheet/analysis_window.h"
#include "gui/sheet/phrase_wrap.h"
#include "gui_support.h"

#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include <map>

using namespace mirkano;
using namespace mirkano::test;

class AnalysisWindowTest : public QObject {
    Q_OBJECT

    History m_history = smallHistory();
    StartupTables m_tables = buildStartupTables(m_history);

    static QStringList labelTexts(const QWidget* w)
    {
        QStringList texts;
        for (const QLabel* l : w->findChildren<QLabel*>())
            if (!l->text().isEmpty())
                texts << l->text();
        return texts;
    }

private slots:
    void initTestCase() { QApplication::setFont(uiFont()); }

    void elementsFollowTheWindowFacts_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("print");
        QTest::addColumn<QStringList>("legend");
        QTest::newRow("count-groups") << "count-groups" << true << QStringList{};
        QTest::newRow("frequency") << "frequency" << true
                                   << QStringList{QStringLiteral("：本数字"), QStringLiteral("：ボーナス数字")};
        QTest::newRow("pull") << "pull" << true << QStringList{QStringLiteral(":前回の数字")};
        QTest::newRow("five-division") << "five-division" << true << QStringList{};
        QTest::newRow("division-11") << "division-11" << true
                                     << QStringList{QStringLiteral("：本数字"), QStringLiteral("：ボーナス数字"),
                                                    QStringLiteral(":該当する当選番号なし")};
    }

    void elementsFollowTheWindowFacts()
    {
        QFETCH(QString, id);
        QFETCH(bool, print);
        QFETCH(QStringList, legend);
        const Analysis& a = *findAnalysis(id.toStdString());
        QMdiArea area;
        area.resize(1200, 1000);
        auto* w = new AnalysisWindow(a);
        area.addSubWindow(w);
        QSignalSpy opened(w, &AnalysisWindow::opened);
        w->load(m_history, m_tables);
        w->show();
        area.show();
        QCOMPARE(opened.count(), 1);
        QCOMPARE(w->windowTitle(), a.facts.caption);
        QCOMPARE(w->size(), QSize(twipsToPixels(a.facts.widthTwips), twipsToPixels(a.facts.heightTwips)));
        QCOMPARE(w->description()->text().remove(u'\n'), a.facts.description);
        QCOMPARE(w->closeButton()->text(), QStringLiteral("閉じる"));
        QCOMPARE(w->printButton() != nullptr, print);
        if (print) {
            QCOMPARE(w->printButton()->text(), QStringLiteral("印刷"));
            // Every 印刷 prints, also where the button used to be greyed.
            QVERIFY(w->printButton()->isEnabled());
        }
        const QStringList texts = labelTexts(w);
        for (const QString& t : legend)
            QVERIFY2(texts.contains(t), qPrintable(texts.join(QLatin1Char('|'))));
        QCOMPARE(w->grid()->sheet().columns(), a.build(m_history, m_tables).columns());
        QVERIFY(!QApplication::overrideCursor());
    }

    void legendWithBallsAndSwatchKeepsItsOrder()
    {
        // The two balls with their texts, then the grey swatch and its text,
        // then "印刷" and "閉じる".
        AnalysisWindow w(*findAnalysis("division-6"));
        QStringList order;
        QLayout* controls = w.closeButton()->parentWidget()->layout();
        for (int i = 0; i < controls->count(); ++i)
            if (QWidget* x = controls->itemAt(i)->widget())
                order << x->objectName();
        order.removeAll(QStringLiteral("Label1"));
        QCOMPARE(order, (QStringList{"Picture1", "Label2", "Picture1", "Label3", "Label5", "Label4", "Command2",
                                     "Command1"}));
        auto* swatch = w.findChild<QLabel*>(QStringLiteral("Label5"));
        QCOMPARE(swatch->palette().color(QPalette::Window), QColor(224, 224, 224));
        QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label4"))->text(), QStringLiteral(":該当する当選番号なし"));
    }

    // バラツキ分析 on the real history, at its own size: the last column ends
    // where the vertical scroll bar begins, with no empty strip between them.
    void dispersionGridEndsAtItsScrollBar()
    {
        static const History real = sampleHistory();
        static const StartupTables tables = buildStartupTables(real);
        QMdiArea area;
        area.resize(1200, 1000);
        auto* w = new AnalysisWindow(*findAnalysis("dispersion"));
        area.addSubWindow(w);
        w->load(real, tables);
        w->show();
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        SheetGrid* g = w->grid();
        QVERIFY(g->verticalScrollBar()->isVisible());
        QVERIFY(!g->horizontalScrollBar()->isVisible());
        const int cols = g->sheet().columns();
        QCOMPARE(g->cellRect(cols, 1).right() + 1, g->viewport()->width());
        QCOMPARE(g->viewport()->mapTo(g, QPoint(g->viewport()->width(), 0)).x(),
                 g->verticalScrollBar()->mapTo(g, QPoint(0, 0)).x());
        // The window keeps its own size.
        QCOMPARE(w->size(), QSize(twipsToPixels(12800), twipsToPixels(12750)));
    }

    void gridSitsBelowTheDescriptionAndFollowsResizingWhereAsked()
    {
        QMdiArea area;
        area.resize(1200, 1000);
        auto* w = new AnalysisWindow(*findAnalysis("dispersion"));
        area.addSubWindow(w);
        w->load(m_history, m_tables);
        w->show();
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        QWidget* body = w->body();
        const QPoint corner(twipsToPixels(120), twipsToPixels(600));
        // The room right and below the corner, up to the whole sheet.
        QCOMPARE(w->grid()->pos(), corner);
        QCOMPARE(w->grid()->size(), w->grid()->fittedSize(body->size() - QSize(corner.x(), corner.y())));
        QVERIFY(w->grid()->width() < body->width() - corner.x());  // a short history: the sheet is smaller
        w->resize(760, 500);
        QCOMPARE(w->grid()->pos(), corner);
        QCOMPARE(w->grid()->size(), w->grid()->fittedSize(body->size() - QSize(corner.x(), corner.y())));
        // Too narrow for one line: the description goes above the buttons and
        // the grid starts below them, still filling the rest.
        w->resize(330, 500);
        QVERIFY(w->description()->geometry().bottom() < w->closeButton()->mapTo(body, QPoint(0, 0)).y());
        QVERIFY(w->grid()->y() > w->closeButton()->mapTo(body, QPoint(0, 24)).y());
        QVERIFY(w->grid()->y() < 120);
        QCOMPARE(w->grid()->geometry().right(), body->rect().right());

        // A window that does not follow resizing keeps the grid's own size.
        auto* pull = new AnalysisWindow(*findAnalysis("pull"));
        area.addSubWindow(pull);
        pull->load(m_history, m_tables);
        pull->show();
        QCOMPARE(pull->grid()->x(), corner.x());
        QVERIFY(pull->grid()->y() >= corner.y());
        QCOMPARE(pull->grid()->size(), pull->grid()->sizeHint());
        // Cut to a smaller window, the grid keeps every cell within reach.
        auto* counts = new AnalysisWindow(*findAnalysis("count-groups"));
        area.addSubWindow(counts);
        counts->load(m_history, m_tables);
        counts->show();
        counts->resize(counts->width(), 150);
        QVERIFY(counts->grid()->height() < counts->grid()->sizeHint().height());
        QTRY_VERIFY(counts->grid()->verticalScrollBar()->isVisible());
    }

    void everyWindowShowsItsWholeGrid_data()
    {
        QTest::addColumn<int>("game");
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("longHistory");
        for (const Game& g : games()) {
            const QByteArray name = g.cliName.toLatin1();
            for (const Analysis& a : analyses(g.id)) {
                QTest::addRow("%s %s, real history", name.constData(), a.id)
                    << int(g.id) << QString::fromLatin1(a.id) << false;
                QTest::addRow("%s %s, 32767 draws", name.constData(), a.id)
                    << int(g.id) << QString::fromLatin1(a.id) << true;
            }
        }
    }

    void everyWindowShowsItsWholeGrid()
    {
        // On the real history the description of 回数別頻度分析 takes two
        // lines in its narrow window and pushed the last rows (368回, 371回,
        // 400回) out of sight; a long history gives it up to pool rows. Each
        // game's windows are sized for its own sheets.
        QFETCH(int, game);
        QFETCH(QString, id);
        QFETCH(bool, longHistory);
        const GameId gameId = GameId(game);
        static std::map<int, History> longHistories;
        if (longHistory && !longHistories.count(game))
            longHistories[game] = repeatedGameHistory(gameId, 32767);
        const History& history = longHistory ? longHistories[game] : realHistory(gameId);
        const StartupTables tables = buildStartupTables(history, gameId);
        const Analysis& a = *findAnalysis(gameId, id.toStdString());

        QMdiArea area;
        area.resize(1600, 1200);
        auto* w = new AnalysisWindow(a);
        area.addSubWindow(w);
        w->load(history, tables);
        w->show();
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));

        const SheetGrid* g = w->grid();
        const Sheet& sheet = g->sheet();
        QVERIFY(w->width() >= twipsToPixels(a.facts.widthTwips));
        QVERIFY(w->height() >= twipsToPixels(a.facts.heightTwips));
        QVERIFY(w->body()->rect().contains(g->geometry()));
        if (a.facts.followsResize) {
            QVERIFY(g->width() >= g->sizeHint().width() && g->height() >= g->sizeHint().height());
        } else {
            QCOMPARE(g->size(), g->sizeHint());
        }
        // The last of the visible cells is wholly in view, without scrolling.
        const int col = std::min(sheet.visibleColumns(), sheet.columns());
        const int row = std::min(sheet.visibleRows(), sheet.rows());
        const QRect last = g->cellRect(col, row);
        QVERIFY2(!last.isEmpty(), qPrintable(QStringLiteral("cell %1,%2 not in view").arg(col).arg(row)));
        QVERIFY(last.right() < g->viewport()->width() && last.bottom() < g->viewport()->height());
        // No scroll bar beyond those the sheet asks for.
        const bool h = sheet.scrollBars() == ScrollBars::Horizontal || sheet.scrollBars() == ScrollBars::Both;
        const bool v = sheet.scrollBars() == ScrollBars::Vertical || sheet.scrollBars() == ScrollBars::Both;
        QVERIFY(h || !g->horizontalScrollBar()->isVisible());
        QVERIFY(v || !g->verticalScrollBar()->isVisible());
        // The description, where it wraps, breaks between phrases only and
        // each of its lines fits the label.
        const QLabel* label = w->description();
        const std::vector<int> breaks = phraseBreaks(a.facts.description);
        int at = 0;
        for (const QString& line : label->text().split(u'\n')) {
            QVERIFY2(at == 0 || std::find(breaks.begin(), breaks.end(), at) != breaks.end(), qPrintable(line));
            QVERIFY2(label->fontMetrics().horizontalAdvance(line) <= label->contentsRect().width(), qPrintable(line));
            at += int(line.size());
        }
        QCOMPARE(at, int(a.facts.description.size()));
        if (id == QLatin1String("count-groups") && !longHistory && gameId == GameId::Loto6)
            QCOMPARE(sheet.text(1, sheet.rows()), QStringLiteral("400回"));
        // A window of another game fits its grid as closely as Loto 6's
        // (the rows of Loto 6 come first): no wider strip to the right or
        // below, give or take a grid row. (回数別頻度分析 has as many rows as
        // the history has distinct counts, whatever the game.)
        static std::map<std::pair<QString, bool>, QSize> loto6Room;
        const QSize room(w->body()->width() - g->geometry().right(), w->body()->height() - g->geometry().bottom());
        if (gameId == GameId::Loto6) {
            loto6Room[{id, longHistory}] = room;
        } else if (auto it = loto6Room.find({id, longHistory});
                   it != loto6Room.end() && !a.facts.followsResize && id != QLatin1String("count-groups")) {
            const int margin = twipsToPixels(240);
            QVERIFY2(room.width() <= it->second.width() + margin && room.height() <= it->second.height() + margin,
                     qPrintable(QStringLiteral("room %1x%2, Loto 6 %3x%4")
                                    .arg(room.width()).arg(room.height())
                                    .arg(it->second.width()).arg(it->second.height())));
        }
    }

    void legendBallsTakeTheirColour()
    {
        const QImage ball = legendBall(19, {62, 158, 255}).toImage();
        QCOMPARE(ball.size(), QSize(19, 19));
        const QColor mid = ball.pixelColor(10, 10);
        QVERIFY(mid.blue() > mid.red());
        QCOMPARE(ball.pixelColor(0, 0).alpha(), 0);
    }
};

QTEST_MAIN(AnalysisWindowTest)
#include "analysis_window_test.moc"
