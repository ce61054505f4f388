// The history file through crashes and replacements: a write killed midway is
// rolled back at the next opening and never played into a file that replaces
// it, later commands clear the work files killed replacements left, a
// replacement that would lose stored complete draws needs consent, and a
// save that cannot be written whole leaves the old file as it was.

#include "core/maintenance/history_update.h"
#include "core/history/history_csv.h"
#include "core/history/history_store.h"
#include "maintenance/maintenance_support.h"
#include "support/cli_run.h"
#include "support/fixtures.h"
#include "support/killed_writer.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

#include <sys/file.h>
#include <sys/resource.h>

using namespace mirkano;
using namespace mirkano::test;

namespace {

struct Program {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

// The installed command-line program, in a process of its own (started after
// everything the test made).
Program runProgram(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(MIRKANO_CLI), args);
    Program r;
    if (p.waitForFinished(60'000) && p.exitStatus() == QProcess::NormalExit) {
        r.exitCode = p.exitCode();
        r.out = p.readAllStandardOutput();
        r.err = QString::fromUtf8(p.readAllStandardError());
    }
    return r;
}

QString journalOf(const QString& path) { return path + QStringLiteral("-journal"); }

// The sample history and one more draw: replacing the sample by it loses nothing.
History sampleAndOneMore()
{
    History rows = sampleHistory();
    rows.push_back(DrawRecord{rows.back().drawNo + 1, {3, 9, 14, 22, 35, 41, 7}});
    return rows;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

const QString kRolledBack = QStringLiteral("その書き込みを取り消して元の状態に戻しました。");

}  // namespace

TEST(InterruptedWrite, AnEditKilledMidTransactionIsRolledBackAtTheNextOpening)
{
    TempDir dir;
    const QString path = dir.path(QStringLiteral("Mirkano.mdb"));
    saveHistory(path, sampleHistory());
    const QByteArray saved = fileBytes(path);

    const struct {
        const char* name;
        std::function<void()> open;
    } openers[] = {
        {"loadHistory", [&] { EXPECT_EQ(loadHistory(path), sampleHistory()); }},
        {"rollBackInterruptedWrite",
         [&] {
             const QString notice = rollBackInterruptedWrite(path);
             EXPECT_TRUE(notice.startsWith(QStringLiteral("履歴ファイル「%1」への前回の書き込みが途中で止まっていた").arg(path)))
                 << notice.toStdString();
             EXPECT_TRUE(notice.endsWith(kRolledBack));
             EXPECT_EQ(rollBackInterruptedWrite(path), QString());  // nothing left to roll back
         }},
        {"mirkano-cli export",
         [&] {
             const Program r = runProgram({QStringLiteral("export"), QStringLiteral("--db"), path});
             EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
             EXPECT_EQ(r.out, historyToCsv(sampleHistory()));
             EXPECT_TRUE(r.err.contains(kRolledBack)) << r.err.toStdString();
         }},
        {"mirkano-cli tables, through a link",
         [&] {
             const QString link = dir.path(QStringLiteral("link.mdb"));
             QFile::remove(link);
             ASSERT_TRUE(QFile::link(path, link));
             const Program r = runProgram({QStringLiteral("tables"), QStringLiteral("--db"), link});
             EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
             EXPECT_TRUE(r.err.contains(kRolledBack)) << r.err.toStdString();
         }},
    };
    for (const auto& opener : openers) {
        SCOPED_TRACE(opener.name);
        ASSERT_TRUE(killEditMidTransaction(path));
        // What a kill leaves: the file half written and the journal to undo it.
        ASSERT_TRUE(QFile::exists(journalOf(path)));
        ASSERT_NE(fileBytes(path), saved);
        opener.open();
        EXPECT_FALSE(QFile::exists(journalOf(path)));
        // Each page back as it was (the engine encrypts it afresh, so the bytes differ).
        EXPECT_EQ(historyFileFault(path), QString());
        EXPECT_EQ(loadHistory(path), sampleHistory());
    }

    // A live writer's journal is its own: it is left alone, and so is the file.
    QFile::remove(dir.path(QStringLiteral("link.mdb")));
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(path).constData(), &writer, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    sqlite3_key(writer, detail::kHistoryPassword, int(std::strlen(detail::kHistoryPassword)));
    ASSERT_EQ(sqlite3_exec(writer, "PRAGMA cache_size = 2; BEGIN IMMEDIATE; UPDATE 当選データ SET 第1数字 = NULL;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    ASSERT_TRUE(QFile::exists(journalOf(path)));
    EXPECT_EQ(rollBackInterruptedWrite(path), QString());
    EXPECT_TRUE(QFile::exists(journalOf(path)));
    sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(writer);
    EXPECT_EQ(loadHistory(path), sampleHistory());
}

TEST(InterruptedWrite, AReplacementNeverLeavesTheOldJournalBesideTheNewFile)
{
    TempDir dir;
    const QString path = dir.path(QStringLiteral("Mirkano.mdb"));
    const History next = sampleAndOneMore();
    const QByteArray nextBytes = historyBytes(dir, next);
    const QString csv = dir.path(QStringLiteral("next.csv"));
    writeFile(csv, historyToCsv(next));

    const struct {
        const char* name;
        std::function<void()> replace;
    } replacements[] = {
        {"saveHistory", [&] { saveHistory(path, next); }},
        {"replaceHistoryFile", [&] { replaceHistoryFile(path, nextBytes); }},
        {"mirkano-cli import",
         [&] {
             const CliRun r = runInProcess({QStringLiteral("import"), QStringLiteral("--csv"), csv,
                                            QStringLiteral("--db"), path});
             EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
         }},
    };
    for (const auto& r : replacements) {
        SCOPED_TRACE(r.name);
        saveHistory(path, sampleHistory());
        ASSERT_TRUE(killEditMidTransaction(path));
        ASSERT_TRUE(QFile::exists(journalOf(path)));
        r.replace();
        EXPECT_EQ(folderEntries(dir.path({})), (QStringList{QStringLiteral("Mirkano.mdb"), QStringLiteral("next.csv")}));
        // An opening for writing would play a journal left beside into the new file.
        HistoryEditor editor(path);
        EXPECT_EQ(editor.rows(), next);
    }

    // A journal whose file is gone is not played into a new file of that name either.
    saveHistory(path, sampleHistory());
    ASSERT_TRUE(killEditMidTransaction(path));
    const QByteArray journal = fileBytes(journalOf(path));
    QFile::remove(path);
    writeFile(journalOf(path), journal);
    saveHistory(path, next);
    EXPECT_FALSE(QFile::exists(journalOf(path)));
    HistoryEditor editor(path);
    EXPECT_EQ(editor.rows(), next);
}

TEST(WorkFiles, ALaterCommandClearsWhatKilledSavesLeftButNotARunningSave)
{
    TempDir dir;
    const QString path = dir.path(QStringLiteral("Mirkano.mdb"));
    saveHistory(path, sampleHistory());
    const QString csv = dir.path(QStringLiteral("next.csv"));
    writeFile(csv, historyToCsv(sampleAndOneMore()));

    // Two saves killed midway, each leaving its work file and that file's journal.
    ASSERT_TRUE(killSaveMidway(dir.path({}), QStringLiteral("Mirkano.mdb")));
    ASSERT_TRUE(killSaveMidway(dir.path({}), QStringLiteral("Mirkano.mdb")));
    ASSERT_EQ(folderEntries(dir.path({})).filter(QStringLiteral(".tmp")).size(), 4);
    // A save still running here, and the work file of another target.
    const detail::WorkFile running(dir.path({}), QStringLiteral("Mirkano.mdb"), detail::kSaveWorkSuffix);
    ASSERT_GE(running.fd(), 0);
    writeFile(dir.path(QStringLiteral(".Other.mdb.dead.tmp")), "x");

    const Program r = runProgram({QStringLiteral("import"), QStringLiteral("--csv"), csv, QStringLiteral("--db"), path});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(folderEntries(dir.path({})),
              (QStringList{QFileInfo(running.path()).fileName(), QStringLiteral(".Other.mdb.dead.tmp"),
                           QStringLiteral("Mirkano.mdb"), QStringLiteral("next.csv")}));
    EXPECT_EQ(loadHistory(path), sampleAndOneMore());
}

TEST(DrawLoss, CountsStoredCompleteDrawsMissingOrIncompleteInTheReplacement)
{
    const History stored = makeHistory({
        {1, {1, 2, 3, 4, 5, 6, 7}},
        {2, {8, 9, 10, 11, 12, 13, 14}},
        {3, {15, 16, 17, 18, 19, 20, 21}},
        {4, {22, 23, 0, 24, 25, 26, 27}},  // incomplete: nothing to lose
    });
    const struct {
        const char* name;
        History replacement;
        int lost;
    } cases[] = {
        {"the same", stored, 0},
        {"more draws, other numbers",
         makeHistory({{1, {7, 6, 5, 4, 3, 2, 1}}, {2, {8, 9, 10, 11, 12, 13, 14}}, {3, {1, 2, 3, 4, 5, 6, 43}},
                      {5, {1, 2, 3, 4, 5, 6, 7}}}),
         0},
        {"empty", {}, 3},
        {"a draw missing", makeHistory({{1, {1, 2, 3, 4, 5, 6, 7}}, {3, {15, 16, 17, 18, 19, 20, 21}}}), 1},
        {"a draw made incomplete",
         makeHistory({{1, {1, 2, 3, 4, 5, 6, 7}}, {2, {8, 9, 10, 11, 12, 13, 0}}, {3, {15, 16, 17, 18, 19, 20, 21}}}), 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(completeDrawsLost(stored, c.replacement), c.lost) << c.name;

    TempDir dir;
    EXPECT_EQ(completeDrawsLost(dir.path(QStringLiteral("none.mdb")), {}), 0);
    const QString broken = dir.path(QStringLiteral("broken.mdb"));
    writeFile(broken, QByteArray(4096, 'x'));
    EXPECT_EQ(completeDrawsLost(broken, {}), 0);  // nothing readable to lose
    saveHistory(dir.path(QStringLiteral("stored.mdb")), stored);
    EXPECT_EQ(completeDrawsLost(dir.path(QStringLiteral("stored.mdb")), {}), 3);
}

TEST(DrawLoss, ImportAndUpdateRefuseToLoseStoredDrawsWithoutConsent)
{
    TempDir dir;
    const QString db = dir.path(QStringLiteral("Mirkano.mdb"));
    saveHistory(db, sampleHistory());
    const QByteArray old = fileBytes(db);
    const History few = makeHistory({{1, {1, 2, 3, 4, 5, 6, 7}}, {2, {8, 9, 10, 11, 12, 13, 14}}});
    const int lost = int(sampleHistory().size()) - 2;

    // The command-line import: refused with the count, done with --force.
    const QString csv = dir.path(QStringLiteral("few.csv"));
    writeFile(csv, historyToCsv(few));
    const QStringList import = {QStringLiteral("import"), QStringLiteral("--csv"), csv, QStringLiteral("--db"), db};
    const CliRun refused = runInProcess(import);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("保存されている完全な当選データのうち %1回分が失われます").arg(lost)))
        << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains(QStringLiteral("--force"))) << refused.err.toStdString();
    EXPECT_EQ(fileBytes(db), old);
    EXPECT_EQ(folderEntries(dir.path({})), (QStringList{QStringLiteral("Mirkano.mdb"), QStringLiteral("few.csv")}));
    const CliRun forced = runInProcess(QStringList(import) << QStringLiteral("--force"));
    EXPECT_EQ(forced.exitCode, 0) << forced.err.toStdString();
    EXPECT_EQ(loadHistory(db), few);

    // The replacement by a download: refused with the count, done when allowed.
    saveHistory(db, sampleHistory());
    const QByteArray stored = fileBytes(db);
    const QByteArray empty = historyBytes(dir, {});
    try {
        replaceHistoryFile(db, empty);
        ADD_FAILURE() << "no error";
    } catch (const DrawLossError& e) {
        EXPECT_EQ(e.lost(), int(sampleHistory().size()));
        EXPECT_TRUE(e.message().contains(QStringLiteral("%1回分が失われます").arg(sampleHistory().size())))
            << e.what();
    }
    EXPECT_EQ(fileBytes(db), stored);
    EXPECT_EQ(folderEntries(dir.path({})), (QStringList{QStringLiteral("Mirkano.mdb"), QStringLiteral("few.csv")}));
    replaceHistoryFile(db, empty, true);
    EXPECT_EQ(fileBytes(db), empty);
}

TEST(FullDisk, AReplacementThatCannotBeWrittenWholeLeavesTheOldFile)
{
    TempDir dir;
    const QString db = dir.path(QStringLiteral("Mirkano.mdb"));
    saveHistory(db, makeHistory({{1, {1, 2, 3, 4, 5, 6, 7}}}));
    const QByteArray old = fileBytes(db);
    const QByteArray big = historyBytes(dir, sampleAndOneMore());

    // No file may grow past 16 KB: every write beyond fails as on a full disk.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    QString saveError, replaceError;
    try {
        saveHistory(db, sampleAndOneMore());
    } catch (const HistoryError& e) {
        saveError = e.message();
    }
    try {
        replaceHistoryFile(db, big);
    } catch (const UpdateError& e) {
        replaceError = e.message();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(saveError, QStringLiteral("履歴ファイル「%1」を保存できません：読み書きに失敗しました").arg(db));
    EXPECT_EQ(replaceError, QStringLiteral("当選データファイル「%1」を置き換えられません：作業ファイルに書き込めません"
                                           "（ファイルの大きさが書き込める上限を超えました）")
                                .arg(db));
    EXPECT_EQ(fileBytes(db), old);
    EXPECT_EQ(folderEntries(dir.path({})), QStringList{QStringLiteral("Mirkano.mdb")});
}
