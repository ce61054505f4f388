// "当選データ最新化" from the main window against a real HTTP server on the
// loopback: the progress dialog with its byte count and Cancel, the merge of
// a history file or a CSV with its summary and the open windows reading the
// new history, conflicts asked about, refusals that leave the file byte for
// byte, and the cases where nothing is fetched at all.

#include "answering_catcher.h"
#include "gui_support.h"
#include "core/check/ticket_check.h"
#include "core/game/game_files.h"
#include "core/history/history_csv.h"
#include "core/maintenance/history_update.h"
#include "gui/maintenance/history_update_dialog.h"
#include "gui/shell/main_frm.h"
#include "support/loopback_http.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QStringEncoder>
#include <QtTest>

using namespace mirkano;
using namespace mirkano::test;

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QProgressDialog* progressDialog()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<QProgressDialog*>(w); p && p->isVisible())
            return p;
    return nullptr;
}

}  // namespace

class HistoryUpdateTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<HistoryFile> m_file;
    std::unique_ptr<MainFrm> m_frame;
    QByteArray m_good;  // a history file: the test history with draw 4 completed and draws 7 and 8 added
    QTemporaryDir m_dir;

    void run() { m_frame->findChild<QAction*>(QStringLiteral("mnuMasterUpdate"))->trigger(); }

    static History goodHistory()
    {
        History h = smallHistory();
        h[3].numbers[2] = 40;
        h.push_back(DrawRecord{7, {10, 11, 12, 13, 14, 15, 16}});
        h.push_back(DrawRecord{8, {20, 21, 22, 23, 24, 25, 26}});
        return h;
    }

private slots:
    void initTestCase()
    {
        QApplication::setFont(uiFont());
        const QString good = m_dir.filePath(QStringLiteral("good.mdb"));
        saveHistory(good, goodHistory());
        m_good = bytesOf(good);
    }

    void init()
    {
        m_file = std::make_unique<HistoryFile>();
        m_frame = std::make_unique<MainFrm>(m_file->path());
        QVERIFY(m_frame->load());
        m_frame->setUpdateLimits({.idleTimeoutMs = 10'000, .totalTimeoutMs = 20'000, .maxBytes = 1 << 20});
        m_frame->show();
    }

    void cleanup()
    {
        m_frame.reset();
        qunsetenv(kServerVariable);
        qunsetenv("MIRKANO_SERVER_LOTO7");
    }

    void replacesTheFileAndTheOpenWindowsShowTheNewHistory()
    {
        LoopbackHttp http;
        http.serve({.body = m_good});
        qputenv(kServerVariable, http.server().toUtf8());
        // Not refused while an analysis window is open; it shows the new draws,
        // and an open ticket check reads them at its next check.
        QPointer<AnalysisWindow> pull = m_frame->openAnalysis(QStringLiteral("pull"));
        QPointer<TicketCheckWindow> ticketCheck = m_frame->openTicketCheck();
        const QStringList ticket = {"1", "2", "3", "4", "5", "6"};
        for (int i = 0; i < 6; ++i)
            ticketCheck->entry(i)->setText(ticket[i]);
        QPointer<BacktestWindow> backtest = m_frame->openBacktest(ReflectFlags{});
        const QString backtestBefore = backtest->summary()->text();
        {
            AnsweringCatcher catcher;
            run();
            QCOMPARE(int(catcher.seen().size()), 1);
            QCOMPARE(catcher.seen().front().text,
                     QStringLiteral("当選データを最新化しました。\n「%1/download/Mirkano/Mirkano.mdb」の当選データを取り込みました。\n"
                                    "追加 2回、同じ 5回、補完 1回、食い違い 0回")
                         .arg(http.server()));
            QCOMPARE(catcher.seen().front().title, QStringLiteral("ミルカノ"));
            QCOMPARE(catcher.seen().front().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        }
        QCOMPARE(http.paths(), QStringList{QStringLiteral("/download/Mirkano/Mirkano.mdb")});
        QVERIFY(!progressDialog());
        QVERIFY(!QApplication::overrideCursor());
        const History updated = loadHistory(m_file->path());
        QCOMPARE(updated, goodHistory());
        QCOMPARE(m_frame->history(), updated);
        QVERIFY(pull);
        const Sheet expected = pull->analysis().build(updated, buildStartupTables(updated));
        QCOMPARE(pull->grid()->sheet().rows(), expected.rows());
        for (int r = 1; r <= expected.rows(); ++r)
            for (int c = 1; c <= expected.columns(); ++c)
                QCOMPARE(pull->grid()->sheet().text(c, r), expected.text(c, r));
        QVERIFY(ticketCheck && ticketCheck->check());
        QCOMPARE(ticketCheck->summary()->text(), ticketCheckSummary(checkTicket(updated, parseTicket(ticket))));
        QVERIFY(ticketCheck->summary()->text() != ticketCheckSummary(checkTicket(smallHistory(), parseTicket(ticket))));
        // The backtest tests again when it is next asked for.
        QCOMPARE(m_frame->openBacktest(ReflectFlags{}), backtest.data());
        BacktestWindow fresh;
        fresh.load(updated, ReflectFlags{});
        QCOMPARE(backtest->summary()->text(), fresh.summary()->text());
        QVERIFY(backtest->summary()->text() != backtestBefore);
    }

    // A CSV at its own address in the public layout, with one draw that
    // differs from the stored one: the question lists it; キャンセル writes
    // nothing, いいえ keeps the stored draw and adds the new ones.
    void aCsvSourceIsMergedAndAConflictAsked()
    {
        History source = goodHistory();
        source[1].numbers[6] = 43;  // draw 2's bonus differs
        QString csv = QStringLiteral("開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,BONUS数字,1等口数,1等賞金\r\n");
        for (const DrawRecord& r : source) {
            QStringList n;
            for (int x : r.all())
                n << QString::number(x);
            csv += QStringLiteral("%1,2000/10/%2,%3,0,0\r\n").arg(r.drawNo).arg(r.drawNo).arg(n.join(u','));
        }
        LoopbackHttp http;
        http.serve({.body = QStringEncoder("Shift_JIS").encode(csv), .contentType = "text/csv"});
        qputenv(kServerVariable, (http.server() + QStringLiteral("/results/loto6.csv")).toUtf8());
        const QByteArray before = bytesOf(m_file->path());
        {
            AnsweringCatcher catcher({QMessageBox::Cancel});
            run();
            QCOMPARE(int(catcher.seen().size()), 1);
            QCOMPARE(catcher.seen().front().icon, QMessageBox::Question);
            QCOMPARE(catcher.seen().front().defaultButton, QMessageBox::No);
            QVERIFY2(catcher.seen().front().text.contains(
                         QStringLiteral("第2回　手元 1 8 9 10 11 12 + 13　取り込み 1 8 9 10 11 12 + 43")),
                     qPrintable(catcher.seen().front().text));
        }
        QCOMPARE(bytesOf(m_file->path()), before);
        {
            AnsweringCatcher catcher({QMessageBox::No});
            run();
            QCOMPARE(int(catcher.seen().size()), 2);
            // The prize columns (1等口数, 1等賞金) come in as prize data of each draw.
            QVERIFY2(catcher.seen().back().text.endsWith(
                         QStringLiteral("追加 2回、同じ 4回、補完 1回、食い違い 1回（1回は手元の数字のままです）。"
                                        "賞金データ：補完 16項目、食い違い 0項目")),
                     qPrintable(catcher.seen().back().text));
        }
        QCOMPARE(http.paths().last(), QStringLiteral("/results/loto6.csv"));
        QCOMPARE(loadHistory(m_file->path()), goodHistory());
        QCOMPARE(m_frame->history(), goodHistory());
        QCOMPARE(int(loadPrizes(m_file->path()).size()), int(source.size()));
    }

    void progressShowsTheBytesAndCancelWritesNothing()
    {
        LoopbackHttp http;
        http.serve({.body = m_good, .sendBytes = 3000, .stall = true});
        qputenv(kServerVariable, http.server().toUtf8());
        const QByteArray before = bytesOf(m_file->path());
        QString shown;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, [&] {
            QProgressDialog* p = progressDialog();
            if (!p)
                return;
            const QString label = p->findChild<QLabel*>()->text();
            if (!label.contains(QStringLiteral("3,000")))
                return;
            shown = label;
            p->findChild<QPushButton*>()->click();  // Cancel
        });
        poll.start();
        AnsweringCatcher catcher;
        run();
        QVERIFY2(shown.contains(QStringLiteral("3,000 / %1 バイト受信").arg(QLocale(QLocale::Japanese, QLocale::Japan).toString(m_good.size()))),
                 qPrintable(shown));
        QVERIFY(catcher.seen().empty());
        QCOMPARE(bytesOf(m_file->path()), before);
        QVERIFY(!progressDialog());
    }

    void refusalsNameTheCauseAndLeaveTheFile_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("idleMs");
        QTest::addColumn<QString>("cause");
        QTest::newRow("404") << 404 << QByteArray("gone") << 10'000 << QStringLiteral("HTTP 404 Not Found");
        QTest::newRow("web page") << 200 << QByteArray("<html><body>x</body></html>") << 10'000
                                  << QStringLiteral("Web ページが届きました");
        QTest::newRow("stalled") << 200 << QByteArray() << 300 << QStringLiteral("サーバーから応答がありません");
        QTest::newRow("repeated number") << 200
                                         << QByteArray("回数,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,ボーナス数字\n"
                                                       "7,1,2,3,4,5,6,6\n")
                                         << 10'000 << QStringLiteral("2行目：ボーナス数字 6 が第6数字と同じです");
    }

    void refusalsNameTheCauseAndLeaveTheFile()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(int, idleMs);
        QFETCH(QString, cause);
        LoopbackHttp http;
        if (body.isEmpty())
            http.serve({.body = m_good, .sendBytes = 100, .stall = true});
        else
            http.serve({.status = status, .body = body});
        qputenv(kServerVariable, http.server().toUtf8());
        m_frame->setUpdateLimits({.idleTimeoutMs = idleMs, .totalTimeoutMs = 20'000, .maxBytes = 1 << 20});
        const QByteArray before = bytesOf(m_file->path());
        AnsweringCatcher catcher;
        run();
        QCOMPARE(int(catcher.seen().size()), 1);
        QVERIFY2(catcher.seen().front().text.contains(cause), qPrintable(catcher.seen().front().text));
        QCOMPARE(catcher.seen().front().icon, QMessageBox::Critical);
        QCOMPARE(bytesOf(m_file->path()), before);
    }

    // A source that serves a valid but empty history loses nothing: the
    // update merges, so every stored draw stays and the file is not written.
    void anEmptySourceLosesNoStoredDraw()
    {
        const QString emptyPath = m_dir.filePath(QStringLiteral("empty.mdb"));
        saveHistory(emptyPath, {});
        LoopbackHttp http;
        http.serve({.body = bytesOf(emptyPath)});
        qputenv(kServerVariable, http.server().toUtf8());
        const QByteArray before = bytesOf(m_file->path());
        AnsweringCatcher catcher;
        run();
        QCOMPARE(int(catcher.seen().size()), 1);
        // Only that nothing was new, not that the history was brought up to date.
        QCOMPARE(catcher.seen().front().text,
                 QStringLiteral("「%1/download/Mirkano/Mirkano.mdb」に新しい当選データはありませんでした。\n"
                                "追加 0回、同じ 0回、補完 0回、食い違い 0回、手元だけにある回 6回はそのままです")
                     .arg(http.server()));
        QCOMPARE(bytesOf(m_file->path()), before);
        QCOMPARE(m_frame->history(), smallHistory());
        QCOMPARE(QDir(m_file->folder()).entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden), QStringList());
    }

    void nothingIsFetchedWithoutAServerOrATargetFile()
    {
        LoopbackHttp http;
        http.serve({.body = m_good});
        {
            qputenv(kServerVariable, "");
            AnsweringCatcher catcher;
            run();
            QCOMPARE(int(catcher.seen().size()), 1);
            QCOMPARE(catcher.seen().front().text,
                     QStringLiteral("ロト6の当選データの取得先が設定されていません。"
                                    "データ管理 → 最新化の設定… で取得先のアドレスを設定してください。"));
        }
        qputenv(kServerVariable, http.server().toUtf8());
        QFile::remove(m_file->path());
        {
            AnsweringCatcher catcher;
            run();
            QCOMPARE(int(catcher.seen().size()), 1);
            QCOMPARE(catcher.seen().front().text,
                     QStringLiteral("当選データファイル：'%1'が存在しません").arg(m_file->path()));
        }
        QVERIFY(!QFile::exists(m_file->path()));
        QVERIFY(http.paths().isEmpty());
    }

    // After a switch to Loto 7 the update fetches Loto 7's address, not
    // Loto 6's CSV; with no address of its own (and Loto 6's a file's), the
    // message names Loto 7 and the menu item that sets it.
    void eachGameUpdatesFromItsOwnAddress()
    {
        const History full = sampleHistory(GameId::Loto7);
        saveHistory(gameHistoryPath(m_file->folder(), GameId::Loto7), History(full.begin(), full.begin() + 690),
                    GameId::Loto7);
        {
            AnsweringCatcher catcher;
            QVERIFY(m_frame->switchGame(GameId::Loto7));
        }
        LoopbackHttp loto6, loto7;
        loto6.serve({.body = "x", .contentType = "text/csv"});
        loto7.serve({.body = historyToCsv(full), .contentType = "text/csv"});
        qputenv(kServerVariable, (loto6.server() + QStringLiteral("/loto6.csv")).toUtf8());
        qputenv("MIRKANO_SERVER_LOTO7", (loto7.server() + QStringLiteral("/loto7.csv")).toUtf8());
        {
            AnsweringCatcher catcher;
            run();
            QCOMPARE(int(catcher.seen().size()), 1);
            QVERIFY2(catcher.seen().front().text.startsWith(kUpdateDone), qPrintable(catcher.seen().front().text));
        }
        QCOMPARE(loto7.paths(), QStringList{QStringLiteral("/loto7.csv")});
        QVERIFY(loto6.paths().isEmpty());
        QCOMPARE(m_frame->history(), full);

        qunsetenv("MIRKANO_SERVER_LOTO7");
        {
            AnsweringCatcher catcher;
            run();
            QCOMPARE(int(catcher.seen().size()), 1);
            QCOMPARE(catcher.seen().front().text,
                     QStringLiteral("ロト7の当選データの取得先が設定されていません。"
                                    "データ管理 → 最新化の設定… で取得先のアドレスを設定してください。"));
        }
        QVERIFY(loto6.paths().isEmpty());
    }
};

QTEST_MAIN(HistoryUpdateTest)
#include "history_update_test.moc"
