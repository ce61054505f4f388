// The prediction window: its controls, the sheets it shows for the flags it
// opens with, the option click, and its place in the main window's start-up,
// entry guard and shutdown with the settings file.

#include "gui_support.h"
#include "core/predict/prediction_sheets.h"
#include "core/predict/reflect_settings.h"
#include "core/history/startup_tables.h"
#include "gui/predict/prediction_window.h"
#include "gui/shell/main_frm.h"
#include "predict/game_samples.h"
#include "gui/sheet/grid_actions.h"
#include "core/sheet/sheet_text.h"

#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QPdfWriter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace mirkano;
using namespace mirkano::test;

namespace {

ReflectFlags flagsOn(std::initializer_list<int> options)
{
    ReflectFlags f;
    for (int i : options)
        f.on[std::size_t(i)] = true;
    return f;
}

// Draws 1 … 30 whose numbers never repeat within six draws, with 24 … 26
// missing: with all options off the multiple prediction has twelve numbers,
// with option 7 on (W = 2) only seven, and with option 1 on (W = 15) the
// history is too short for the elimination.
History gappedHistory()
{
    History h;
    for (int n = 1; n <= 30; ++n) {
        if (n >= 24 && n <= 26)
            continue;
        DrawRecord d{n, {}};
        for (int k = 0; k < game(GameId::Loto6).numbersPerDraw(); ++k)
            d.numbers[std::size_t(k)] = (7 * n + k) % game(GameId::Loto6).pool + 1;
        h.push_back(d);
    }
    return h;
}

// Every text of the four grids equals what the engine gives for these flags.
void compareSheets(const PredictionWindow& w, const History& h, const ReflectFlags& flags)
{
    const PeriodTables t = buildPeriodTables(h);
    const PredictionSheets expected = buildPredictionSheets(t, predict(t, buildStartupTables(h).latestDrawNo, flags));
    for (int s = 0; s < 4; ++s) {
        const Sheet& shown = w.sheet(s)->sheet();
        const Sheet& want = expected[std::size_t(s)];
        QCOMPARE(shown.rows(), want.rows());
        for (int r = 1; r <= want.rows(); ++r)
            for (int c = 1; c <= want.columns(); ++c)
                QVERIFY2(shown.text(c, r) == want.text(c, r),
                         qPrintable(QStringLiteral("sheet %1 (%2,%3): %4 ≠ %5").arg(s).arg(c).arg(r).arg(shown.text(c, r), want.text(c, r))));
    }
}

bool numbersEmpty(const Sheet& s, int firstRow, int lastRow, int firstCol = 2)
{
    for (int r = firstRow; r <= lastRow; ++r)
        for (int c = firstCol; c <= 7; ++c)
            if (!s.text(c, r).isEmpty())
                return false;
    return true;
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class PredictionWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setFont(uiFont()); }

    void eachGamesSheetsFitTheirFrame_data()
    {
        QTest::addColumn<int>("game");
        for (const Game& g : games())
            QTest::addRow("%s", qPrintable(g.cliName.toString())) << int(g.id);
    }

    void eachGamesSheetsFitTheirFrame()
    {
        // A column per main number: Loto 7's wider sheets widen the
        // prediction frame, the buttons over it and the window; Loto 6 and
        // Mini Loto keep the designed size.
        QFETCH(int, game);
        const GameId id = GameId(game);
        const Game& g = mirkano::game(id);
        const History& h = gameSample(id);
        QMdiArea area;
        area.resize(1600, 1000);
        auto* w = new PredictionWindow({}, id);
        area.addSubWindow(w);
        w->load(h, buildStartupTables(h, id).latestDrawNo);
        w->show();
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));

        const PeriodTables t = buildPeriodTables(h, id);
        const PredictionSheets expected = buildPredictionSheets(t, predict(t, h.back().drawNo, {}));
        const auto* frame = w->findChild<QGroupBox*>(QStringLiteral("Frame2"));
        for (int s = 0; s < 4; ++s) {
            const SheetGrid* grid = w->sheet(s);
            QCOMPARE(grid->sheet().columns(), 1 + g.mains);
            QCOMPARE(rowTexts(grid->sheet(), 2, 1, 1 + g.mains), rowTexts(expected[std::size_t(s)], 2, 1, 1 + g.mains));
            QCOMPARE(grid->size(), grid->sizeHint());
            QVERIFY(frame->rect().contains(grid->geometry()));
        }
        QCOMPARE(w->sheet(3)->sheet().text(1 + g.mains, 2), QString::number(predict(t, h.back().drawNo, {}).single.back()));
        QVERIFY(w->body()->rect().contains(frame->geometry()));
        QVERIFY(w->closeButton()->geometry().right() <= frame->geometry().right());
        QCOMPARE(w->size(), w->openingSize());
        if (id == GameId::Loto7)
            QVERIFY(w->width() > 624);
        else
            QCOMPARE(w->size(), QSize(624, 560));
        auto* scroll = w->findChild<QScrollArea*>(QStringLiteral("bodyScroll"));
        QVERIFY(!scroll->horizontalScrollBar()->isVisible());
    }

    void controlsAndSheetsOnOpening()
    {
        const History h = gappedHistory();
        const ReflectFlags flags = flagsOn({0, 3});
        QMdiArea area;
        area.resize(900, 700);
        auto* w = new PredictionWindow(flags);
        area.addSubWindow(w);
        QSignalSpy opened(w, &PredictionWindow::opened);
        area.show();
        w->load(h, 30);
        w->show();
        QCOMPARE(opened.count(), 1);
        QVERIFY(!QApplication::overrideCursor());

        QCOMPARE(w->windowTitle(), QStringLiteral("一発ミルカノ予想"));
        QCOMPARE(w->pos(), QPoint(0, 0));
        QCOMPARE(w->size(), QSize(624, 560));  // 9360 x 8400 twips
        QVERIFY(w->printButton()->isEnabled());
        QCOMPARE(w->printButton()->text(), QStringLiteral("印刷"));
        QCOMPARE(w->closeButton()->text(), QStringLiteral("閉じる"));
        QVERIFY(w->closeButton()->x() > w->printButton()->x());

        QCOMPARE(w->findChild<QGroupBox*>(QStringLiteral("Frame3"))->title(), QStringLiteral("データ分析オプション"));
        QCOMPARE(w->findChild<QGroupBox*>(QStringLiteral("Frame2"))->title(), QStringLiteral("当選予想"));
        QCOMPARE(w->findChild<QLabel*>(QStringLiteral("Label2"))->text(),
                 QStringLiteral("●消去法による予想(この予想数字を組合わせて購入します)"));
        for (int i = 0; i < kReflectOptionCount; ++i) {
            auto* frame = qobject_cast<QGroupBox*>(w->reflectButton(i)->parentWidget());
            QCOMPARE(frame->title(), kReflectOptions[std::size_t(i)].caption.toString());
            QCOMPARE(w->reflectButton(i)->text(), QStringLiteral("反映する"));
            QCOMPARE(w->keepOutButton(i)->text(), QStringLiteral("反映しない"));
            QCOMPARE(w->keepOutButton(i)->parentWidget(), frame);
            const bool on = flags.on[std::size_t(i)];
            QCOMPARE(w->reflectButton(i)->isChecked(), on);
            QCOMPARE(w->keepOutButton(i)->isChecked(), !on);
        }
        // The options on the left, the sheets on the right, each under its title.
        QVERIFY(w->sheet(0)->mapTo(w, QPoint()).x() > w->reflectButton(0)->mapTo(w, QPoint()).x() + 100);
        for (int s = 1; s < 4; ++s)
            QVERIFY(w->sheet(s)->geometry().top() > w->sheet(s - 1)->geometry().bottom());
        // Each grid is sized to show its whole sheet.
        QCOMPARE(w->sheet(0)->size(), w->sheet(0)->sizeHint());
        QCOMPARE(w->sheet(0)->sheet().rows(), 5);
        compareSheets(*w, h, flags);
        QVERIFY(!numbersEmpty(w->sheet(3)->sheet(), 2, 2));
    }

    void optionClickRecomputesEverySheet()
    {
        const History h = gappedHistory();
        QMdiArea area;
        auto* w = new PredictionWindow({});
        area.addSubWindow(w);
        area.show();
        w->load(h, 30);
        w->show();
        QSignalSpy changed(w, &PredictionWindow::flagsChanged);
        compareSheets(*w, h, {});
        QVERIFY(!numbersEmpty(w->sheet(2)->sheet(), 3, 3));
        const Sheet periods = w->sheet(0)->sheet();

        // Seven numbers now: the second row of the multiple prediction keeps
        // only its first cell.
        QTest::mouseClick(w->reflectButton(7), Qt::LeftButton);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.last().first().value<ReflectFlags>(), flagsOn({7}));
        QCOMPARE(w->flags(), flagsOn({7}));
        QVERIFY(w->keepOutButton(7)->isChecked() == false);
        compareSheets(*w, h, flagsOn({7}));
        QVERIFY(!w->sheet(2)->sheet().text(2, 3).isEmpty());
        QVERIFY(numbersEmpty(w->sheet(2)->sheet(), 3, 3, 3));

        // Too short for the elimination: sheet 1 empties entirely.
        QTest::mouseClick(w->reflectButton(1), Qt::LeftButton);
        compareSheets(*w, h, flagsOn({1, 7}));
        QVERIFY(numbersEmpty(w->sheet(1)->sheet(), 2, 4));
        QCOMPARE(w->sheet(1)->sheet().text(1, 3), QStringLiteral("消去法"));

        // Back to all off: the first result again; the periods never change.
        QTest::mouseClick(w->keepOutButton(1), Qt::LeftButton);
        QTest::mouseClick(w->keepOutButton(7), Qt::LeftButton);
        QCOMPARE(changed.count(), 4);
        QCOMPARE(w->flags(), ReflectFlags{});
        compareSheets(*w, h, {});
        for (int r = 1; r <= 5; ++r)
            for (int c = 1; c <= 7; ++c)
                QCOMPARE(w->sheet(0)->sheet().text(c, r), periods.text(c, r));
        // Clicking the button already selected changes nothing.
        QTest::mouseClick(w->keepOutButton(1), Qt::LeftButton);
        QCOMPARE(changed.count(), 4);
    }

    // What a player takes to the shop: one page with the options chosen in
    // words; each sheet has the grid's menu, whose 印刷… prints that page.
    void printsOnePageWithTheOptionsAndEachSheetCopies()
    {
        const History h = gappedHistory();
        PredictionWindow w(flagsOn({0, 6}));
        w.load(h, 30);

        const QStringList lines = w.printLines();
        const QString all = lines.join(u'\n');
        QVERIFY(all.contains(QStringLiteral("第30回までの当選データによる予想")));
        QVERIFY(all.contains(kReflectOptions[0].caption.toString()));
        QVERIFY(all.contains(kReflectOptions[6].caption.toString()));
        QVERIFY(!all.contains(kReflectOptions[1].caption.toString()));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("prediction.pdf"));
        {
            QPdfWriter pdf(path);
            w.printTo(pdf);
        }
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString pdfText = QString::fromLatin1(f.readAll());
        QCOMPARE(int(pdfText.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]")))), 1);

        for (int i = 0; i < 4; ++i) {
            GridActions* actions = GridActions::of(w.sheet(i));
            QVERIFY(actions);
            std::unique_ptr<QMenu> menu(actions->buildMenu(nullptr));
            QCOMPARE(menu->actions().first()->text(), QStringLiteral("コピー"));
            QCOMPARE(actions->copyText(), sheetToTsv(w.sheet(i)->sheet()));
            QVERIFY(actions->printHandler);
        }
    }

    void startUpOpensItAndTheEntryGuardRefuses()
    {
        HistoryFile file;
        writeReflectFlags(settingsPathIn(file.folder()), flagsOn({4}));
        MainFrm frame(file.path());
        QCOMPARE(frame.settingsPath(), settingsPathIn(file.folder()));
        QVERIFY(frame.load());
        QCOMPARE(frame.reflectFlags(), flagsOn({4}));
        frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&frame));

        // Opened by the frame's activation, with the saved flags.
        QPointer<PredictionWindow> w = frame.predictionWindow();
        QVERIFY(w);
        QCOMPARE(frame.mdiArea()->activeSubWindow(), w.data());
        QVERIFY(w->reflectButton(4)->isChecked());
        QVERIFY(!frame.propEnd());
        compareSheets(*w, frame.history(), flagsOn({4}));
        {
            MessageCatcher catcher;
            QVERIFY(!frame.openWinningDataEntry());
            QCOMPARE(int(catcher.seen().size()), 1);
            QVERIFY(catcher.seen().front().text.startsWith(kCloseWindowsFirst + u'\n'));
            QVERIFY(catcher.seen().front().text.contains(QStringLiteral("「一発ミルカノ予想」")));
        }

        // The menu item brings the open window to the front unchanged.
        frame.openAnalysis(QStringLiteral("pull"));
        QAction* item = frame.findChild<QAction*>(QStringLiteral("mnuYoso"));
        QVERIFY(item->isEnabled());
        QCOMPARE(item->text(), QStringLiteral("一発ミルカノ予想(&D)"));
        item->trigger();
        QCOMPARE(frame.predictionWindow(), w.data());
        QCOMPARE(frame.mdiArea()->activeSubWindow(), w.data());
        frame.analysisWindow(QStringLiteral("pull"))->closeButton()->click();

        w->closeButton()->click();
        QVERIFY(frame.propEnd());
        QVERIFY(!frame.predictionWindow());
        {
            MessageCatcher catcher;
            QVERIFY(frame.openWinningDataEntry());
            QVERIFY(catcher.seen().empty());
        }
    }

    void flagsOutliveTheWindowAndAreSavedOnlyAtExit()
    {
        HistoryFile file;
        const QString settings = settingsPathIn(file.folder());
        QVERIFY(!QFileInfo::exists(settings));
        {
            MainFrm frame(file.path());
            QVERIFY(frame.load());
            QCOMPARE(frame.reflectFlags(), ReflectFlags{});  // no file: all off
            frame.show();
            QVERIFY(QTest::qWaitForWindowActive(&frame));
            PredictionWindow* w = frame.predictionWindow();
            QVERIFY(w);
            QTest::mouseClick(w->reflectButton(2), Qt::LeftButton);
            QTest::mouseClick(w->reflectButton(11), Qt::LeftButton);
            w->closeButton()->click();
            QVERIFY(!QFileInfo::exists(settings));  // an option click writes nothing

            frame.findChild<QAction*>(QStringLiteral("mnuYoso"))->trigger();
            w = frame.predictionWindow();
            QVERIFY(w);
            QVERIFY(w->reflectButton(2)->isChecked() && w->reflectButton(11)->isChecked());
            QVERIFY(w->keepOutButton(0)->isChecked());
            compareSheets(*w, frame.history(), flagsOn({2, 11}));
            QTest::mouseClick(w->keepOutButton(11), Qt::LeftButton);
            QVERIFY(!QFileInfo::exists(settings));

            QSignalSpy shutDown(&frame, &MainFrm::shutDown);
            frame.close();
            QCOMPARE(shutDown.count(), 1);
        }
        // Written once, at exit, with the choice of the last click.
        const QByteArray saved = fileBytes(settings);
        QCOMPARE(readReflectFlags(settings), flagsOn({2}));
        QCOMPARE(saved, reflectFlagsFileContent(flagsOn({2})));

        MainFrm next(file.path());
        QVERIFY(next.load());
        QCOMPARE(next.reflectFlags(), flagsOn({2}));
    }

    // What cannot be a settings file, in place of one: a folder, a named pipe
    // (which hung the start), a link to an endless device (which filled the
    // memory). The start neither hangs nor stops, the options start off with a
    // note on the error output; the exit writes nothing over it, asks nothing
    // and notes why.
    void unwritableSettingsDoNotStopTheShutdown_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("folder") << "folder";
        QTest::newRow("named pipe") << "pipe";
        QTest::newRow("link to /dev/zero") << "/dev/zero";
        QTest::newRow("link to /dev/urandom") << "/dev/urandom";
    }

    void unwritableSettingsDoNotStopTheShutdown()
    {
        QFETCH(QString, kind);
        HistoryFile file;
        QTemporaryDir dir;
        const QString settings = dir.filePath(kSettingsFileName);
        const QByteArray native = QFile::encodeName(settings);
        if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(settings));
        else if (kind == QLatin1String("pipe"))
            QCOMPARE(::mkfifo(native.constData(), 0644), 0);
        else
            QCOMPARE(::symlink(QFile::encodeName(kind).constData(), native.constData()), 0);
        const auto sameKind = [&] {
            const QFileInfo now(settings);
            return kind == QLatin1String("folder") ? now.isDir()
                   : kind == QLatin1String("pipe") ? !now.isSymLink() && !now.isFile() && now.exists()
                                                   : now.symLinkTarget() == kind;
        };
        MainFrm frame(file.path(), settings);
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^設定ファイル「.*」を読み込めません：.*"
                                                               "予想への反映はすべて「反映しない」で始めます。$")));
        MessageCatcher catcher;
        QVERIFY(frame.load());
        QCOMPARE(frame.reflectFlags(), ReflectFlags{});
        frame.show();
        QSignalSpy shutDown(&frame, &MainFrm::shutDown);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^設定ファイル「.*」を保存できません：")));
        QVERIFY(frame.close());
        QCOMPARE(shutDown.count(), 1);
        QVERIFY(catcher.seen().empty());
        QVERIFY(sameKind());
    }
};

QTEST_MAIN(PredictionWindowTest)
#include "prediction_window_test.moc"
