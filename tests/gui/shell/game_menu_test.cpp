// The ゲーム menu: one game at a time, each with its own history and settings
// beside the others; switching closes the children, asks first where the
// entry window holds unsaved input, and the last game is remembered.

#include "gui_support.h"
#include "core/game/game_files.h"
#include "gui/maintenance/entry_window.h"
#include "gui/predict/prediction_window.h"
#include "gui/shell/main_frm.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>

#include <deque>

using namespace mirkano;
using namespace mirkano::test;

namespace {

class GameFrame : public MainFrm {
public:
    using MainFrm::MainFrm;
    QStringList messages;
    QMessageBox::StandardButton answer = QMessageBox::No;

protected:
    QMessageBox::StandardButton ask(QMessageBox::Icon, const QString&, const QString& text,
                                    QMessageBox::StandardButtons buttons, QMessageBox::StandardButton) override
    {
        messages << text;
        return buttons.testFlag(answer) ? answer : QMessageBox::Ok;
    }
};

QAction* gameItem(const MainFrm& frame, const char* cliName)
{
    return frame.findChild<QAction*>(QStringLiteral("mnuGame_") + QLatin1String(cliName));
}

History loto7History()
{
    return makeGameHistory(GameId::Loto7, {{1, {7, 10, 12, 17, 23, 28, 34, 3, 15}},
                                           {2, {20, 24, 29, 31, 33, 34, 35, 32, 12}},
                                           {3, {1, 5, 9, 13, 22, 30, 37, 2, 4}}});
}

}  // namespace

class GameMenuTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setFont(uiFont()); }

    void switchingReadsTheChosenGameAndRemembersIt()
    {
        HistoryFile file;  // Mirkano.mdb, Loto 6
        const QString folder = file.folder();
        saveHistory(gameHistoryPath(folder, GameId::Loto7), loto7History(), GameId::Loto7);
        GameFrame frame(file.path());
        QVERIFY(frame.load());
        frame.show();
        QCOMPARE(frame.windowTitle(), QStringLiteral("ミルカノ"));
        QVERIFY(gameItem(frame, "loto6")->isChecked());
        QPointer<AnalysisWindow> open = frame.openAnalysis(QStringLiteral("frequency"));
        QVERIFY(open);

        gameItem(frame, "loto7")->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(frame.game(), GameId::Loto7);
        QCOMPARE(frame.windowTitle(), QStringLiteral("ミルカノ － ロト7"));
        QVERIFY(gameItem(frame, "loto7")->isChecked() && !gameItem(frame, "loto6")->isChecked());
        QVERIFY(!open);  // the children of Loto 6 are closed
        QVERIFY(frame.predictionWindow());  // and the prediction of Loto 7 is open
        QCOMPARE(int(frame.history().size()), 3);
        QCOMPARE(frame.tables().gameId, GameId::Loto7);
        QCOMPARE(frame.historyPath(), gameHistoryPath(folder, GameId::Loto7));
        QCOMPARE(frame.settingsPath(), gameSettingsPath(folder, GameId::Loto7));
        QCOMPARE(readLastGame(folder), GameId::Loto7);
        // Its analyses read Loto 7: 37 numbers, nine a draw.
        QVERIFY(frame.openAnalysis(QStringLiteral("frequency")));
        QCOMPARE(frame.tables().numberCount[37], 1);

        // Mini Loto has no history here yet: the sample beside the program is copied.
        gameItem(frame, "miniloto")->trigger();
        QCOMPARE(frame.game(), GameId::MiniLoto);
        QCOMPARE(frame.windowTitle(), QStringLiteral("ミルカノ － ミニロト"));
        QVERIFY(QFileInfo::exists(gameHistoryPath(folder, GameId::MiniLoto)));
        QVERIFY(frame.history().size() > 1000);
        QVERIFY(frame.messages.isEmpty());
    }

    // A file of another game where the chosen game's history should be: named
    // with both games, and the frame stays with the game it had.
    void aFileOfAnotherGameIsRefused()
    {
        HistoryFile file;
        QVERIFY(QFile::copy(file.path(), gameHistoryPath(file.folder(), GameId::Loto7)));
        GameFrame frame(file.path());
        QVERIFY(frame.load());
        frame.show();
        QVERIFY(!frame.switchGame(GameId::Loto7));
        QCOMPARE(frame.game(), GameId::Loto6);
        QCOMPARE(frame.windowTitle(), QStringLiteral("ミルカノ"));
        QVERIFY(gameItem(frame, "loto6")->isChecked());
        QCOMPARE(frame.messages.size(), 1);
        QVERIFY(frame.messages.first().contains(QStringLiteral("ロト6")));
        QVERIFY(frame.messages.first().contains(QStringLiteral("ロト7")));
        QCOMPARE(readLastGame(file.folder()), GameId::Loto6);
    }

    // Input typed into the entry window and not in the file: the switch asks
    // first; いいえ keeps the game and the input.
    void unsavedEntryInputIsAskedAbout()
    {
        HistoryFile file;
        saveHistory(gameHistoryPath(file.folder(), GameId::Loto7), loto7History(), GameId::Loto7);
        GameFrame frame(file.path());
        QVERIFY(frame.load());
        frame.show();
        QCoreApplication::processEvents();
        if (QWidget* w = frame.predictionWindow())
            w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(frame.openWinningDataEntry());
        WinningDataEntryWindow* entry = frame.winningDataEntryWindow();
        QVERIFY(entry);
        entry->grid()->model()->setData(entry->grid()->model()->index(0, 1), QStringLiteral("99"));
        frame.answer = QMessageBox::No;
        QVERIFY(!frame.switchGame(GameId::Loto7));
        QCOMPARE(frame.game(), GameId::Loto6);
        QVERIFY(frame.winningDataEntryWindow());
        QCOMPARE(frame.messages.size(), 1);
        frame.answer = QMessageBox::Yes;
        QVERIFY(frame.switchGame(GameId::Loto7));
        QCOMPARE(frame.game(), GameId::Loto7);
        QVERIFY(!frame.winningDataEntryWindow());
    }

    // The game shown last cannot be read (a Loto 6 file copied over it, or
    // bytes that are no history): the program says so and starts on Loto 6,
    // which it remembers, so the next start is plain; the file is left as it
    // is. Only when Loto 6 cannot be read either does the start fail.
    void anUnreadableLastGameStartsOnLoto6_data()
    {
        QTest::addColumn<bool>("loto6Copy");
        QTest::newRow("Loto 6 file") << true;
        QTest::newRow("not a history") << false;
    }

    void anUnreadableLastGameStartsOnLoto6()
    {
        QFETCH(bool, loto6Copy);
        HistoryFile file;
        const QString folder = file.folder();
        const QString loto7 = gameHistoryPath(folder, GameId::Loto7);
        if (loto6Copy) {
            QVERIFY(QFile::copy(file.path(), loto7));
        } else {
            QFile f(loto7);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
        }
        const QByteArray loto7Bytes = [&] {
            QFile f(loto7);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        QVERIFY(writeLastGame(folder, GameId::Loto7).isEmpty());
        // As the program starts.
        const auto start = [&](GameFrame& frame) {
            frame.setGame(readLastGame(folder));
            return frame.loadAtStartUp();
        };
        GameFrame frame(gameHistoryPath(folder, readLastGame(folder)), gameSettingsPath(folder, readLastGame(folder)));
        QVERIFY(start(frame));
        QCOMPARE(frame.game(), GameId::Loto6);
        QCOMPARE(frame.windowTitle(), QStringLiteral("ミルカノ"));
        QVERIFY(gameItem(frame, "loto6")->isChecked());
        QCOMPARE(frame.historyPath(), file.path());
        QCOMPARE(frame.settingsPath(), gameSettingsPath(folder, GameId::Loto6));
        QCOMPARE(frame.history(), smallHistory());
        QCOMPARE(frame.messages.size(), 1);
        const QString message = frame.messages.first();
        QVERIFY2(message.contains(loto7) && message.endsWith(QStringLiteral(
                     "。\n\nロト7の履歴を読み込めないため、ロト6で起動します。ロト7は、履歴ファイルを直してから「ゲーム」メニューで選べます。")),
                 qPrintable(message));
        QCOMPARE(readLastGame(folder), GameId::Loto6);
        QFile kept(loto7);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), loto7Bytes);

        GameFrame next(gameHistoryPath(folder, readLastGame(folder)), gameSettingsPath(folder, readLastGame(folder)));
        QVERIFY(start(next));
        QVERIFY(next.messages.isEmpty());

        // Neither game can be read: the start fails, naming both files.
        {
            QFile f(file.path());
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(QByteArray(4096, 'y'));
        }
        QVERIFY(writeLastGame(folder, GameId::Loto7).isEmpty());
        GameFrame broken(loto7, gameSettingsPath(folder, GameId::Loto7));
        QVERIFY(!start(broken));
        QCOMPARE(broken.messages.size(), 1);
        QVERIFY2(broken.messages.first().contains(loto7) && broken.messages.first().contains(file.path()),
                 qPrintable(broken.messages.first()));
    }
};

QTEST_MAIN(GameMenuTest)
#include "game_menu_test.moc"
