// データ管理 → 最新化の設定… against a real HTTP server on the loopback: the
// test tells how many draws the source holds and how many are new, for a
// history file and for a public CSV; a bad source says why; OK stores the
// address where the update reads it, a bad address is refused.

#include "answering_catcher.h"
#include "gui_support.h"
#include "core/maintenance/history_update.h"
#include "core/history/history_csv.h"
#include "gui/maintenance/update_source_dialog.h"
#include "support/loopback_http.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

using namespace mirkano;
using namespace mirkano::test;

class UpdateSourceDialogTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_programDir;
    QString m_history;

    QString runTest(UpdateSourceDialog& d, const QString& address)
    {
        d.addressEdit()->setText(address);
        QSignalSpy done(&d, &UpdateSourceDialog::testFinished);
        QTest::mouseClick(d.testButton(), Qt::LeftButton);
        if (done.isEmpty())
            done.wait(10'000);
        return d.resultLabel()->text();
    }

private slots:
    void initTestCase()
    {
        QApplication::setFont(uiFont());
        m_history = m_programDir.filePath(QStringLiteral("Mirkano.mdb"));
        const History full = sampleHistory();
        saveHistory(m_history, History(full.begin(), full.begin() + 2000));
        qunsetenv(kServerVariable);
    }

    void testSaysWhatTheSourceHoldsAndWhatIsNew()
    {
        LoopbackHttp http;
        UpdateSourceDialog d(m_programDir.path(), m_history, GameId::Loto6, {.idleTimeoutMs = 10'000, .totalTimeoutMs = 20'000});
        d.show();
        // A server: the history file at the download path.
        QTemporaryDir other;
        const QString file = other.filePath(QStringLiteral("x.mdb"));
        saveHistory(file, sampleHistory());
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        http.serve({.body = f.readAll()});
        QCOMPARE(runTest(d, http.server()),
                 QStringLiteral("取得できました（当選データファイル）：2137回分の当選データがあります。\n"
                                "そのうち 137回が手元にない新しい回です。"));
        QCOMPARE(http.paths().last(), kHistoryDownloadPath);
        // A CSV file's own address, in the public layout.
        QString csv = QStringLiteral("開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,BONUS数字,1等口数\r\n");
        for (const DrawRecord& r : sampleHistory()) {
            QStringList n;
            for (int x : r.all())
                n << QString::number(x);
            csv += QStringLiteral("%1,,%2,0\r\n").arg(r.drawNo).arg(n.join(u','));
        }
        http.serve({.body = QStringEncoder("Shift_JIS").encode(csv), .contentType = "text/csv"});
        QCOMPARE(runTest(d, http.server() + QStringLiteral("/data/loto6.csv")),
                 QStringLiteral("取得できました（CSV）：2137回分の当選データがあります。\n"
                                "そのうち 137回が手元にない新しい回です。"));
        QCOMPARE(http.paths().last(), QStringLiteral("/data/loto6.csv"));
        // A page that is not a history says so.
        http.serve({.body = "<html><body>not here</body></html>", .contentType = "text/html"});
        QVERIFY(runTest(d, http.server() + QStringLiteral("/x.csv")).contains(QStringLiteral("Web ページ")));
        QVERIFY(!d.testing());
    }

    void okStoresTheAddressAndRefusesABadOne()
    {
        UpdateSourceDialog d(m_programDir.path(), m_history, GameId::Loto6, {});
        d.show();
        d.addressEdit()->setText(QStringLiteral("ftp://example.jp/"));
        {
            AnsweringCatcher catcher;
            d.accept();
            QCOMPARE(int(catcher.seen().size()), 1);
        }
        QVERIFY(d.isVisible());
        d.addressEdit()->setText(QStringLiteral(" https://example.jp/loto6.csv "));
        d.accept();
        QVERIFY(!d.isVisible());
        QCOMPARE(configuredServer(m_programDir.path()), QStringLiteral("https://example.jp/loto6.csv"));
        // The dialog opens with the stored address.
        UpdateSourceDialog again(m_programDir.path(), m_history, GameId::Loto6, {});
        QCOMPARE(again.addressEdit()->text(), QStringLiteral("https://example.jp/loto6.csv"));
    }

    // Loto 7's dialog edits Loto 7's address, with its own example; Loto 6's
    // stays as it was, and a Loto 7 source is tried against the Loto 7 history.
    void eachGameEditsItsOwnAddress()
    {
        QTemporaryDir folder;
        saveConfiguredServer(folder.path(), QStringLiteral("https://example.jp/loto6.csv"));
        const QString history7 = folder.filePath(QStringLiteral("Mirkano7.mdb"));
        const History full = sampleHistory(GameId::Loto7);
        saveHistory(history7, History(full.begin(), full.begin() + 680), GameId::Loto7);
        UpdateSourceDialog d(folder.path(), history7, GameId::Loto7, {.idleTimeoutMs = 10'000, .totalTimeoutMs = 20'000});
        d.show();
        QCOMPARE(d.windowTitle(), QStringLiteral("最新化の設定 － ロト7"));
        QVERIFY(d.findChild<QLabel*>()->text().contains(QStringLiteral("https://example.jp/loto7.csv")));
        QCOMPARE(d.addressEdit()->text(), QString());  // Loto 6's CSV is not Loto 7's source

        LoopbackHttp http;
        http.serve({.body = historyToCsv(full), .contentType = "text/csv"});
        QCOMPARE(runTest(d, http.server() + QStringLiteral("/loto7.csv")),
                 QStringLiteral("取得できました（CSV）：691回分の当選データがあります。\n"
                                "そのうち 11回が手元にない新しい回です。"));
        d.accept();
        QCOMPARE(configuredServer(folder.path(), GameId::Loto7), http.server() + QStringLiteral("/loto7.csv"));
        QCOMPARE(configuredServer(folder.path(), GameId::Loto6), QStringLiteral("https://example.jp/loto6.csv"));
        QFile loto7File(folder.filePath(QStringLiteral("update-server-loto7.txt")));
        QVERIFY(loto7File.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(loto7File.readAll()).startsWith(QStringLiteral("# ロト7の当選データ最新化の取得先")));
    }
};

QTEST_MAIN(UpdateSourceDialogTest)
#include "update_source_dialog_test.moc"
