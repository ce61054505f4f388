// The ウィンドウ menu with many children: the list of open windows (the
// active one checked, choosing one brings it to the front) and the tilings,
// which keep every window at least the smallest usable tile and let the frame
// scroll instead of cutting windows into slivers.

#include "gui_support.h"
#include "gui/shell/main_frm.h"
#include "gui/shell/window_list_menu.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

using namespace mirkano;
using namespace mirkano::test;

class WindowMenuTest : public QObject {
    Q_OBJECT

    HistoryFile m_file;

    static QStringList texts(const QList<QAction*>& items)
    {
        QStringList out;
        for (QAction* a : items)
            out << a->text();
        return out;
    }
    static QList<QAction*> listed(MainFrm& frame)
    {
        // The list is built as the menu opens.
        QMetaObject::invokeMethod(frame.findChild<QMenu*>(QStringLiteral("mnuWindow")), "aboutToShow");
        return frame.windowList()->items();
    }

private slots:
    void initTestCase() { QApplication::setFont(uiFont()); }

    void theMenuListsTheOpenWindows()
    {
        MainFrm frame(m_file.path());
        QVERIFY(frame.load());
        frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QTRY_VERIFY(frame.predictionWindow());
        AnalysisWindow* pull = frame.openAnalysis(QStringLiteral("pull"));
        frame.openAnalysis(QStringLiteral("count-groups"));
        QSignalSpy prediction(&frame, &MainFrm::predictionRequested);

        QList<QAction*> items = listed(frame);
        QCOMPARE(texts(items), (QStringList{"&1 一発ミルカノ予想", "&2 引っ張り分析", "&3 回数別頻度分析"}));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(items[i]->isChecked(), i == 2);  // the active one

        // Choosing a minimised window restores it and makes it the active one.
        pull->showMinimized();
        items[1]->trigger();
        QCOMPARE(frame.mdiArea()->activeSubWindow(), pull);
        QVERIFY(!pull->isMinimized());
        items = listed(frame);
        QCOMPARE(items.size(), 3);
        QVERIFY(items[1]->isChecked() && !items[0]->isChecked() && !items[2]->isChecked());
        items[0]->trigger();
        QCOMPARE(frame.mdiArea()->activeSubWindow(), frame.predictionWindow());
        QCOMPARE(prediction.count(), 0);  // brought to the front, not asked for again

        // A closed window leaves the list; beyond nine windows the items have
        // no access key, and a caption's & stays text.
        pull->close();
        QCOMPARE(texts(listed(frame)), (QStringList{"&1 一発ミルカノ予想", "&2 回数別頻度分析"}));
        for (const Analysis& a : analyses())
            frame.openAnalysis(QString::fromLatin1(a.id));
        items = listed(frame);
        QCOMPARE(items.size(), frame.mdiArea()->subWindowList().size());
        QVERIFY(items.size() > 9);
        QVERIFY(items[8]->text().startsWith(QStringLiteral("&9 ")));
        QCOMPARE(items[9]->text(), frame.mdiArea()->subWindowList(QMdiArea::CreationOrder)[9]->windowTitle());
        QCOMPARE(WindowListMenu::itemText(0, QStringLiteral("A&B")), QStringLiteral("&1 A&&B"));
        QCOMPARE(items.last()->isChecked(), true);

        frame.mdiArea()->closeAllSubWindows();
        QVERIFY(listed(frame).isEmpty());
    }

    void tilingsKeepAMinimumSize_data()
    {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<int>("count");
        QTest::addColumn<std::vector<QRect>>("stacked");
        const QSize min(250, 180);
        // Room for all: 17 windows in four columns of 5, 4, 4 and 4.
        std::vector<QRect> fits;
        for (int c = 0; c < 4; ++c)
            for (int r = 0, n = c == 0 ? 5 : 4; r < n; ++r)
                fits.emplace_back(c * 400, n == 5 ? r * 180 : r * 225, 400, n == 5 ? 180 : 225);
        QTest::newRow("fits in columns") << QRect(0, 0, 1600, 900) << 17 << fits;
        // Too little room: seven columns of three (the last of two) at the
        // minimum width reach past the right edge.
        std::vector<QRect> past;
        for (int c = 0; c < 7; ++c)
            for (int r = 0, n = c < 6 ? 3 : 2; r < n; ++r)
                past.emplace_back(c * 250, r * (600 / n), 250, 600 / n);
        QTest::newRow("reaches past the edge") << QRect(0, 0, 1000, 600) << 20 << past;
        // Lower than one window: it keeps the minimum height.
        QTest::newRow("lower than one") << QRect(0, 0, 300, 100) << 1 << std::vector<QRect>{{0, 0, 300, 180}};
    }
    void tilingsKeepAMinimumSize()
    {
        QFETCH(QRect, area);
        QFETCH(int, count);
        QFETCH(std::vector<QRect>, stacked);
        const QSize min(250, 180);
        QCOMPARE(tileHorizontally(area, count, min), stacked);
        // Side by side is the same turned on its side.
        const auto turn = [](const QRect& r) { return QRect(r.y(), r.x(), r.height(), r.width()); };
        std::vector<QRect> sideBySide;
        for (const QRect& r : stacked)
            sideBySide.push_back(turn(r));
        QCOMPARE(tileVertically(turn(area), count, min.transposed()), sideBySide);
    }

    // Every window of the program open in a frame of 1024 × 768: each tiling
    // leaves every window at least the smallest tile, none over another, its
    // caption and its grid in reach; the frame scrolls to the ones beyond.
    void manyTiledWindowsStayUsable()
    {
        MainFrm frame(m_file.path());
        QVERIFY(frame.load());
        frame.resize(1024, 768);
        frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QTRY_VERIFY(frame.predictionWindow());
        for (const Analysis& a : analyses())
            frame.openAnalysis(QString::fromLatin1(a.id));
        frame.openTicketCheck();
        frame.openStats();
        const QList<QMdiSubWindow*> windows = frame.mdiArea()->subWindowList();
        QVERIFY(windows.size() >= 18);
        const QSize min = smallestTile(frame.mdiArea());
        QVERIFY(min.width() >= 200 && min.height() >= 150);

        for (const char* command : {"mnuWindowHorizontal", "mnuWindowVertical"}) {
            frame.findChild<QAction*>(QString::fromLatin1(command))->trigger();
            QCoreApplication::processEvents();
            QRect all;
            for (QMdiSubWindow* w : windows) {
                QVERIFY2(w->width() >= min.width() && w->height() >= min.height(), command);
                QVERIFY(w->x() >= 0 && w->y() >= 0);
                // The caption and the grid are not cut away.
                QVERIFY(w->widget()->y() > 0 && w->widget()->height() > min.height() / 2);
                for (QMdiSubWindow* other : windows)
                    QVERIFY(other == w || !other->geometry().intersects(w->geometry()));
                all |= w->geometry();
            }
            const QRect view = frame.mdiArea()->viewport()->rect();
            // What does not fit is reached by scrolling.
            QCOMPARE(frame.mdiArea()->horizontalScrollBar()->isVisible(), all.width() > view.width());
            QCOMPARE(frame.mdiArea()->verticalScrollBar()->isVisible(), all.height() > view.height());
        }
    }
};

QTEST_MAIN(WindowMenuTest)
#include "window_menu_test.moc"
