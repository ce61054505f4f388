// The history CSV commands of the data-maintenance menu: the import replaces
// the history file all or nothing after a question, and is refused while a
// window reads the history; the export writes what the import reads.

#include "gui_support.h"
#include "gui/shell/main_frm.h"
#include "core/shell/history_csv.h"
#include "support/killed_writer.h"

#include <QtTest>

#include <deque>

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
        QVERIFY(!frame.importHistoryCsv());
        QCOMPARE(frame.dialogs, 0);
        QCOMPARE(int(frame.messages.size()), 1);
        QCOMPARE(frame.messages[0].icon, QMessageBox::Critical);
        QCOMPARE(frame.messages[0].title, QStringLiteral("メッセ－ジ"));
        QCOMPARE(frame.messages[0].text, QStringLiteral("表示中のウィンドウを閉じないと実行できません。"));
        QCOMPARE(bytesOf(history.path()), before);
    }

    void aRefusedImportLeavesTheHistoryByteIdentical_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("cause");
        const QByteArray header = "回数,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,ボーナス数字\n";
        QTest::newRow("number out of range")
            << header + "1,1,2,3,4,5,6,7\n2,1,2,3,4,5,6,44\n" << int(QMessageBox::Yes) << QStringLiteral("3行目");
        QTest::newRow("draw repeated")
            << header + "1,1,2,3,4,5,6,7\n1,1,2,3,4,5,6,8\n" << int(QMessageBox::Yes) << QStringLiteral("3行目");
        QTest::newRow("not a CSV of draws") << QByteArray("hello\n") << int(QMessageBox::Yes) << QStringLiteral("1行目");
        QTest::newRow("answered No") << header + "1,1,2,3,4,5,6,7\n" << int(QMessageBox::No) << QString();
    }

    void aRefusedImportLeavesTheHistoryByteIdentical()
    {
        QFETCH(QByteArray, csv);
        QFETCH(int, answer);
        QFETCH(QString, cause);
        HistoryFile history;
        const QByteArray before = bytesOf(history.path());
        TestFrame frame(history.path());
        QVERIFY(frame.load());
        frame.file = QDir(history.folder()).filePath(QStringLiteral("in.csv"));
        writeFile(frame.file, csv);
        frame.answer = QMessageBox::StandardButton(answer);

        QVERIFY(!frame.importHistoryCsv());
        QCOMPARE(frame.messages[0].icon, QMessageBox::Question);
        QVERIFY(frame.messages[0].text.contains(QStringLiteral("置き換えます")));
        if (cause.isEmpty()) {
            QCOMPARE(int(frame.messages.size()), 1);
        } else {
            QCOMPARE(int(frame.messages.size()), 2);
            QCOMPARE(frame.messages[1].icon, QMessageBox::Critical);
            QVERIFY2(frame.messages[1].text.contains(QStringLiteral("in.csv")), qPrintable(frame.messages[1].text));
            QVERIFY2(frame.messages[1].text.contains(cause), qPrintable(frame.messages[1].text));
        }
        QCOMPARE(bytesOf(history.path()), before);
        // No file was left beside the history either.
        QCOMPARE(QDir(history.folder()).entryList(QDir::Files).size(), 2);
    }

    void anImportThatLosesStoredDrawsAsksFirstWithNoAsTheDefault()
    {
        HistoryFile history;
        const QByteArray before = bytesOf(history.path());
        TestFrame frame(history.path());
        QVERIFY(frame.load());
        frame.file = QDir(history.folder()).filePath(QStringLiteral("in.csv"));
        // Draw 1 kept, draw 2 made incomplete, 3, 5 and 6 missing; draw 4 was incomplete anyway.
        writeFile(frame.file, historyToCsv(makeHistory({{1, {1, 2, 3, 4, 5, 6, 7}}, {2, {1, 8, 9, 10, 11, 12, 0}}})));
        frame.answers = {QMessageBox::Yes, QMessageBox::No};

        QVERIFY(!frame.importHistoryCsv());
        QCOMPARE(int(frame.messages.size()), 2);
        QCOMPARE(frame.messages[1].icon, QMessageBox::Question);
        QCOMPARE(frame.messages[1].defaultButton, QMessageBox::No);
        QCOMPARE(frame.messages[1].text,
                 QStringLiteral("CSV「%1」で置き換えると、保存されている完全な当選データのうち 4回分が失われます"
                                "（CSVにないか、数字が欠けています）。\nそれでも置き換えますか？")
                     .arg(QDir::toNativeSeparators(frame.file)));
        QCOMPARE(bytesOf(history.path()), before);
        QCOMPARE(frame.history(), smallHistory());
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
        QVERIFY(!QFile::exists(journal));
        HistoryEditor editor(history.path());
        QCOMPARE(editor.rows(), more);
    }

    void importReplacesTheHistoryAndExportWritesWhatItReads()
    {
        HistoryFile history;
        TestFrame frame(history.path());
        QVERIFY(frame.load());
        const History newRows = makeHistory({{10, {5, 6, 7, 8, 9, 10, 11}}, {11, {1, 2, 3, 4, 5, 43, 6}}});
        frame.file = QDir(history.folder()).filePath(QStringLiteral("in.csv"));
        writeFile(frame.file, historyToCsv(newRows));

        // An open prediction window (the end flag set again by a closed
        // analysis window) shows the imported draws at once.
        frame.findChild<QAction*>(QStringLiteral("mnuYoso"))->trigger();
        QPointer<PredictionWindow> prediction = frame.predictionWindow();
        QVERIFY(prediction);
        frame.openAnalysis(QStringLiteral("pull"))->close();

        // The CSV lacks the five complete draws of the history: asked, and answered Yes.
        QVERIFY(frame.importHistoryCsv());
        QCOMPARE(int(frame.messages.size()), 3);
        QCOMPARE(frame.messages[1].icon, QMessageBox::Question);
        QVERIFY2(frame.messages[1].text.contains(QStringLiteral("完全な当選データのうち 5回分が失われます")),
                 qPrintable(frame.messages[1].text));
        QCOMPARE(frame.messages[2].icon, QMessageBox::Information);
        QCOMPARE(frame.messages[2].text, QStringLiteral("2回分の当選データを取り込みました。"));
        QCOMPARE(loadHistory(history.path()), newRows);
        QCOMPARE(frame.history(), newRows);
        QCOMPARE(frame.tables().latestDrawNo, 11);
        QVERIFY(prediction);
        PredictionWindow fresh(prediction->flags());
        fresh.load(newRows, 11);
        for (int s = 0; s < 4; ++s)
            for (int r = 1; r <= fresh.sheet(s)->sheet().rows(); ++r)
                for (int c = 1; c <= fresh.sheet(s)->sheet().columns(); ++c)
                    QCOMPARE(prediction->sheet(s)->sheet().text(c, r), fresh.sheet(s)->sheet().text(c, r));

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
};

QTEST_MAIN(HistoryCsvMenuTest)
#include "history_csv_menu_test.moc"
