#include "core/history/history_key.h"
#include "core/history/history_store.h"
#include "core/history/startup_tables.h"
#include "support/fixtures.h"

#define SQLITE_HAS_CODEC 1
#include <sqlite3.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace mirkano;
using test::makeHistory;
using test::TempDir;

namespace {

// An open database handle for crafting or probing files; key may be null.
struct Db {
    sqlite3* db = nullptr;
    Db(const QString& path, const char* key, int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)
    {
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
        if (key)
            sqlite3_key(db, key, int(std::strlen(key)));
    }
    ~Db() { sqlite3_close_v2(db); }
    int exec(const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }
};

void craft(const QString& path, const char* key, const char* sql)
{
    Db d(path, key);
    ASSERT_EQ(d.exec(sql), SQLITE_OK) << sqlite3_errmsg(d.db);
}

const char* const kPassword = detail::kHistoryPassword;

// Everything a reader could change: the folder's entries and the file's bytes and time.
struct Snapshot {
    QStringList entries;
    QByteArray bytes;
    QDateTime modified;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(const QString& path)
{
    QFile f(path);
    Snapshot s{QDir(QFileInfo(path).absolutePath()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
               {}, QFileInfo(path).lastModified()};
    if (f.open(QIODevice::ReadOnly))
        s.bytes = f.readAll();
    return s;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

const History kSmall = makeHistory({
    {1, {2, 8, 10, 13, 27, 30, 39}},
    {2, {1, 9, 16, 20, 21, 43, 5}},
    {3, {1, 5, 0, 31, 36, 38, 0}},  // not yet entered in full
});

}  // namespace

TEST(HistoryStore, SaveAndLoadRoundTripInDrawOrderWithoutTouchingTheFile)
{
    TempDir dir;
    const QString path = dir.path(QStringLiteral("Mirkano.mdb"));
    const History shuffled{kSmall[2], kSmall[0], kSmall[1]};
    saveHistory(path, shuffled);

    const Snapshot before = snapshot(path);
    EXPECT_EQ(before.entries, QStringList{QStringLiteral("Mirkano.mdb")});  // no work file left behind
    EXPECT_EQ(loadHistory(path), kSmall);
    EXPECT_EQ(snapshot(path), before);

    // The bundled history survives the trip whole.
    saveHistory(path, test::sampleHistory());
    EXPECT_EQ(loadHistory(path), test::sampleHistory());
}

TEST(HistoryStore, EachGamesHistoryRoundTripsAndRecordsItsGame)
{
    TempDir dir;
    for (const Game& g : games()) {
        SCOPED_TRACE(g.cliName.toString().toStdString());
        const QString path = dir.path(g.historyFile.toString());
        const History rows = test::sampleHistory(g.id);
        ASSERT_FALSE(rows.empty());
        saveHistory(path, rows, g.id);
        EXPECT_EQ(historyFileGame(path), g.id);
        EXPECT_EQ(loadHistory(path), rows);
        EXPECT_EQ(loadHistory(path, g.id), rows);
        EXPECT_EQ(historyFileFault(path), QString());
        // The recordset names the fields as the game does: the last bonus is
        // ボーナス数字 (Loto 7: ボーナス数字2).
        HistoryRecordset set(loadHistory(path));
        const QString lastBonus = historyFieldNames(g.id).back().toString();
        EXPECT_EQ(set.field(lastBonus), rows.front().numbers[std::size_t(g.numbersPerDraw() - 1)]);
        EXPECT_EQ(set.field(g.numbersPerDraw()), set.field(lastBonus));
        // Another game's reader refuses the file, naming it and both games.
        for (const Game& other : games()) {
            if (other.id == g.id)
                continue;
            try {
                loadHistory(path, other.id);
                ADD_FAILURE() << "no error";
            } catch (const HistoryError& e) {
                EXPECT_EQ(e.message(), QStringLiteral("履歴ファイル「%1」は%2の当選データです。%3の当選データとしては開けません")
                                           .arg(path, g.name, other.name));
            }
        }
        // An empty history keeps its game too.
        saveHistory(path, {}, g.id);
        EXPECT_EQ(historyFileGame(path), g.id);
        EXPECT_TRUE(loadHistory(path).empty());
    }
}

TEST(HistoryStore, EachGamesFileTakesOnlyItsOwnNumbers)
{
    TempDir dir;
    const QString path = dir.path(QStringLiteral("Mirkano7.mdb"));
    saveHistory(path, test::makeGameHistory(GameId::Loto7, {{1, {1, 2, 3, 4, 5, 6, 7, 8, 9}}}), GameId::Loto7);
    {
        // The table checks the game's pool.
        Db d(path, kPassword);
        EXPECT_EQ(d.exec("INSERT INTO 当選データ VALUES (2, 1, 2, 3, 4, 5, 6, 37, 8, 9)"), SQLITE_OK);
        EXPECT_NE(d.exec("INSERT INTO 当選データ VALUES (3, 1, 2, 3, 4, 5, 6, 38, 8, 9)"), SQLITE_OK);
    }
    // A row of another game reaches neither a whole file nor the editor.
    const History loto6 = makeHistory({{3, {1, 2, 3, 4, 5, 6, 7}}});
    const auto message = [](auto&& write) {
        try {
            write();
        } catch (const HistoryError& e) {
            return e.message();
        }
        return QString();
    };
    EXPECT_TRUE(message([&] { saveHistory(path, loto6, GameId::Loto7); })
                    .endsWith(QStringLiteral("回数 3 の行はロト6の当選データで、ロト7の履歴には入れられません")));
    HistoryEditor editor(path);
    EXPECT_EQ(editor.game(), GameId::Loto7);
    EXPECT_TRUE(message([&] { editor.insertRow(loto6[0]); })
                    .endsWith(QStringLiteral("回数 3 の行はロト6の当選データで、ロト7の履歴には入れられません")));
    const DrawRecord beyond{3, {1, 2, 3, 4, 5, 6, 38, 8, 9}, GameId::Loto7};
    EXPECT_TRUE(message([&] { editor.insertRow(beyond); })
                    .endsWith(QStringLiteral("回数 3 の行は履歴に入れられません（回数は1～32767で重複なし、数字は空か1～37）")));
    const DrawRecord draw{3, {11, 12, 13, 14, 15, 16, 17, 18, 19}, GameId::Loto7};
    editor.insertRow(draw);
    editor.updateRow(2, DrawRecord{4, {1, 2, 3, 4, 5, 6, 37, 8, 36}, GameId::Loto7});
    EXPECT_EQ(editor.rows(), loadHistory(path));
    EXPECT_EQ(loadHistory(path).back(), (DrawRecord{4, {1, 2, 3, 4, 5, 6, 37, 8, 36}, GameId::Loto7}));
}

TEST(HistoryStore, AFileWithoutAGameRecordIsLoto6AndAnUnknownRecordIsRefused)
{
    TempDir dir;
    // A history as the program wrote it before files named their game.
    const QString old = dir.path(QStringLiteral("Mirkano.mdb"));
    craft(old, kPassword, R"sql(
        CREATE TABLE 当選データ (
          回数 INTEGER PRIMARY KEY CHECK (typeof(回数) = 'integer' AND 回数 BETWEEN 1 AND 32767),
          第1数字 INTEGER, 第2数字 INTEGER, 第3数字 INTEGER, 第4数字 INTEGER, 第5数字 INTEGER,
          第6数字 INTEGER, ボーナス数字 INTEGER);
        CREATE VIEW 全データ選択クエリ AS
          SELECT 回数, 第1数字, 第2数字, 第3数字, 第4数字, 第5数字, 第6数字, ボーナス数字 FROM 当選データ;
        INSERT INTO 当選データ VALUES (1, 2, 8, 10, 13, 27, 30, 39), (2, 1, 9, 16, 20, 21, 43, 5),
                                      (3, 1, 5, NULL, 31, 36, 38, NULL);
    )sql");
    EXPECT_EQ(historyFileGame(old), GameId::Loto6);
    EXPECT_EQ(loadHistory(old), kSmall);
    EXPECT_EQ(loadHistory(old, GameId::Loto6), kSmall);
    EXPECT_THROW(loadHistory(old, GameId::Loto7), HistoryError);
    EXPECT_EQ(historyFileFault(old), QString());
    HistoryEditor(old).insertRow(DrawRecord{4, {1, 2, 3, 4, 5, 6, 7}});
    EXPECT_EQ(loadHistory(old).size(), 4u);

    // A record this program does not know: the file is no history of its.
    const QString unknown = dir.path(QStringLiteral("unknown.mdb"));
    saveHistory(unknown, kSmall);
    Db(unknown, kPassword).exec("UPDATE ゲーム SET ゲーム = 'loto8'");
    const QString cause = QStringLiteral("ゲームの記録「loto8」はこのプログラムのゲームではありません");
    EXPECT_EQ(historyFileFault(unknown), cause);
    try {
        loadHistory(unknown);
        ADD_FAILURE() << "no error";
    } catch (const HistoryError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("履歴ファイル「%1」を開けません：%2").arg(unknown, cause));
    }
    EXPECT_THROW(HistoryEditor{unknown}, HistoryError);
}

TEST(HistoryStore, FileIsEncryptedAndReadableOnlyWithThePassword)
{
    TempDir dir;
    const QString path = dir.path(QStringLiteral("Mirkano.mdb"));
    saveHistory(path, kSmall);

    const QByteArray bytes = readAll(path);
    ASSERT_GE(bytes.size(), 16);
    EXPECT_FALSE(bytes.startsWith(QByteArray("SQLite format 3\0", 16)));
    EXPECT_EQ(bytes.indexOf("全データ選択クエリ"), -1);

    const char* const count = "SELECT count(*) FROM 全データ選択クエリ";
    {
        Db plain(path, nullptr, SQLITE_OPEN_READONLY);
        sqlite3_stmt* stmt = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(plain.db, count, -1, &stmt, nullptr), SQLITE_NOTADB);
        sqlite3_finalize(stmt);
    }
    {
        Db keyed(path, kPassword, SQLITE_OPEN_READONLY);
        sqlite3_stmt* stmt = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(keyed.db, count, -1, &stmt, nullptr), SQLITE_OK);
        ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
        EXPECT_EQ(sqlite3_column_int(stmt, 0), 3);
        sqlite3_finalize(stmt);
    }
}

TEST(HistoryStore, BadFilesAreReportedWithPathAndCauseAndLeftAsTheyWere)
{
    struct Case {
        const char* name;
        // Makes the file; what it returns is kept alive while the file is read.
        std::function<std::shared_ptr<void>(const QString&)> make;
        const char* cause;
    };
    const Case cases[] = {
        {"missing", [](const QString&) { return nullptr; }, "ファイルがありません"},
        {"empty", [](const QString& p) { writeAll(p, {}); return nullptr; }, "ファイルが空です"},
        {"plain database",
         [](const QString& p) {
             craft(p, nullptr, "CREATE TABLE t(回数); CREATE VIEW 全データ選択クエリ AS SELECT * FROM t;");
             return nullptr;
         },
         "暗号化された履歴ファイルではありません"},
        {"random bytes",
         [](const QString& p) {
             QByteArray b(4096, '\0');
             QRandomGenerator gen(7);
             for (char& c : b)
                 c = char(gen.bounded(256));
             writeAll(p, b);
             return nullptr;
         },
         "パスワードが違うか、履歴ファイルではありません"},
        {"truncated",
         [](const QString& p) {
             saveHistory(p, test::sampleHistory());
             writeAll(p, readAll(p).left(700));
             return nullptr;
         },
         "パスワードが違うか、履歴ファイルではありません"},
        {"cut short after the first pages",
         [](const QString& p) {
             saveHistory(p, test::sampleHistory());
             writeAll(p, readAll(p).left(5000));
             return nullptr;
         },
         "ファイルが壊れています"},
        {"wrong password",
         [](const QString& p) {
             craft(p, "000000",
                   "CREATE TABLE t(回数, 第1数字, 第2数字, 第3数字, 第4数字, 第5数字, 第6数字, ボーナス数字);"
                   "CREATE VIEW 全データ選択クエリ AS SELECT * FROM t;");
             return nullptr;
         },
         "パスワードが違うか、履歴ファイルではありません"},
        {"locked",
         [](const QString& p) -> std::shared_ptr<void> {
             saveHistory(p, kSmall);
             auto holder = std::make_shared<Db>(p, kPassword);
             EXPECT_EQ(holder->exec("BEGIN EXCLUSIVE; DELETE FROM 当選データ WHERE 回数 = 1;"), SQLITE_OK);
             return holder;
         },
         "ほかのプログラムが使用中です"},
        {"one byte", [](const QString& p) { writeAll(p, "x"); return nullptr; },
         "1 バイトしかなく、履歴ファイルではありません"},
        {"view without end",
         [](const QString& p) {
             craft(p, kPassword,
                   "CREATE VIEW 全データ選択クエリ AS WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r)"
                   " SELECT n AS 回数, 1 AS 第1数字, 2 AS 第2数字, 3 AS 第3数字, 4 AS 第4数字, 5 AS 第5数字,"
                   " 6 AS 第6数字, 7 AS ボーナス数字 FROM r;");
             return nullptr;
         },
         "クエリ「全データ選択クエリ」が終わらないため、履歴ファイルではありません"},
        {"more rows than there can be draws",
         [](const QString& p) {
             craft(p, kPassword,
                   "CREATE VIEW 全データ選択クエリ AS WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r"
                   " WHERE n < 40000) SELECT n % 30000 + 1 AS 回数, 1 AS 第1数字, 2 AS 第2数字, 3 AS 第3数字,"
                   " 4 AS 第4数字, 5 AS 第5数字, 6 AS 第6数字, 7 AS ボーナス数字 FROM r;");
             return nullptr;
         },
         "行が 32767 を超えていて、履歴ファイルではありません"},
        {"no view",
         [](const QString& p) {
             craft(p, kPassword,
                   "CREATE TABLE t(回数, 第1数字, 第2数字, 第3数字, 第4数字, 第5数字, 第6数字, ボーナス数字);");
             return nullptr;
         },
         "クエリ「全データ選択クエリ」がありません"},
        {"missing field",
         [](const QString& p) {
             craft(p, kPassword,
                   "CREATE TABLE t(回数, 第1数字, 第2数字, 第3数字, 第4数字, 第5数字, 第6数字);"
                   "CREATE VIEW 全データ選択クエリ AS SELECT * FROM t;");
             return nullptr;
         },
         "項目「ボーナス数字」がありません"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const QString path = dir.path(QStringLiteral("Mirkano.mdb"));
        const std::shared_ptr<void> hold = c.make(path);
        const Snapshot before = snapshot(path);
        try {
            loadHistory(path);
            ADD_FAILURE() << "no error";
        } catch (const HistoryError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("履歴ファイル「%1」を開けません：%2").arg(path, QString::fromUtf8(c.cause)));
        }
        EXPECT_EQ(snapshot(path), before);
    }
}

TEST(HistoryStore, ForeignValuesReadAsEmptyNumbersAndStrayRowsAreSkipped)
{
    TempDir dir;
    const QString path = dir.path(QStringLiteral("Mirkano.mdb"));
    // A file of another origin: no checks, fields of any kind, view columns in another order.
    craft(path, kPassword, R"sql(
        CREATE TABLE t(回数, 第1数字, 第2数字, 第3数字, 第4数字, 第5数字, 第6数字, ボーナス数字, 日付);
        CREATE VIEW 全データ選択クエリ AS
          SELECT ボーナス数字, 日付, 第6数字, 第5数字, 第4数字, 第3数字, 第2数字, 第1数字, 回数 FROM t;
        INSERT INTO t VALUES (1, 1, 2, 3, 4, 5, 6, 7, '2000-10-05');
        INSERT INTO t VALUES (2, 1, 2, '', 4, 5, 6, 7, NULL);
        INSERT INTO t VALUES (3, 1, 'abc', 3, 4, 5, 6, 7, NULL);
        INSERT INTO t VALUES (4, 1, 2, 3, 4, 5, 12.5, 7, NULL);
        INSERT INTO t VALUES (5, 0, 2, 3, 4, 5, 6, 44, NULL);
        INSERT INTO t VALUES (6, 1, 2, 3, 4, 5, 6, -1, NULL);
        INSERT INTO t VALUES ('7', ' 9 ', '10', 11.0, 12, 13, 14, '   ', NULL);
        INSERT INTO t VALUES (8.0, '8', 9, 10, 11, 12, 13, '43', NULL);
        INSERT INTO t VALUES (0, 1, 2, 3, 4, 5, 6, 7, NULL);
        INSERT INTO t VALUES (32768, 1, 2, 3, 4, 5, 6, 7, NULL);
        INSERT INTO t VALUES ('x', 1, 2, 3, 4, 5, 6, 7, NULL);
        INSERT INTO t VALUES (NULL, 1, 2, 3, 4, 5, 6, 7, NULL);
        INSERT INTO t VALUES (9.5, 1, 2, 3, 4, 5, 6, 7, NULL);
    )sql");
    EXPECT_EQ(loadHistory(path), makeHistory({
                                            {1, {1, 2, 3, 4, 5, 6, 7}},
                                            {2, {1, 2, 0, 4, 5, 6, 7}},
                                            {3, {1, 0, 3, 4, 5, 6, 7}},
                                            {4, {1, 2, 3, 4, 5, 0, 7}},
                                            {5, {0, 2, 3, 4, 5, 6, 0}},
                                            {6, {1, 2, 3, 4, 5, 6, 0}},
                                            {7, {9, 10, 11, 12, 13, 14, 0}},
                                            {8, {8, 9, 10, 11, 12, 13, 43}},
                                        }));
}

TEST(HistoryStore, SchemaRefusesWhatCannotBeADraw)
{
    TempDir dir;
    const QString path = dir.path(QStringLiteral("Mirkano.mdb"));
    saveHistory(path, kSmall);
    Db d(path, kPassword);
    ASSERT_EQ(d.exec("INSERT INTO 当選データ VALUES (10, NULL, NULL, NULL, NULL, NULL, NULL, NULL)"), SQLITE_OK);
    ASSERT_EQ(d.exec("INSERT INTO 当選データ VALUES (32767, 1, 43, 2, 3, 4, 5, 6)"), SQLITE_OK);
    for (const char* sql : {
             "INSERT INTO 当選データ VALUES (1, 1, 2, 3, 4, 5, 6, 7)",       // repeated 回数
             "INSERT INTO 当選データ VALUES (0, 1, 2, 3, 4, 5, 6, 7)",
             "INSERT INTO 当選データ VALUES (32768, 1, 2, 3, 4, 5, 6, 7)",
             "INSERT INTO 当選データ VALUES (-5, 1, 2, 3, 4, 5, 6, 7)",
             "INSERT INTO 当選データ VALUES (NULL, 1, 2, 3, 4, 5, 6, 7)",    // would take a rowid of its own
             "INSERT INTO 当選データ VALUES (11, 0, 2, 3, 4, 5, 6, 7)",
             "INSERT INTO 当選データ VALUES (11, 1, 44, 3, 4, 5, 6, 7)",
             "INSERT INTO 当選データ VALUES (11, 1, 2, 'abc', 4, 5, 6, 7)",
             "INSERT INTO 当選データ VALUES (11, 1, 2, 3, 12.5, 5, 6, 7)",
             "INSERT INTO 当選データ VALUES (11, 1, 2, 3, 4, '', 6, 7)",
             "INSERT INTO 当選データ VALUES (11, 1, 2, 3, 4, 5, 6, -1)",
         }) {
        SCOPED_TRACE(sql);
        EXPECT_NE(d.exec(sql), SQLITE_OK);
    }
}

TEST(HistoryStore, FailedSaveLeavesTheOldFileWholeAndNoWorkFile)
{
    TempDir dir;
    const QString path = dir.path(QStringLiteral("Mirkano.mdb"));
    saveHistory(path, kSmall);
    const Snapshot before = snapshot(path);

    const History badRows[] = {
        makeHistory({{1, {1, 2, 3, 4, 5, 6, 7}}, {1, {1, 2, 3, 4, 5, 6, 8}}}),
        makeHistory({{0, {1, 2, 3, 4, 5, 6, 7}}}),
        makeHistory({{32768, {1, 2, 3, 4, 5, 6, 7}}}),
        makeHistory({{5, {1, 2, 3, 4, 5, 6, 44}}}),
        makeHistory({{5, {-1, 2, 3, 4, 5, 6, 7}}}),
    };
    for (const History& rows : badRows) {
        SCOPED_TRACE(rows.back().drawNo);
        try {
            saveHistory(path, rows);
            ADD_FAILURE() << "no error";
        } catch (const HistoryError& e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("履歴ファイル「%1」を保存できません：").arg(path)))
                << e.what();
        }
        EXPECT_EQ(snapshot(path), before);
    }
    EXPECT_EQ(loadHistory(path), kSmall);

    // A good save replaces the whole file.
    const History next = makeHistory({{7, {1, 2, 3, 4, 5, 6, 7}}});
    saveHistory(path, next);
    EXPECT_EQ(loadHistory(path), next);

    // A folder that does not exist is reported, nothing is made.
    const QString lost = dir.path(QStringLiteral("no-such-folder/Mirkano.mdb"));
    EXPECT_THROW(saveHistory(lost, kSmall), HistoryError);
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(lost).absolutePath()));
}

TEST(HistoryStore, DefaultPathIsBesideTheProgram)
{
    const QString exeDir = QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).absolutePath();
    EXPECT_EQ(defaultHistoryPath(), exeDir + QStringLiteral("/Mirkano.mdb"));
    for (const Game& g : games())
        EXPECT_EQ(defaultHistoryPath(g.id), exeDir + u'/' + g.historyFile.toString());
}

TEST(HistoryStore, EachGameGetsACopyOfItsOwnSampleHistory)
{
    TempDir dir;
    for (const Game& g : games()) {
        SCOPED_TRACE(g.cliName.toString().toStdString());
        if (!QFileInfo::exists(QDir(programFolder()).filePath(g.historyFile.toString())))
            GTEST_SKIP() << "the sample histories are not built beside the tests";
        const QString mine = dir.path(QStringLiteral("user/") + g.historyFile.toString());
        EXPECT_TRUE(copySampleHistoryIfMissing(mine));
        EXPECT_EQ(historyFileGame(mine), g.id);
        EXPECT_EQ(loadHistory(mine), test::sampleHistory(g.id));
        EXPECT_FALSE(copySampleHistoryIfMissing(mine));  // never over an existing history
    }
}

TEST(HistoryStore, ReadingAWriteAheadFileLeavesNothingBesideIt)
{
    TempDir dir;
    const QString path = dir.path(QStringLiteral("Mirkano.mdb"));
    saveHistory(path, kSmall);
    {
        Db d(path, kPassword);
        ASSERT_EQ(d.exec("PRAGMA journal_mode = WAL"), SQLITE_OK);
    }
    const Snapshot before = snapshot(path);
    ASSERT_EQ(before.entries, QStringList{QStringLiteral("Mirkano.mdb")});
    EXPECT_EQ(loadHistory(path), kSmall);
    EXPECT_EQ(snapshot(path), before);

    // While a writer has it open, what it committed to its log is read too.
    Db writer(path, kPassword);
    ASSERT_EQ(writer.exec("DELETE FROM 当選データ WHERE 回数 = 3"), SQLITE_OK);
    EXPECT_EQ(loadHistory(path), History(kSmall.begin(), kSmall.begin() + 2));
}

TEST(HistoryStore, SaveRefusesATargetItMustNotReplace)
{
    TempDir dir;
    const QString path = dir.path(QStringLiteral("Mirkano.mdb"));
    const struct {
        const char* name;
        std::function<std::shared_ptr<void>()> hold;  // set-up kept alive during the save
        const char* cause;
    } cases[] = {
        {"read-only",
         [&] {
             QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
             return std::shared_ptr<void>(nullptr, [&](void*) {
                 QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
             });
         },
         "読み取り専用のファイルです"},
        {"open for writing in another program",
         [&] {
             auto p = std::make_shared<QProcess>();
             p->start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("exec 3>>\"$0\"; echo ready; exec sleep 60"), path});
             EXPECT_TRUE(p->waitForReadyRead(10000));
             return std::shared_ptr<void>(p.get(), [p](void*) {
                 p->kill();
                 p->waitForFinished();
             });
         },
         "ほかのプログラムが書き込み用に開いています"},
        {"in a database transaction",
         [&] {
             auto holder = std::make_shared<Db>(path, kPassword);
             EXPECT_EQ(holder->exec("BEGIN IMMEDIATE"), SQLITE_OK);
             return holder;
         },
         "ほかのプログラムが書き込み用に開いています"},
    };
    saveHistory(path, kSmall);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        {
            const std::shared_ptr<void> hold = c.hold();
            const Snapshot before = snapshot(path);
            try {
                saveHistory(path, test::sampleHistory());
                ADD_FAILURE() << "no error";
            } catch (const HistoryError& e) {
                EXPECT_EQ(e.message(), QStringLiteral("履歴ファイル「%1」を保存できません：%2").arg(path, QString::fromUtf8(c.cause)));
            }
            EXPECT_EQ(snapshot(path), before);
        }
        EXPECT_EQ(loadHistory(path), kSmall);
    }
}

TEST(HistoryStore, SaveKeepsALinkAndClearsWorkFilesOfCutShortSaves)
{
    TempDir dir;
    const QString real = dir.path(QStringLiteral("data/Mirkano.mdb"));
    const QString link = dir.path(QStringLiteral("Mirkano.mdb"));
    ASSERT_TRUE(QDir().mkpath(dir.path(QStringLiteral("data"))));
    saveHistory(real, kSmall);
    QFile::setPermissions(real, QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_TRUE(QFile::link(real, link));

    // Leftovers of saves that were killed, and the work file of a save still running.
    const auto work = [&](const QString& name) { return dir.path(QStringLiteral("data/.Mirkano.mdb.") + name); };
    const QDateTime longAgo = QDateTime::currentDateTime().addSecs(-3600);
    for (const QString& name : {QStringLiteral("dead.tmp"), QStringLiteral("dead.tmp-journal"),
                                QStringLiteral("gone.tmp-journal"), QStringLiteral("running.tmp")}) {
        writeAll(work(name), "x");
        QFile f(work(name));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.setFileTime(longAgo, QFileDevice::FileModificationTime);
    }
    writeAll(dir.path(QStringLiteral("data/.Other.mdb.dead.tmp")), "x");
    const int running = ::open(QFile::encodeName(work(QStringLiteral("running.tmp"))).constData(), O_RDONLY);
    ASSERT_EQ(::flock(running, LOCK_EX), 0);

    saveHistory(link, test::sampleHistory());
    ::close(running);

    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(loadHistory(real), test::sampleHistory());
    EXPECT_EQ(QFile::permissions(real), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    EXPECT_EQ(QDir(dir.path(QStringLiteral("data"))).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral(".Mirkano.mdb.running.tmp"), QStringLiteral(".Other.mdb.dead.tmp"),
                           QStringLiteral("Mirkano.mdb")}));
}

// A file whose game record was changed is refused, naming the game its
// fields hold, by every reader and by the entry window.
TEST(HistoryStore, AFileWhoseFieldsAreAnotherGamesIsRefusedNamingThatGame)
{
    TempDir dir;
    const struct {
        GameId holds;
        const char* recorded;
        const char* cause;
    } cases[] = {
        {GameId::Loto6, "miniloto", "ゲームの記録はミニロトですが、中身はロト6の当選データのようです（項目「第6数字」があります）"},
        {GameId::MiniLoto, "loto6", "ゲームの記録はロト6ですが、中身はミニロトの当選データのようです（項目がミニロトのものです）"},
        {GameId::Loto7, "loto6", "ゲームの記録はロト6ですが、中身はロト7の当選データのようです（項目「第7数字」があります）"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.recorded);
        const QString path = dir.path(QString::fromLatin1(c.recorded) + QStringLiteral(".mdb"));
        const DrawRecord draw{1, {1, 2, 3, 4, 5, 6, 7, 8, 9}, c.holds};
        DrawRecord row = draw;
        for (int i = row.numberCount(); i < kMaxNumbersPerDraw; ++i)
            row.numbers[std::size_t(i)] = 0;
        saveHistory(path, {row}, c.holds);
        Db(path, kPassword).exec((QByteArray("UPDATE ゲーム SET ゲーム = '") + c.recorded + "'").constData());
        const QString cause = QString::fromUtf8(c.cause) + QStringLiteral("。ゲームの記録が書き換えられたファイルは読めません");
        EXPECT_EQ(historyFileFault(path), cause);
        try {
            loadHistory(path);
            ADD_FAILURE() << "no error";
        } catch (const HistoryError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("履歴ファイル「%1」を開けません：%2").arg(path, cause));
        }
        EXPECT_THROW(HistoryEditor{path}, HistoryError);
    }
}

// A draw that breaks the game's rules is named and counted nowhere; the
// entry window sees it as stored, so it can be mended there and is not
// written over unseen.
TEST(HistoryStore, DrawsThatBreakTheGamesRulesAreNamedAndCountedNowhere)
{
    TempDir dir;
    const QString path = dir.path(QStringLiteral("Mirkano.mdb"));
    // As an earlier version or another tool may have left it: no checks.
    craft(path, kPassword, R"sql(
        CREATE TABLE 当選データ (回数, 第1数字, 第2数字, 第3数字, 第4数字, 第5数字, 第6数字, ボーナス数字);
        CREATE VIEW 全データ選択クエリ AS
          SELECT 回数, 第1数字, 第2数字, 第3数字, 第4数字, 第5数字, 第6数字, ボーナス数字 FROM 当選データ;
        INSERT INTO 当選データ VALUES (1, 2, 8, 10, 13, 27, 30, 39);
        INSERT INTO 当選データ VALUES (2, 1, 12, 16, 20, 12, 43, 5);
        INSERT INTO 当選データ VALUES (3, 1, 9, 16, 20, 21, 43, 44);
        INSERT INTO 当選データ VALUES (1, 2, 8, 10, 13, 27, 30, 39);
        INSERT INTO 当選データ VALUES ('x', 1, 9, 16, 20, 21, 43, 5);
    )sql");
    QStringList leftOut;
    const History rows = loadHistory(path, GameId::Loto6, leftOut);
    EXPECT_EQ(rows, makeHistory({{1, {2, 8, 10, 13, 27, 30, 39}}, {3, {1, 9, 16, 20, 21, 43, 0}}}));
    EXPECT_EQ(leftOut, (QStringList{
                           QStringLiteral("第1回：同じ回数の行がほかにもあるため、2行目からは読みません"),
                           QStringLiteral("第2回：同じ数字が二度あるため、この回は数えません（第2数字と第5数字が 12）"),
                           QStringLiteral("第3回：ボーナス数字「44」が 1～43 の数字ではないため、この回は数えません"),
                           QStringLiteral("回数「x」の行：回数が 1～32767 の整数ではないため読みません"),
                       }));
    EXPECT_EQ(buildStartupTables(rows).latestDrawNo, 1);
    EXPECT_EQ(historyFileFault(path), QStringLiteral("回数 1 が重複しています"));
    EXPECT_TRUE(leftOutNotice(path, leftOut, 2).endsWith(QStringLiteral("\nほか 2件")));

    // The entry window's rows hold what is stored; a row it cannot store is refused with a cause.
    HistoryEditor editor(path);
    const History stored = editor.rows();
    ASSERT_EQ(stored.size(), 4u);  // the repeat and the second row of 回数 1 as stored
    EXPECT_EQ(stored[3].numbers[6], 44);
    EXPECT_THROW(editor.updateRow(3, stored[3]), HistoryError);
    // What writes the whole file reads every row as stored.
    EXPECT_EQ(loadHistory(path), (History{stored[0], stored[1], stored[2], DrawRecord{3, {1, 9, 16, 20, 21, 43, 0}}}));

    // A file of this program holding a repeat (its checks allow one) does not pass as an update source.
    const QString own = dir.path(QStringLiteral("own.mdb"));
    saveHistory(own, kSmall);
    Db(own, kPassword).exec("UPDATE 当選データ SET 第5数字 = 9 WHERE 回数 = 2");
    EXPECT_EQ(historyFileFault(own), QStringLiteral("回数 2 に同じ数字が二度あります（第2数字と第5数字が 9）"));
}
