// The grid's own actions: selection by drag and Shift, copy of the selection
// or the whole sheet (menu and Ctrl+C), CSV file, and the print preview from
// the context menu and the window's 印刷.

#include "gui_support.h"
#include "gui/sheet/analysis_window.h"
#include "gui/sheet/grid_actions.h"
#include "gui/sheet/sheet_grid.h"
#include "core/sheet/sheet_text.h"
#include "core/history/startup_tables.h"

#include <QClipboard>
#include <QDir>
#include <QMdiArea>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QtTest>

using namespace mirkano;

namespace {

QByteArray bytesIn(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

Sheet smallSheet()
{
    Sheet s;
    s.setUp({.columns = 4, .rows = 3, .visibleColumns = 4, .visibleRows = 3, .scrollBars = ScrollBars::None});
    const char* texts[3][4] = {{"回数", "a", "b", "c"}, {"1", "2", "3", "4"}, {"5", "6", "7", "●"}};
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 4; ++c)
            s.setText(c, r, QString::fromUtf8(texts[r - 1][c - 1]));
    return s;
}

// Runs `check` on the next modal dialog or popup menu, then closes it.
template <typename F>
void onNextModal(F check)
{
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, check] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w)
            w = QApplication::activePopupWidget();
        if (!w)
            return;
        check(w);
        w->close();
        timer->deleteLater();
    });
    timer->start();
}

}  // namespace

class GridActionsTest : public QObject {
    Q_OBJECT

    static QPoint centre(SheetGrid& g, int col, int row) { return g.cellRect(col, row).center(); }

private slots:
    void initTestCase() { QApplication::setFont(uiFont()); }

    void copyTakesTheSelectionOrTheWholeSheet()
    {
        SheetGrid g;
        g.setSheet(smallSheet());
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        GridActions* a = GridActions::of(&g);
        QVERIFY(a);

        // A single active cell is no selection: the whole sheet goes.
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, centre(g, 2, 2));
        QVERIFY(!a->selection());
        QTest::keyClick(&g, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), sheetToTsv(smallSheet()));

        // Shift+click extends from the active cell.
        QTest::mouseClick(g.viewport(), Qt::LeftButton, Qt::ShiftModifier, centre(g, 3, 3));
        QVERIFY(a->selection());
        QCOMPARE(a->copyText(), QStringLiteral("2\t3\n6\t7"));

        // Shift+arrow extends from the anchor; a plain move drops the selection.
        QTest::keyClick(&g, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(a->copyText(), QStringLiteral("2\t3\t4\n6\t7\t●"));
        QTest::keyClick(&g, Qt::Key_Up);
        QVERIFY(!a->selection());

        // Dragging selects from the pressed cell, as Escape then clears.
        QTest::mousePress(g.viewport(), Qt::LeftButton, {}, centre(g, 1, 1));
        QMouseEvent move(QEvent::MouseMove, centre(g, 2, 3), g.viewport()->mapToGlobal(centre(g, 2, 3)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(g.viewport(), &move);
        QTest::mouseRelease(g.viewport(), Qt::LeftButton, {}, centre(g, 2, 3));
        QCOMPARE(a->copyText(), QStringLiteral("回数\ta\n1\t2\n5\t6"));
        QTest::keyClick(&g, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), a->copyText());
        QTest::keyClick(&g, Qt::Key_Escape);
        QVERIFY(!a->selection());

        // The selection is shown over the cells, the rest untouched.
        a->setSelection(Block{2, 2, 3, 3});
        const QImage img = g.viewport()->grab().toImage();
        QVERIFY(img.pixelColor(g.cellRect(2, 2).topLeft() + QPoint(3, 3)) != QColor(Qt::white));
        QCOMPARE(img.pixelColor(g.cellRect(4, 1).topLeft() + QPoint(3, 3)), QColor(Qt::white));
    }

    void contextMenuOffersCopyCsvAndPrint()
    {
        SheetGrid g;
        g.setSheet(smallSheet());
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        QStringList items;
        onNextModal([&](QWidget* w) {
            if (auto* m = qobject_cast<QMenu*>(w))
                for (QAction* x : m->actions())
                    if (!x->isSeparator())
                        items << x->text();
        });
        QContextMenuEvent e(QContextMenuEvent::Mouse, centre(g, 1, 1), g.viewport()->mapToGlobal(centre(g, 1, 1)));
        QApplication::sendEvent(g.viewport(), &e);
        QTRY_COMPARE(items, (QStringList{"コピー", "最新の回へ", "CSVで保存…", "印刷…"}));
    }

    // 最新の回へ: the last row with data (here 60 of 100 rows, the rest
    // empty), in the active column, scrolled into view.
    void latestDrawIsOneClickAway()
    {
        Sheet s;
        s.setUp({.columns = 4, .rows = 100, .visibleColumns = 4, .visibleRows = 10,
                 .scrollBars = ScrollBars::Both, .frozenRows = 1, .frozenColumns = 0,
                 .columnWidth = 5, .rowHeight = 10});
        for (int r = 1; r <= 60; ++r)
            s.setText(1, r, r);
        SheetGrid g;
        g.setSheet(s);
        g.resize(g.sizeHint());
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        g.setActiveCell(3, 2);
        QMenu* menu = GridActions::of(&g)->buildMenu(&g);
        auto* latest = menu->findChild<QAction*>(QStringLiteral("gridLatest"));
        QVERIFY(latest && latest->isEnabled());
        latest->trigger();
        QCOMPARE(QPoint(g.activeColumn(), g.activeRow()), QPoint(3, 60));
        QVERIFY(g.viewport()->rect().contains(g.cellRect(3, 60)));
        delete menu;

        g.setSheet(Sheet(4, 10));  // nothing to go to
        menu = GridActions::of(&g)->buildMenu(&g);
        QVERIFY(!menu->findChild<QAction*>(QStringLiteral("gridLatest"))->isEnabled());
        delete menu;
    }

    void csvGoesToTheChosenFileWholeOrNotAtAll()
    {
        QTemporaryDir dir;
        SheetGrid g;
        g.setSheet(smallSheet());
        GridActions* a = GridActions::of(&g);
        QStringList errors, notes;
        a->showError = [&](const QString& t) { errors << t; };
        a->showNote = [&](const QString& t) { notes << t; };

        const QString path = dir.filePath(QStringLiteral("out.csv"));
        a->chooseCsvFile = [&](const QString& suggested) {
            // The suggestion is a .csv file; the test names its own.
            return suggested.endsWith(QStringLiteral(".csv")) ? path : QString();
        };
        QVERIFY(a->saveCsv());
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        // UTF-8 with one byte-order mark, so that a spreadsheet reads it right.
        const QByteArray written = f.readAll();
        QVERIFY(written.startsWith("\xEF\xBB\xBF") && !written.mid(3).startsWith("\xEF\xBB\xBF"));
        QCOMPARE(written, sheetToCsv(smallSheet()));
        QVERIFY(errors.isEmpty());
        // The player is told where the file went.
        QCOMPARE(notes.size(), 1);
        QVERIFY2(notes[0].contains(QDir::toNativeSeparators(path)), qPrintable(notes[0]));

        // Cancelled: nothing written, nothing said.
        a->chooseCsvFile = [](const QString&) { return QString(); };
        QVERIFY(!a->saveCsv());
        QVERIFY(errors.isEmpty());

        // A folder that does not exist: a message naming the file.
        const QString bad = dir.filePath(QStringLiteral("no/such/out.csv"));
        a->chooseCsvFile = [&](const QString&) { return bad; };
        QVERIFY(!a->saveCsv());
        QCOMPARE(notes.size(), 1);
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].contains(QStringLiteral("out.csv")), qPrintable(errors[0]));
        QVERIFY(!QFile::exists(bad));
    }

    // "CSVで保存…" never writes over a history file, and asks before it
    // writes over any other file.
    void csvNeverGoesOverAHistoryAndAsksBeforeReplacing()
    {
        QTemporaryDir dir;
        SheetGrid g;
        g.setSheet(smallSheet());
        GridActions* a = GridActions::of(&g);
        QStringList errors, questions;
        bool answer = false;
        a->showError = [&](const QString& t) { errors << t; };
        a->showNote = [](const QString&) {};
        a->askYesNo = [&](const QString& q) { return questions << q, answer; };
        QString path;
        a->chooseCsvFile = [&](const QString&) { return path; };

        path = dir.filePath(QStringLiteral("Mirkano.mdb"));
        saveHistory(path, test::smallHistory());
        const QByteArray history = bytesIn(path);
        QVERIFY(!a->saveCsv());
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].startsWith(QStringLiteral("CSV「%1」を書き出せません：履歴ファイルなどのデータベース").arg(path)),
                 qPrintable(errors[0]));
        QVERIFY(questions.isEmpty());
        QCOMPARE(bytesIn(path), history);

        path = dir.filePath(QStringLiteral("old.csv"));
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("old");
        }
        QVERIFY(!a->saveCsv());
        QCOMPARE(questions, QStringList{QStringLiteral("「%1」は既にあります。\n上書きしますか？").arg(path)});
        QCOMPARE(bytesIn(path), QByteArray("old"));
        answer = true;
        QVERIFY(a->saveCsv());
        QCOMPARE(bytesIn(path), sheetToCsv(smallSheet()));
        QCOMPARE(errors.size(), 1);
    }

    void printButtonOpensThePreviewAlsoWhereItWasGreyed()
    {
        // The division windows showed 印刷 disabled; it works now.
        const Analysis* analysis = findAnalysis("division-6");
        QVERIFY(analysis->facts.printGreyed);
        const History history = test::smallHistory();
        const StartupTables tables = buildStartupTables(history);
        QMdiArea area;
        auto* w = new AnalysisWindow(*analysis);
        area.addSubWindow(w);
        w->load(history, tables);
        area.show();
        QCOMPARE(GridActions::of(w->grid())->caption(), analysis->facts.caption);
        QString title;
        onNextModal([&](QWidget* d) {
            if (qobject_cast<QPrintPreviewDialog*>(d))
                title = d->windowTitle();
        });
        w->printButton()->click();
        QCOMPARE(title, QStringLiteral("印刷プレビュー"));
    }
};

QTEST_MAIN(GridActionsTest)
#include "grid_actions_test.moc"
