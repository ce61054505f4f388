// The history CSV commands of the data-maintenance menu: the import merges
// the CSV's draws into the history (conflicts asked about, nothing written on
// a refused file or a stop), and is refused while a window reads the
// history; the export writes what the import reads.

#include "gui_support.h"
#include "gui/shell/main_frm.h"
#include "core/history/history_csv.h"
#include "support/killed_writer.h"

#include <QtTest>

#include <deque>

#include <sys/stat.h>
#include <unistd.h>

using namespace mirkano;
using namespace mirkano::test;

namespace {

// The main window with its file dialogs and message boxes answered by the test.
class TestFrame : public MainFrm {
public:
    using MainFrm::MainFrm;
    struct Message {
        QMessageBox::Icon icon;
        QString title, text;
        QMessageBox::StandardButton defaultButton;
    };
    QString file;  // what the file dialog returns
    int dialogs = 0;
    QMessageBox::StandardButton answer = QMessageBox::Yes;
    std::deque<QMessageBox::StandardButton> answers;  // to the next questions, before answer
    std::vector<Message> messages;

protected:
    // Every message box and question of the main window comes through here.
    QMessageBox::StandardButton ask(QMessageBox::Icon icon, const QString& title, const QString& text,
                                    QMessageBox::StandardButtons buttons, QMessageBox::StandardButton def) override
    {
        messages.push_back({icon, title, text, def});
        QMessageBox::StandardButton a = answer;
        if (buttons.testFlag(QMessageBox::Yes) && !answers.empty()) {
            a = answers.front();
            answers.pop_front();
        }
        return buttons.testFlag(a) ? a : QMessageBox::Ok;
    }
    QString chooseImportFile() override { return ++dialogs, file; }
    QString chooseExportFile() override { return ++dialogs, file; }
};

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

class HistoryCsvMenuTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setFont(uiFont()); }

    void importIsRefusedWhileAWindowReadsTheHistory()
    {
        HistoryFile history;
        const QByteArray before = bytesOf(history.path());
        TestFrame frame(history.path());
        QVERIFY(frame.load());
        frame.openAnalysis(QStringLiteral("pull"));
        QVERIFY(!frame.propEnd());
        // The refusal names the window and offers to close it; いいえ (the
        // default) leaves it open and imports nothing.
        frame.answer = QMessageBox::No;
        QVERIFY(!frame.importHistoryCsv());
        QCOMPARE(frame.dialogs, 0);
        QCOMPARE(int(frame.messages.size()), 1);
        QCOMPARE(frame.messages[0].icon, QMessageBox::Warning);
        QCOMPARE(frame.messages[0].title, QStringLiteral("メッセ－ジ"));
        QCOMPARE(frame.messages[0].defaultButton, QMessageBox::No);
        QCOMPARE(frame.messages[0].text, QStringLiteral("表示中のウィンドウを閉じないと実行できません。\n"
                                                        "開いているウィンドウ：「引っ張り分析」\n"
                                                        "これらのウィンドウを閉じてCSVから取り込みますか？"));
        QVERIFY(frame.analysisWindow(QStringLiteral("pull")));
        QCOMPARE(bytesOf(history.path()), before);

        // はい closes it and goes on to the choice of a file.
        frame.answer = QMessageBox::Yes;
        QVERIFY(!frame.importHistoryCsv());  // the file dialog is cancelled
        QCOMPARE(frame.dialogs, 1);
        QVERIFY(!frame.analysisWindow(QStringLiteral("pull")));
        QVERIFY(frame.propEnd());
        QCOMPARE(bytesOf(history.path()), before);
    }

    void aRefusedImportLeavesTheHistoryByteIdentical_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QString>("cause");
        const QByteArray header = "回数,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,ボーナス数字\n";
        QTest::newRow("number out of range") << header + "1,1,2,3,4,5,6,7\n2,1,2,3,4,5,6,44\n" << QStringLiteral("3行目");
        QTest::newRow("draw repeated") << header + "1,1,2,3,4,5,6,7\n1,1,2,3,4,5,6,8\n" << QStringLiteral("3行目");
        QTest::newRow("number repeated") << header + "7,1,2,3,4,5,6,6\n" << QStringLiteral("2行目");
        QTest::newRow("not a CSV of draws") << QByteArray("hello\n") << QStringLiteral("1行目");
        // Draw 1 differs from the stored one; the question is answered Cancel.
        QTest::newRow("conflict, stopped") << header + "1,1,2,3,4,5,8,7\n7,1,2,3,4,5,6,7\n" << QString();
    }

    void aRefusedImportLeavesTheHistoryByteIdentical()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QString, cause);
        HistoryFile history;
        const QByteArray before = bytesOf(history.path());
        TestFrame frame(history.path());
        QVERIFY(frame.load());
        frame.file = QDir(history.folder()).filePath(QStringLiteral("in.csv"));
        writeFile(frame.file, csv);
        frame.answer = QMessageBox::Cancel;

        QVERIFY(!frame.importHistoryCsv());
        QCOMPARE(int(frame.messages.size()), 1);
        if (cause.isEmpty()) {
            QCOMPARE(frame.messages[0].icon, QMessageBox::Question);
            QVERIFY(frame.messages[0].text.contains(QStringLiteral("第1回　手元 1 2 3 4 5 6 + 7　取り込み 1 2 3 4 5 8 + 7")));
        } else {
            QCOMPARE(frame.messages[0].icon, QMessageBox::Critical);
            QVERIFY2(frame.messages[0].text.contains(QStringLiteral("in.csv")), qPrintable(frame.messages[0].text));
            QVERIFY2(frame.messages[0].text.contains(cause), qPrintable(frame.messages[0].text));
        }
        QCOMPARE(bytesOf(history.path()), before);
        // No file was left beside the history either.
        QCOMPARE(QDir(history.folder()).entryList(QDir::Files).size(), 2);
    }

    void aKilledEditIsRolledBackAtStartWithANoticeAndAnImportLeavesNoJournal()
    {
        HistoryFile history;
        saveHistory(history.path(), sampleHistory());
        const QString journal = history.path() + QStringLiteral("-journal");
        QVERIFY(killEditMidTransaction(history.path()));
        QVERIFY(QFile::exists(journal));

        TestFrame frame(history.path());
        QVERIFY(frame.load());
        QCOMPARE(int(frame.messages.size()), 1);
        QCOMPARE(frame.messages[0].icon, QMessageBox::Information);
        QVERIFY2(frame.messages[0].text.endsWith(QStringLiteral("その書き込みを取り消して元の状態に戻しました。")),
                 qPrintable(frame.messages[0].text));
        QCOMPARE(frame.history(), sampleHistory());
        QVERIFY(!QFile::exists(journal));

        // Killed again; the import then replaces the file, and no journal stays to be played into it.
        QVERIFY(killEditMidTransaction(history.path()));
        QVERIFY(QFile::exists(journal));
        History more = sampleHistory();
        more.push_back(DrawRecord{more.back().drawNo + 1, {1, 2, 3, 4, 5, 6, 7}});
        frame.file = QDir(history.folder()).filePath(QStringLiteral("in.csv"));
        writeFile(frame.file, historyToCsv(more));
        QVERIFY(frame.importHistoryCsv());
        QVERIFY2(frame.messages.back().text.endsWith(QStringLiteral("追加 1回、同じ 2137回、補完 0回、食い違い 0回")),
                 qPrintable(frame.messages.back().text));
        QVERIFY(!QFile::exists(journal));
        HistoryEditor editor(history.path());
        QCOMPARE(editor.rows(), more);
    }

    // New draws are added, an incomplete stored draw is completed, a draw
    // that differs is replaced or kept as the player answers; the open
    // windows show the result at once.
    void importMergesTheDrawsAndExportWritesWhatItReads_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("take the CSV's numbers") << int(QMessageBox::Yes);
        QTest::newRow("keep mine") << int(QMessageBox::No);
    }

    void importMergesTheDrawsAndExportWritesWhatItReads()
    {
        QFETCH(int, answer);
        HistoryFile history;
        TestFrame frame(history.path());
        QVERIFY(frame.load());
        // Stored: smallHistory(), draws 1 … 6, draw 4 without its third number.
        const History csvRows = makeHistory({
            {1, {1, 2, 3, 4, 5, 6, 7}},           // same
            {4, {3, 9, 10, 18, 19, 20, 21}},      // completes draw 4
            {5, {1, 2, 22, 23, 24, 40, 26}},      // differs from the stored draw 5
            {10, {5, 6, 7, 8, 9, 10, 11}},        // new
            {11, {1, 2, 3, 4, 5, 43, 6}},         // new
        });
        frame.file = QDir(history.folder()).filePath(QStringLiteral("in.csv"));
        writeFile(frame.file, historyToCsv(csvRows));
        frame.answer = QMessageBox::StandardButton(answer);
        const bool theirs = answer == QMessageBox::Yes;

        // An open prediction window (the end flag set again by a closed
        // analysis window) shows the imported draws at once.
        frame.findChild<QAction*>(QStringLiteral("mnuYoso"))->trigger();
        QPointer<PredictionWindow> prediction = frame.predictionWindow();
        QVERIFY(prediction);
        frame.openAnalysis(QStringLiteral("pull"))->close();

        // The CSV lacks the five complete draws of the history: asked, and answered Yes.
        QVERIFY(frame.importHistoryCsv());
        QCOMPARE(int(frame.messages.size()), 2);
        QCOMPARE(frame.messages[0].icon, QMessageBox::Question);
        QVERIFY(frame.messages[0].text.contains(QStringLiteral("第5回　手元 1 2 22 23 24 25 + 26　取り込み 1 2 22 23 24 40 + 26")));
        QCOMPARE(frame.messages[1].icon, QMessageBox::Information);
        QCOMPARE(frame.messages[1].text,
                 QStringLiteral("「%1」の当選データを取り込みました。\n追加 2回、同じ 1回、補完 1回、食い違い 1回%2、"
                                "手元だけにある回 3回はそのままです")
                     .arg(QDir::toNativeSeparators(frame.file),
                          theirs ? QStringLiteral("（1回を取り込み側の数字に置き換えました）")
                                 : QStringLiteral("（1回は手元の数字のままです）")));
        History expected = smallHistory();
        expected[3] = csvRows[1];
        if (theirs)
            expected[4] = csvRows[2];
        expected.push_back(csvRows[3]);
        expected.push_back(csvRows[4]);
        QCOMPARE(loadHistory(history.path()), expected);
        QCOMPARE(frame.history(), expected);
        QCOMPARE(frame.tables().latestDrawNo, 11);
        QVERIFY(prediction);
        PredictionWindow fresh(prediction->flags());
        fresh.load(expected, 11);
        for (int s = 0; s < 4; ++s)
            for (int r = 1; r <= fresh.sheet(s)->sheet().rows(); ++r)
                for (int c = 1; c <= fresh.sheet(s)->sheet().columns(); ++c)
                    QCOMPARE(prediction->sheet(s)->sheet().text(c, r), fresh.sheet(s)->sheet().text(c, r));

        // The same CSV again brings nothing new and writes nothing.
        const QByteArray merged = bytesOf(history.path());
        frame.messages.clear();
        frame.answer = QMessageBox::No;
        QVERIFY(!frame.importHistoryCsv());
        QVERIFY(frame.messages.back().text.startsWith(QStringLiteral("「%1」に新しい当選データはありませんでした。")
                                                         .arg(QDir::toNativeSeparators(frame.file))));
        QCOMPARE(bytesOf(history.path()), merged);
        const History newRows = expected;

        frame.file = QDir(history.folder()).filePath(QStringLiteral("out.csv"));
        QVERIFY(frame.exportHistoryCsv());
        // UTF-8 with a byte-order mark, as a spreadsheet on a Japanese system
        // needs, and the import reads it back; the note says where it went.
        QCOMPARE(bytesOf(frame.file), QByteArray("\xEF\xBB\xBF") + historyToCsv(newRows));
        QCOMPARE(readHistoryCsv(frame.file), newRows);
        QCOMPARE(frame.messages.back().icon, QMessageBox::Information);
        QVERIFY(frame.messages.back().text.contains(QDir::toNativeSeparators(frame.file)));

        // Cancelled dialogs do nothing and say nothing.
        frame.messages.clear();
        frame.file.clear();
        QVERIFY(!frame.exportHistoryCsv());
        QVERIFY(!frame.importHistoryCsv());
        QVERIFY(frame.messages.empty());
    }

    // CSVへ書き出し… never writes over the history itself (also through a
    // link), over another history file, or into a named pipe: a message names
    // the file and the cause, and the file stays as it was. An existing CSV is
    // written over only after a question in Japanese answered はい.
    void exportNeverWritesOverAHistoryAndAsksBeforeReplacing()
    {
        HistoryFile history;
        TestFrame frame(history.path());
        QVERIFY(frame.load());
        const QDir dir(history.folder());
        const QString link = dir.filePath(QStringLiteral("link.csv"));
        QCOMPARE(::symlink(QFile::encodeName(history.path()).constData(), QFile::encodeName(link).constData()), 0);
        const QString other = dir.filePath(QStringLiteral("other.mdb"));
        saveHistory(other, makeHistory({{1, {1, 2, 3, 4, 5, 6, 7}}}));
        const QString pipe = dir.filePath(QStringLiteral("pipe.csv"));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);

        const QString own = QStringLiteral("ミルカノの履歴ファイルです。上書きすると当選データが失われます");
        const struct {
            QString path;
            QString cause;
        } refused[] = {
            {history.path(), own},
            {link, own},
            {other, QStringLiteral("履歴ファイルなどのデータベースで、CSV ではありません。上書きするとその中身が失われます")},
            {pipe, QStringLiteral("名前付きパイプで、通常のファイルではありません")},
        };
        for (const auto& c : refused) {
            const QByteArray before = bytesOf(c.path == pipe ? history.path() : c.path);
            frame.messages.clear();
            frame.file = c.path;
            QVERIFY2(!frame.exportHistoryCsv(), qPrintable(c.path));
            QCOMPARE(int(frame.messages.size()), 1);
            QCOMPARE(frame.messages[0].icon, QMessageBox::Critical);
            QCOMPARE(frame.messages[0].text, QStringLiteral("CSV「%1」を書き出せません：%2。\n別のファイル名を指定してください。")
                                                 .arg(QDir::toNativeSeparators(c.path), c.cause));
            if (c.path != pipe)
                QCOMPARE(bytesOf(c.path), before);
        }
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(loadHistory(history.path()), smallHistory());

        // An existing CSV: いいえ keeps it, はい writes it.
        const QString old = dir.filePath(QStringLiteral("old.csv"));
        writeFile(old, "old\n");
        frame.file = old;
        frame.messages.clear();
        frame.answer = QMessageBox::No;
        QVERIFY(!frame.exportHistoryCsv());
        QCOMPARE(int(frame.messages.size()), 1);
        QCOMPARE(frame.messages[0].icon, QMessageBox::Question);
        QCOMPARE(frame.messages[0].text,
                 QStringLiteral("「%1」は既にあります。\n上書きしますか？").arg(QDir::toNativeSeparators(old)));
        QCOMPARE(bytesOf(old), QByteArray("old\n"));
        frame.answer = QMessageBox::Yes;
        QVERIFY(frame.exportHistoryCsv());
        QCOMPARE(readHistoryCsv(old), smallHistory());
    }
};

QTEST_MAIN(HistoryCsvMenuTest)
#include "history_csv_menu_test.moc"
