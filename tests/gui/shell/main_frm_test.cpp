// The main window: start-up and shutdown, the end flag and the entry guard,
// one instance per window, the menu tree, the activation rule and the window
// arrangement.

#include "gui_support.h"
#include "maintenance/answering_catcher.h"
#include "gui/maintenance/entry_window.h"
#include "gui/predict/prediction_window.h"
#include "gui/shell/main_frm.h"

#include <QFileDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include <sys/stat.h>

using namespace mirkano;
using namespace mirkano::test;

namespace {
// The prediction window opens by itself on the frame's first activation; the
// arrangement tests arrange analysis windows only.
void closePrediction(mirkano::MainFrm& frame)
{
    QCoreApplication::processEvents();
    if (QWidget* w = frame.predictionWindow())
        w->close();
    QCoreApplication::processEvents();
}
}  // namespace

class MainFrmTest : public QObject {
    Q_OBJECT

private:
    HistoryFile m_file;

    // Deleted sub-windows go away once deferred deletes run.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // Open analysis windows, not counting the prediction window that the
    // frame's activation opens.
    static int analysisWindowCount(const MainFrm& frame)
    {
        int n = 0;
        for (QMdiSubWindow* w : frame.mdiArea()->subWindowList())
            n += qobject_cast<AnalysisWindow*>(w) != nullptr;
        return n;
    }

private slots:
    void initTestCase() { QApplication::setFont(uiFont()); }

    void startUpLoadsHistoryAndShutdownClosesChildrenFirst()
    {
        MainFrm frame(m_file.path());
        QCOMPARE(frame.windowTitle(), QStringLiteral("ミルカノ"));
        QVERIFY(frame.load());
        QVERIFY(frame.propEnd());
        QCOMPARE(int(frame.history().size()), 6);
        QCOMPARE(frame.tables().latestDrawNo, 6);
        QCOMPARE(frame.tables().numberCount[1], 4);
        QVERIFY(!QApplication::overrideCursor());
        frame.show();

        QPointer<AnalysisWindow> a = frame.openAnalysis(QStringLiteral("count-groups"));
        QPointer<AnalysisWindow> b = frame.openAnalysis(QStringLiteral("pull"));
        QVERIFY(a && b);
        QVERIFY(!frame.propEnd());
        QVERIFY(!QApplication::overrideCursor());

        QStringList order;
        connect(a, &AnalysisWindow::unloaded, this, [&] { order << QStringLiteral("child"); });
        connect(b, &AnalysisWindow::unloaded, this, [&] { order << QStringLiteral("child"); });
        connect(&frame, &MainFrm::shutDown, this, [&] {
            order << QStringLiteral("main");
            QVERIFY(frame.history().empty());
        });
        QVERIFY(frame.close());  // never refused
        QCOMPARE(order, (QStringList{QStringLiteral("child"), QStringLiteral("child"), QStringLiteral("main")}));
        QVERIFY(frame.propEnd());
        settle();
        QVERIFY(!a && !b);
        QVERIFY(frame.mdiArea()->subWindowList().isEmpty());
    }

    void analysisWindowOpensAtTheClientCornerWithItsSize()
    {
        MainFrm frame(m_file.path());
        QVERIFY(frame.load());
        frame.show();
        AnalysisWindow* w = frame.openAnalysis(QStringLiteral("count-groups"));
        QCOMPARE(w->windowTitle(), QStringLiteral("回数別頻度分析"));
        QCOMPARE(w->pos(), QPoint(0, 0));
        QCOMPARE(w->size(), QSize(227, 557));  // 3405 x 8355 twips
        QCOMPARE(frame.mdiArea()->activeSubWindow(), w);
        // The grid shows what the builder makes from the loaded history.
        const Sheet expected = findAnalysis("count-groups")->build(frame.history(), frame.tables());
        QCOMPARE(w->grid()->sheet().rows(), expected.rows());
        for (int r = 1; r <= expected.rows(); ++r)
            for (int c = 1; c <= expected.columns(); ++c)
                QCOMPARE(w->grid()->sheet().text(c, r), expected.text(c, r));
        QVERIFY(!frame.openAnalysis(QStringLiteral("no-such-analysis")));
    }

    // The refusal keeps its first line, names every open window and offers
    // to close them: いいえ (the default) leaves everything as it was, はい
    // closes them and opens the entry window.
    void entryGuardNamesTheOpenWindowsAndOffersToCloseThem()
    {
        MainFrm frame(m_file.path());
        QVERIFY(frame.load());
        frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QTRY_VERIFY(frame.predictionWindow());
        QSignalSpy allowed(&frame, &MainFrm::winningDataEntryAllowed);
        QSignalSpy prediction(&frame, &MainFrm::predictionRequested);

        AnalysisWindow* w = frame.openAnalysis(QStringLiteral("pull"));
        const QString question = QStringLiteral("表示中のウィンドウを閉じないと実行できません。\n"
                                                "開いているウィンドウ：「一発ミルカノ予想」、「引っ張り分析」\n"
                                                "これらのウィンドウを閉じて「当選データ入力」を開きますか？");
        {
            AnsweringCatcher catcher({QMessageBox::No});
            QVERIFY(!frame.openWinningDataEntry());
            QCOMPARE(int(catcher.seen().size()), 1);
            const auto& seen = catcher.seen().front();
            QCOMPARE(seen.text, question);
            QCOMPARE(seen.title, QStringLiteral("メッセ－ジ"));
            QCOMPARE(seen.title.at(3).unicode(), char16_t(0xFF0D));
            QCOMPARE(seen.icon, QMessageBox::Warning);
            QCOMPARE(seen.buttons, QMessageBox::Yes | QMessageBox::No);
            QCOMPARE(seen.defaultButton, QMessageBox::No);
        }
        QCOMPARE(allowed.count(), 0);
        QCOMPARE(frame.analysisWindow(QStringLiteral("pull")), w);
        QVERIFY(frame.predictionWindow());
        QVERIFY(!QApplication::overrideCursor());

        {
            AnsweringCatcher catcher({QMessageBox::Yes});
            QVERIFY(frame.openWinningDataEntry());
            QCOMPARE(int(catcher.seen().size()), 1);
        }
        QCoreApplication::processEvents();
        settle();
        QCOMPARE(allowed.count(), 1);
        QVERIFY(!frame.analysisWindow(QStringLiteral("pull")));
        QVERIFY(!frame.predictionWindow());
        QCOMPARE(prediction.count(), 0);  // closing them does not reopen it
        QVERIFY(frame.winningDataEntryWindow());
        QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
        QVERIFY(!QApplication::overrideCursor());

        // The entry command again only brings the open entry window to the front.
        w = frame.openAnalysis(QStringLiteral("pull"));
        {
            AnsweringCatcher catcher;
            QVERIFY(frame.openWinningDataEntry());
            QVERIFY(catcher.seen().empty());
        }
        QCOMPARE(frame.mdiArea()->activeSubWindow(), frame.winningDataEntryWindow());
        QCOMPARE(allowed.count(), 1);
        frame.winningDataEntryWindow()->close();
        w->close();

        // With nothing open it opens at once.
        {
            AnsweringCatcher catcher;
            QVERIFY(frame.openWinningDataEntry());
            QVERIFY(catcher.seen().empty());
        }
        QCOMPARE(allowed.count(), 2);
    }

    void openingAnOpenWindowBringsItToTheFrontUnchanged()
    {
        MainFrm frame(m_file.path());
        QVERIFY(frame.load());
        frame.show();
        AnalysisWindow* first = frame.openAnalysis(QStringLiteral("count-groups"));
        Sheet marked = first->grid()->sheet();
        marked.setText(1, 1, QStringLiteral("marked"));
        first->grid()->setSheet(marked);
        frame.openAnalysis(QStringLiteral("pull"));
        QVERIFY(frame.mdiArea()->activeSubWindow() != first);

        AnalysisWindow* again = frame.openAnalysis(QStringLiteral("count-groups"));
        QCOMPARE(again, first);
        QCOMPARE(frame.mdiArea()->activeSubWindow(), first);
        QCOMPARE(again->grid()->sheet().text(1, 1), QStringLiteral("marked"));
        QCOMPARE(analysisWindowCount(frame), 2);

        // A minimised window comes back as well.
        first->showMinimized();
        QCOMPARE(frame.openAnalysis(QStringLiteral("count-groups")), first);
        QVERIFY(!first->isMinimized());
    }

    void endFlagIsASingleFlag()
    {
        MainFrm frame(m_file.path());
        QVERIFY(frame.load());
        frame.show();
        AnalysisWindow* a = frame.openAnalysis(QStringLiteral("count-groups"));
        frame.openAnalysis(QStringLiteral("pull"));
        QVERIFY(!frame.propEnd());
        a->closeButton()->click();
        QVERIFY(frame.propEnd());  // although the other window is still open
        QCOMPARE(analysisWindowCount(frame), 1);
        // Reopening a closed window computes it anew and clears the flag again.
        QPointer<AnalysisWindow> b = frame.openAnalysis(QStringLiteral("count-groups"));
        QVERIFY(b && !frame.propEnd());
    }

    void titleBarCloseEqualsCloseButton_data()
    {
        QTest::addColumn<bool>("titleBar");
        QTest::newRow("閉じる") << false;
        QTest::newRow("title bar") << true;
    }

    void titleBarCloseEqualsCloseButton()
    {
        QFETCH(bool, titleBar);
        MainFrm frame(m_file.path());
        QVERIFY(frame.load());
        frame.show();
        QPointer<AnalysisWindow> w = frame.openAnalysis(QStringLiteral("dispersion"));
        QSignalSpy unloaded(w.data(), &AnalysisWindow::unloaded);
        if (titleBar)
            static_cast<QMdiSubWindow*>(w.data())->close();  // what the title bar's button does
        else
            w->closeButton()->click();
        QCOMPARE(unloaded.count(), 1);
        QVERIFY(frame.propEnd());
        settle();
        QVERIFY(!w);
        QVERIFY(!frame.analysisWindow(QStringLiteral("dispersion")));
    }

    void menuTreeHasEveryCaptionAndAccessKey()
    {
        MainFrm frame(m_file.path());
        struct Item {
            int depth;
            const char* name;
            const char* caption;
            bool enabled;
        };
        const std::vector<Item> expected = {
            {0, "mnuEnd", "終了(&X)", true},
            {0, "mnuYoso", "一発ミルカノ予想(&D)", true},
            {0, "mnuMain", "データ分析(&S)", true},
            {1, "mnuHindo", "頻度分析", true},
            {2, "mnuSyutugenHindo", "出現頻度分析", true},
            {2, "mnuSyutugenKaisu", "回数別出現分析", true},
            {1, "mnuKankaku", "間隔分析", true},
            {2, "mnuSyutugenKankaku", "出現間隔分析", true},
            {2, "mnuNumberKankaku", "数字間隔分析", true},
            {1, "mnuZenkaiSyutugen", "出現回数分析", true},
            {1, "mnuBaratsuki", "バラツキ分析", true},
            {1, "mnuHippari", "引っ張り分析", true},
            {1, "mnuRenbanTobiishi", "連番・飛び石分析", true},
            {1, "mnuHonsuji", "数字合計分析", true},
            {1, "mnuPattern", "組合せパターン分析", true},
            {2, "mnuLowHightPattern", "低数字・高数字の組合せパターン分析", true},
            {2, "mnuKisuGusuPattern", "偶数・奇数の組合せパターン分析", true},
            {1, "mnu5BunkatsuKeiko", "5分割傾向分析", true},
            {1, "mnuBunkatsuData", "分割データ分析", true},
            {2, "mnu6BunkatsuData", "6分割データ分析", true},
            {2, "mnu7BunkatsuData", "7分割データ分析", true},
            {2, "mnu11BunkatsuData", "11分割データ分析", true},
            {1, "mnuLastChar", "下一桁出現傾向分析", true},
            {1, "mnuLastCharRenzoku", "下一桁連続出現回数分析", true},
            {1, "", "", true},  // separator
            {1, "mnuTosenKakunin", "当選確認", true},
            {1, "mnuToukeiKentei", "統計的検定", true},
            {1, "mnuKitaichi", "期待値", true},
            {1, "mnuKumiawase", "組合せ作成", true},
            {0, "mnuHosyu", "データ管理(&M)", true},
            {1, "mnuMasterUpdate", "当選データ最新化(&U)", true},
            {1, "mnuUpdateSource", "最新化の設定…", true},
            {1, "mnuMasterInput", "当選データ入力(&I)", true},
            {1, "mnuPrizeData", "賞金データ(&P)", true},
            {1, "", "", true},  // separator
            {1, "mnuCsvImport", "CSVから取り込み…", true},
            {1, "mnuCsvExport", "CSVへ書き出し…", true},
            {0, "mnuGame", "ゲーム(&G)", true},
            {1, "mnuGame_loto6", "ロト6(&6)", true},
            {1, "mnuGame_loto7", "ロト7(&7)", true},
            {1, "mnuGame_miniloto", "ミニロト(&M)", true},
            {0, "mnuWindow", "ウィンドウ(&W)", true},
            {1, "mnuWindowHorizontal", "上下に並べて表示(&H)", true},
            {1, "mnuWindowVertical", "左右に並べて表示(&V)", true},
            {1, "mnuWindowCascade", "重ねて表示(&C)", true},
            {1, "mnuWindowArrangeIcon", "アイコンの整列(&A)", true},
            {1, "", "", true},  // separator
            {1, "mnuWindowClose", "閉じる(&O)", true},
            {1, "mnuWindowNext", "次のウィンドウ(&N)", true},
            {1, "mnuWindowPrevious", "前のウィンドウ(&P)", true},
            {0, "mnuHelp", "ヘルプ(&H)", true},
            {1, "mnuHelpFile", "ヘルプ(&H)", true},
            {1, "mnuAbout", "バージョン情報(&A)", true},
        };
        std::vector<Item> actual;
        std::vector<QString> names, captions;
        std::function<void(const QList<QAction*>&, int)> walk = [&](const QList<QAction*>& actions, int depth) {
            for (QAction* a : actions) {
                names.push_back(a->objectName());
                captions.push_back(a->text());
                actual.push_back({depth, nullptr, nullptr, a->isEnabled()});
                if (a->menu())
                    walk(a->menu()->actions(), depth + 1);
            }
        };
        walk(frame.menuBar()->actions(), 0);
        QCOMPARE(actual.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const QString where = QString::fromUtf8(expected[i].name);
            QCOMPARE(names[i], where);
            QCOMPARE(captions[i], QString::fromUtf8(expected[i].caption));
            QVERIFY2(actual[i].depth == expected[i].depth, qPrintable(where));
            QVERIFY2(actual[i].enabled == expected[i].enabled, qPrintable(where));
        }
    }

    void menuItemOpensItsWindow_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("heightTwips");
        QTest::addColumn<int>("widthTwips");
        QTest::addColumn<QString>("description");
        auto row = [](const char* menu, const char* id, const char* caption, int h, int w, const char* description) {
            QTest::newRow(id) << QString::fromUtf8(menu) << QString::fromUtf8(id) << QString::fromUtf8(caption) << h
                              << w << QString::fromUtf8(description);
        };
        row("mnuSyutugenKaisu", "count-groups", "回数別頻度分析", 8355, 3405,
            "過去の当選番号から出現回数別の数字を分析します");
        row("mnuRenbanTobiishi", "consecutive", "連番・飛び石分析", 13500, 7550,
            "過去の当選番号の連続数字と一つ飛び数字の傾向を分析します");
        row("mnuHonsuji", "number-sum", "数字合計分析", 13800, 8000,
            "過去の当選番号の本数字＋ボーナス数字合計を分析します");
        row("mnuLowHightPattern", "low-high", "低数字・高数字の組合せパターン分析", 13700, 7740,
            "過去の当選番号を低数字（０１～２１）と高数字（２２～４３）に分けて組合せパターンを分析します"
            "（ボーナス数字は入れていません）");
        row("mnuKisuGusuPattern", "even-odd", "偶数・奇数の組合せパターン分析", 13700, 7740,
            "過去の当選番号を偶数と奇数に分類して分析します");
        row("mnuLastChar", "last-digit", "下一桁出現傾向分析", 13980, 7400,
            "過去の当選番号の下一桁の数字の出現傾向を分析します");
        row("mnuLastCharRenzoku", "last-digit-run", "下一桁連続出現回数分析", 13935, 7400,
            "過去の当選番号の下一桁数字が何回続けて出現しているか分析します");
    }

    void menuItemOpensItsWindow()
    {
        QFETCH(QString, menu);
        QFETCH(QString, id);
        QFETCH(QString, caption);
        QFETCH(int, heightTwips);
        QFETCH(int, widthTwips);
        QFETCH(QString, description);
        MainFrm frame(m_file.path());
        QVERIFY(frame.load());
        frame.show();
        frame.findChild<QAction*>(menu)->trigger();
        AnalysisWindow* w = frame.analysisWindow(id);
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), caption);
        QCOMPARE(w->size(), QSize(twipsToPixels(widthTwips), twipsToPixels(heightTwips)));
        QCOMPARE(w->description()->text().remove(u'\n'), description);
        QVERIFY(w->printButton());
        QVERIFY(!frame.propEnd());
        frame.findChild<QAction*>(QStringLiteral("mnuEnd"))->trigger();
        QVERIFY(!frame.isVisible());
        QVERIFY(frame.propEnd());
    }

    void activationCountsOnlyFromAnotherWindowOfTheProgram()
    {
        MainFrm frame(m_file.path());
        QVERIFY(frame.load());
        QSignalSpy prediction(&frame, &MainFrm::predictionRequested);
        QWidget other;  // another top-level window of the program
        other.show();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QCOMPARE(prediction.count(), 0);
        frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QCOMPARE(prediction.count(), 1);  // right after start-up

        auto activate = [](QWidget* w) {
            QApplication::setActiveWindow(w);  // nullptr: another application
            QCoreApplication::processEvents();
        };
        activate(&other);
        activate(&frame);
        QCOMPARE(prediction.count(), 2);  // back from a window of the program

        activate(nullptr);
        activate(&frame);
        QCOMPARE(prediction.count(), 2);  // back from another application

        activate(&other);
        activate(nullptr);
        activate(&frame);
        QCOMPARE(prediction.count(), 2);

        // An analysis window lives inside the frame: opening and closing one
        // does not activate the frame anew.
        AnalysisWindow* w = frame.openAnalysis(QStringLiteral("pull"));
        w->closeButton()->click();
        QCOMPARE(prediction.count(), 2);

        // A message box of the frame is not a window of its own.
        frame.openAnalysis(QStringLiteral("pull"));
        {
            MessageCatcher catcher;
            frame.openWinningDataEntry();
            QCOMPARE(int(catcher.seen().size()), 1);
        }
        QApplication::setActiveWindow(&frame);
        QCOMPARE(prediction.count(), 2);
    }

    // The program's start: the prediction window is open right away, once,
    // whether or not the window system has activated the frame yet; a later
    // activation from another application does not open it again.
    void startUpOpensThePredictionWindowOnce()
    {
        MainFrm frame(m_file.path());
        QVERIFY(frame.load());
        QSignalSpy prediction(&frame, &MainFrm::predictionRequested);
        frame.showAtStartUp();
        QTRY_VERIFY(frame.predictionWindow());
        QTest::qWait(50);
        QCOMPARE(prediction.count(), 1);
        QVERIFY(frame.isMaximized());

        frame.predictionWindow()->close();
        QApplication::setActiveWindow(nullptr);
        QCoreApplication::processEvents();
        QApplication::setActiveWindow(&frame);
        QCoreApplication::processEvents();
        QCOMPARE(prediction.count(), 1);
        QVERIFY(!frame.predictionWindow());
    }

    void historyThatCannotBeLoaded_data()
    {
        QTest::addColumn<QByteArray>("content");  // empty: no file at all
        QTest::addColumn<bool>("pipe");           // a named pipe, which hung the start
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("not a history") << QByteArray("this is not a history file\n") << false;
        QTest::newRow("one byte") << QByteArray("x") << false;
        QTest::newRow("named pipe") << QByteArray() << true;
    }

    void historyThatCannotBeLoaded()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, pipe);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Mirkano.mdb"));
        if (pipe)
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        if (!content.isEmpty()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        MainFrm frame(path);
        MessageCatcher catcher;
        QVERIFY(!frame.load());
        QCOMPARE(int(catcher.seen().size()), 1);
        QCOMPARE(catcher.seen().front().icon, QMessageBox::Critical);
        QVERIFY2(catcher.seen().front().text.contains(QStringLiteral("Mirkano.mdb")),
                 qPrintable(catcher.seen().front().text));
        QVERIFY2(!catcher.seen().front().text.contains(QStringLiteral("クエリ")), qPrintable(catcher.seen().front().text));
        if (pipe)
            QVERIFY2(catcher.seen().front().text.contains(QStringLiteral("名前付きパイプ")),
                     qPrintable(catcher.seen().front().text));
        QVERIFY(!frame.isVisible());
        QVERIFY(!QApplication::overrideCursor());
    }

    void tilingAndIconRowGeometry()
    {
        const QRect area(0, 0, 300, 100);
        const auto h = tileHorizontally(area, 3);
        QCOMPARE(h, (std::vector<QRect>{{0, 0, 300, 34}, {0, 34, 300, 33}, {0, 67, 300, 33}}));
        const auto v = tileVertically(area, 4);
        QCOMPARE(v, (std::vector<QRect>{{0, 0, 75, 100}, {75, 0, 75, 100}, {150, 0, 75, 100}, {225, 0, 75, 100}}));
        QVERIFY(tileHorizontally(area, 0).empty());
        // Icons fill the bottom line left to right, then a line above.
        const auto icons = iconRow(area, {{120, 20}, {120, 20}, {120, 20}});
        QCOMPARE(icons, (std::vector<QRect>{{0, 80, 120, 20}, {120, 80, 120, 20}, {0, 60, 120, 20}}));
        // The tilings keep to the part above the icons.
        QCOMPARE(aboveIcons(area, icons), QRect(0, 0, 300, 60));
        QCOMPARE(aboveIcons(area, {}), area);
    }

    void cascadeGeometry_data()
    {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<std::vector<QSize>>("sizes");
        QTest::addColumn<std::vector<QRect>>("expected");
        // Room enough: every window keeps its size, one step further on.
        QTest::newRow("own sizes") << QRect(0, 0, 1000, 800)
                                   << std::vector<QSize>{{300, 500}, {200, 100}, {600, 400}}
                                   << std::vector<QRect>{{0, 0, 300, 500}, {20, 20, 200, 100}, {40, 40, 600, 400}};
        // A window taller than the room below its corner is cut to it ...
        QTest::newRow("cut to the area") << QRect(0, 0, 500, 400)
                                         << std::vector<QSize>{{600, 900}, {300, 390}}
                                         << std::vector<QRect>{{0, 0, 500, 400}, {20, 20, 300, 380}};
        // ... but once that would leave it less than half the area, the
        // steps start again at the corner.
        QTest::newRow("steps start again") << QRect(10, 10, 400, 200)
                                           << std::vector<QSize>(7, QSize(400, 200))
                                           << std::vector<QRect>{{10, 10, 400, 200}, {30, 30, 380, 180},
                                                                 {50, 50, 360, 160}, {70, 70, 340, 140},
                                                                 {90, 90, 320, 120}, {110, 110, 300, 100},
                                                                 {10, 10, 400, 200}};
    }

    void cascadeGeometry()
    {
        QFETCH(QRect, area);
        QFETCH(std::vector<QSize>, sizes);
        QFETCH(std::vector<QRect>, expected);
        QCOMPARE(cascade(area, sizes, 20), expected);
    }

    void cascadeKeepsEachWindowsSize_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("3 windows") << 3;
        QTest::newRow("7 windows") << 7;
    }

    void cascadeKeepsEachWindowsSize()
    {
        // The toolkit's own cascade shrank every window to a bare title bar.
        QFETCH(int, count);
        MainFrm frame(m_file.path());
        QVERIFY(frame.load());
        frame.resize(1400, 1200);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        closePrediction(frame);
        QList<AnalysisWindow*> opened;
        for (const Analysis& a : analyses())
            if (opened.size() < count)
                opened << frame.openAnalysis(QString::fromLatin1(a.id));
        QCOMPARE(opened.size(), count);
        QHash<QMdiSubWindow*, QSize> sizes;
        for (AnalysisWindow* w : opened)
            sizes.insert(w, w->size());

        frame.findChild<QAction*>(QStringLiteral("mnuWindowCascade"))->trigger();
        const QList<QMdiSubWindow*> order = frame.mdiArea()->subWindowList(QMdiArea::StackingOrder);
        QCOMPARE(order.size(), count);
        const int step = order.first()->widget()->y();  // one title bar
        QVERIFY(step > 10);
        for (int i = 0; i < count; ++i) {
            QMdiSubWindow* w = order[i];
            QCOMPARE(w->pos(), QPoint(i * step, i * step));
            QCOMPARE(w->size(), sizes.value(w));
            QVERIFY(static_cast<AnalysisWindow*>(w)->grid()->isVisible());
        }
        // The front window keeps the focus.
        QCOMPARE(frame.mdiArea()->activeSubWindow(), order.last());

        // In a smaller frame each window is cut to the room it has, keeping
        // at least half of it (or its own size).
        frame.resize(700, 560);
        const QRect client = frame.mdiArea()->viewport()->rect();
        frame.findChild<QAction*>(QStringLiteral("mnuWindowCascade"))->trigger();
        for (QMdiSubWindow* w : frame.mdiArea()->subWindowList()) {
            QVERIFY(client.contains(w->geometry()));
            const QSize own = sizes.value(w);
            QVERIFY(w->width() >= qMin(own.width(), client.width() / 2));
            QVERIFY(w->height() >= qMin(own.height(), client.height() / 2));
            const SheetGrid* grid = static_cast<AnalysisWindow*>(w)->grid();
            QVERIFY(grid->height() >= qMin(grid->sizeHint().height(), 100));
        }
    }

    void windowCommandsArrangeTheChildren()
    {
        MainFrm frame(m_file.path());
        QVERIFY(frame.load());
        frame.resize(900, 700);
        frame.show();
        closePrediction(frame);
        const QStringList ids{QStringLiteral("count-groups"), QStringLiteral("pull"), QStringLiteral("dispersion")};
        for (const QString& id : ids)
            frame.openAnalysis(id);
        const QRect client = frame.mdiArea()->viewport()->rect();

        frame.findChild<QAction*>(QStringLiteral("mnuWindowHorizontal"))->trigger();
        int height = 0;
        for (QMdiSubWindow* w : frame.mdiArea()->subWindowList()) {
            QCOMPARE(w->x(), 0);
            QCOMPARE(w->width(), client.width());
            height += w->height();
        }
        QCOMPARE(height, client.height());
        // The active window comes first.
        QCOMPARE(frame.analysisWindow(QStringLiteral("dispersion"))->y(), 0);

        frame.findChild<QAction*>(QStringLiteral("mnuWindowVertical"))->trigger();
        int width = 0;
        for (QMdiSubWindow* w : frame.mdiArea()->subWindowList()) {
            QCOMPARE(w->y(), 0);
            QCOMPARE(w->height(), client.height());
            width += w->width();
        }
        QCOMPARE(width, client.width());

        frame.analysisWindow(QStringLiteral("count-groups"))->showMinimized();
        frame.analysisWindow(QStringLiteral("pull"))->showMinimized();
        frame.findChild<QAction*>(QStringLiteral("mnuWindowArrangeIcon"))->trigger();
        const QRect a = frame.analysisWindow(QStringLiteral("count-groups"))->geometry();
        const QRect b = frame.analysisWindow(QStringLiteral("pull"))->geometry();
        QCOMPARE(a.bottom(), client.bottom());
        QCOMPARE(b.bottom(), client.bottom());
        QVERIFY(a.right() < b.left() || b.right() < a.left());
        QVERIFY(qMin(a.left(), b.left()) == 0);

        // With icons at the bottom the remaining window is tiled above them.
        frame.findChild<QAction*>(QStringLiteral("mnuWindowHorizontal"))->trigger();
        const QRect d = frame.analysisWindow(QStringLiteral("dispersion"))->geometry();
        QCOMPARE(d, QRect(0, 0, client.width(), qMin(a.top(), b.top())));
        QCOMPARE(frame.analysisWindow(QStringLiteral("pull"))->geometry(), b);
    }

    // Ctrl+Tab and Ctrl+Shift+Tab go through the children, Ctrl+F4 closes
    // the active one. None of it activates the frame itself, so the
    // prediction window is neither asked for again nor reopened once closed.
    void keysGoThroughAndCloseTheChildren()
    {
        MainFrm frame(m_file.path());
        QVERIFY(frame.load());
        frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QTRY_VERIFY(frame.predictionWindow());
        frame.openAnalysis(QStringLiteral("pull"));
        frame.openAnalysis(QStringLiteral("count-groups"));
        QSignalSpy prediction(&frame, &MainFrm::predictionRequested);
        auto press = [&](Qt::Key key, Qt::KeyboardModifiers mods) {
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus ? focus : static_cast<QWidget*>(&frame), key, mods);
            QCoreApplication::processEvents();
            return frame.mdiArea()->activeSubWindow();
        };

        QMdiSubWindow* start = frame.mdiArea()->activeSubWindow();
        QList<QMdiSubWindow*> seen{start};
        for (int i = 0; i < 3; ++i)
            seen << press(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(seen.last(), start);  // round the three children
        QCOMPARE(QSet<QMdiSubWindow*>(seen.begin(), seen.end()).size(), 3);
        QCOMPARE(press(Qt::Key_Tab, Qt::ControlModifier), seen[1]);
        QCOMPARE(press(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier), start);  // back

        // Ctrl+F4 on each child in turn, the prediction window among them.
        for (int left = 2; left >= 0; --left) {
            QPointer<QMdiSubWindow> active = frame.mdiArea()->activeSubWindow();
            QVERIFY(active);
            press(Qt::Key_F4, Qt::ControlModifier);
            settle();
            QVERIFY(!active);
            QCOMPARE(frame.mdiArea()->subWindowList().size(), left);
        }
        QVERIFY(!frame.predictionWindow());
        QCOMPARE(prediction.count(), 0);
        // The keys are shown in the ウィンドウ menu.
        QCOMPARE(frame.findChild<QAction*>(QStringLiteral("mnuWindowClose"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+F4")));
        QCOMPARE(frame.findChild<QAction*>(QStringLiteral("mnuWindowNext"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+Tab")));
        QCOMPARE(frame.findChild<QAction*>(QStringLiteral("mnuWindowPrevious"))->shortcut(),
                 QKeySequence(QStringLiteral("Ctrl+Shift+Tab")));
    }

    // Tiled side by side, the prediction window is narrower than its controls:
    // it scrolls, and 閉じる can be brought into view and pressed. At its own
    // size it shows everything without bars.
    void aTiledWindowTooSmallForItsControlsScrolls()
    {
        MainFrm frame(m_file.path());
        QVERIFY(frame.load());
        frame.resize(1024, 768);
        frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QTRY_VERIFY(frame.predictionWindow());
        PredictionWindow* p = frame.predictionWindow();
        auto* scroll = p->findChild<QScrollArea*>(QStringLiteral("bodyScroll"));
        QVERIFY(scroll);
        QVERIFY(!scroll->horizontalScrollBar()->isVisible());
        QVERIFY(!scroll->verticalScrollBar()->isVisible());

        frame.openAnalysis(QStringLiteral("pull"));
        frame.openAnalysis(QStringLiteral("count-groups"));
        frame.findChild<QAction*>(QStringLiteral("mnuWindowVertical"))->trigger();
        QCoreApplication::processEvents();
        QPushButton* close = p->closeButton();
        QVERIFY(scroll->horizontalScrollBar()->isVisible());
        QVERIFY(scroll->horizontalScrollBar()->maximum() > 0);
        scroll->ensureWidgetVisible(close);
        const QRect inView(close->mapTo(scroll->viewport(), QPoint(0, 0)), close->size());
        QVERIFY(scroll->viewport()->rect().contains(inView));
        QTest::mouseClick(close, Qt::LeftButton);
        QTRY_VERIFY(!frame.predictionWindow());
    }

    // Coming back to the frame from the version window, a window of the
    // program, asks for the prediction window, whether the version window
    // was closed or left open; coming back from a dialog does not.
    void activationFromTheVersionWindowButNotFromDialogs_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("closeIt");
        QTest::addColumn<int>("requests");
        QTest::newRow("version window, clicked back") << QStringLiteral("version") << false << 1;
        QTest::newRow("version window, closed") << QStringLiteral("version") << true << 1;
        QTest::newRow("message box") << QStringLiteral("message") << true << 0;
        QTest::newRow("file chooser") << QStringLiteral("file") << true << 0;
        QTest::newRow("print preview") << QStringLiteral("preview") << true << 0;
    }

    void activationFromTheVersionWindowButNotFromDialogs()
    {
        QFETCH(QString, window);
        QFETCH(bool, closeIt);
        QFETCH(int, requests);
        MainFrm frame(m_file.path());
        QVERIFY(frame.load());
        frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        closePrediction(frame);
        QSignalSpy prediction(&frame, &MainFrm::predictionRequested);

        QPrinter printer;
        QPointer<QWidget> other;
        if (window == QLatin1String("version")) {
            frame.findChild<QAction*>(QStringLiteral("mnuAbout"))->trigger();
            other = frame.findChild<QWidget*>(QStringLiteral("versionWindow"));
        } else if (window == QLatin1String("message")) {
            other = new QMessageBox(QMessageBox::Information, kMessageTitle, QStringLiteral("x"), QMessageBox::Ok, &frame);
        } else if (window == QLatin1String("file")) {
            auto* d = new QFileDialog(&frame);
            d->setOption(QFileDialog::DontUseNativeDialog);
            other = d;
        } else {
            other = new QPrintPreviewDialog(&printer, &frame);
        }
        QVERIFY(other);
        // Focus moves as the window system moves it: to the window shown, and
        // back to the frame when the user clicks it or the window closes.
        auto focus = [](QWidget* w) {
            w->windowHandle()->requestActivate();
            QTRY_COMPARE(QApplication::activeWindow(), w);
        };
        other->show();
        focus(other);
        if (closeIt) {
            other->close();
            settle();  // the version window deletes itself
        }
        focus(&frame);
        QCoreApplication::processEvents();
        QCOMPARE(prediction.count(), requests);
        QCOMPARE(frame.predictionWindow() != nullptr, requests > 0);
        delete other;
    }
};

QTEST_MAIN(MainFrmTest)
#include "main_frm_test.moc"
