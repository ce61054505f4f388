#include "core/history/history_store.h"

#include "core/history/draw_rule.h"
#include "core/files/file_kind.h"
#include "core/files/file_replace.h"
#include "core/history/history_key.h"
#include "core/files/system_cause.h"

#define SQLITE_HAS_CODEC 1
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <span>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirkano {

const char* const kHistoryQuery = "select * from 全データ選択クエリ order by 回数";

namespace {

constexpr int kBusyTimeoutMs = 150;
// Smallest page a database file can have: anything shorter is not a history.
constexpr qint64 kMinHistoryBytes = 512;
// The work the history query may take is counted in blocks of this many steps
// of the database engine (detail::queryWorkBlocks).
constexpr int kProgressBlock = 1000;
constexpr int kEditBusyTimeoutMs = 2000;  // a write waits a little longer for a reader to finish
constexpr char kPlainSqliteHeader[] = "SQLite format 3";  // 16 bytes with its terminating zero

// The field names of a game's history as a list for a statement:
// "回数, 第1数字, …, ボーナス数字".
QByteArray fieldList(GameId game)
{
    QStringList names;
    for (QStringView name : historyFieldNames(game))
        names << name.toString();
    return names.join(QStringLiteral(", ")).toUtf8();
}

// The table of draws and the view through which the history is read, and the
// one-row table ゲーム that names the game (loto6, loto7, miniloto; a file
// without it is a Loto 6 history). The checks refuse anything that cannot be
// a draw: 回数 a unique whole number 1 … 32767, each number empty (NULL) or a
// whole number 1 … the game's pool.
QByteArray schemaOf(GameId game)
{
    const std::span<const QStringView> names = historyFieldNames(game);
    QByteArray sql = "CREATE TABLE 当選データ (\n"
                     "  回数 INTEGER PRIMARY KEY CHECK (typeof(回数) = 'integer' AND 回数 BETWEEN 1 AND 32767)";
    const QByteArray pool = QByteArray::number(mirkano::game(game).pool);
    for (std::size_t f = 1; f < names.size(); ++f) {
        const QByteArray n = names[f].toString().toUtf8();
        sql += ",\n  " + n + " INTEGER CHECK (" + n + " IS NULL OR (typeof(" + n + ") = 'integer' AND " + n
               + " BETWEEN 1 AND " + pool + "))";
    }
    sql += "\n);\nCREATE VIEW 全データ選択クエリ AS\n  SELECT " + fieldList(game) + " FROM 当選データ;\n";
    sql += "CREATE TABLE ゲーム (ゲーム TEXT NOT NULL);\n";
    sql += "INSERT INTO ゲーム (ゲーム) VALUES ('" + mirkano::game(game).cliName.toString().toUtf8() + "');\n";
    return sql;
}

QByteArray selectTableOf(GameId game) { return "SELECT " + fieldList(game) + " FROM 当選データ LIMIT 0"; }

QByteArray insertOf(GameId game)
{
    QByteArray marks = "?";
    for (int i = 0; i < mirkano::game(game).numbersPerDraw(); ++i)
        marks += ", ?";
    return "INSERT INTO 当選データ (" + fieldList(game) + ") VALUES (" + marks + ")";
}

// "UPDATE 当選データ SET 回数 = ?, 第1数字 = ?, … WHERE 回数 = ?": the row's
// fields from parameter 1 on, the stored 回数 last.
QByteArray updateOf(GameId game)
{
    QByteArray sql = "UPDATE 当選データ SET ";
    const std::span<const QStringView> names = historyFieldNames(game);
    for (std::size_t f = 0; f < names.size(); ++f)
        sql += (f ? ", " : "") + names[f].toString().toUtf8() + " = ?";
    return sql + " WHERE 回数 = ?";
}

QString displayPath(const QString& path) { return QDir::toNativeSeparators(path); }

[[noreturn]] void failOpen(const QString& path, const QString& cause)
{
    throw HistoryError(
        QStringLiteral("履歴ファイル「%1」を開けません：%2").arg(displayPath(path), cause).toStdString());
}

[[noreturn]] void failSave(const QString& path, const QString& cause)
{
    throw HistoryError(
        QStringLiteral("履歴ファイル「%1」を保存できません：%2").arg(displayPath(path), cause).toStdString());
}

// Why a row breaks the row rule, for the user.
QString notStorable(const DrawRecord& row)
{
    return QStringLiteral("回数 %1 の行は履歴に入れられません（回数は1～32767で重複なし、数字は空か1～%2）")
        .arg(row.drawNo)
        .arg(row.facts().pool);
}

// A row of another game than the history's.
QString otherGameRow(const DrawRecord& row, GameId history)
{
    return QStringLiteral("回数 %1 の行は%2の当選データで、%3の履歴には入れられません")
        .arg(row.drawNo)
        .arg(row.facts().name, game(history).name);
}

// The fields of a draw that hold the same number: "第2数字と第5数字が 12".
QString repeatedNumbers(const DrawRecord& row)
{
    const std::span<const QStringView> names = historyFieldNames(row.gameId);
    for (std::size_t i = 0; i < row.all().size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (row.numbers[i] != 0 && row.numbers[i] == row.numbers[j])
                return QStringLiteral("%1と%2が %3").arg(names[j + 1], names[i + 1]).arg(row.numbers[i]);
    return {};
}

// Binds a row's numbers from parameter first on, an empty number as NULL.
void bindNumbers(sqlite3_stmt* stmt, int first, const DrawRecord& row)
{
    for (int i = 0; i < row.numberCount(); ++i) {
        const int n = row.numbers[std::size_t(i)];
        if (n == 0)
            sqlite3_bind_null(stmt, first + i);
        else
            sqlite3_bind_int(stmt, first + i, n);
    }
}

// The cause of a database error in words the user can act on.
QString causeOf(sqlite3* db, int rc)
{
    switch (rc & 0xff) {
    case SQLITE_NOTADB:
        return QStringLiteral("パスワードが違うか、履歴ファイルではありません");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("ほかのプログラムが使用中です");
    case SQLITE_CORRUPT:
        return QStringLiteral("ファイルが壊れています");
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
        return QStringLiteral("ファイルを開く権限がないか、開けない場所です");
    case SQLITE_FULL:
        return QStringLiteral("ディスクがいっぱいです");
    case SQLITE_IOERR:
        return QStringLiteral("読み書きに失敗しました");
    case SQLITE_READONLY:
        return QStringLiteral("書き込みが禁止されています");
    case SQLITE_NOMEM:
        return QStringLiteral("メモリが不足しています");
    case SQLITE_INTERRUPT:
        return QStringLiteral("クエリ「全データ選択クエリ」が終わらないため、履歴ファイルではありません");
    case SQLITE_TOOBIG:
    case SQLITE_NOLFS:
        return QStringLiteral("大きすぎて扱えません");
    default:
        break;
    }
    (void)db;
    return QStringLiteral("データベースの予期しないエラーです（コード %1）").arg(rc);
}

// A database handle that is always closed again.
struct Connection {
    sqlite3* db = nullptr;
    int workBlocks = 0;  // blocks of work counted by limitWork
    ~Connection() { sqlite3_close_v2(db); }
};

struct Statement {
    sqlite3_stmt* stmt = nullptr;
    ~Statement() { sqlite3_finalize(stmt); }
};

// A whole number held in a field, whatever its storage class; nullopt when the
// field holds anything else (fractions, words, blobs).
std::optional<long long> wholeNumber(sqlite3_stmt* stmt, int col)
{
    switch (sqlite3_column_type(stmt, col)) {
    case SQLITE_INTEGER:
        return sqlite3_column_int64(stmt, col);
    case SQLITE_FLOAT: {
        const double d = sqlite3_column_double(stmt, col);
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15)
            return static_cast<long long>(d);
        return std::nullopt;
    }
    case SQLITE_TEXT: {
        const QString text =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, col))).trimmed();
        bool ok = false;
        const long long v = text.toLongLong(&ok);
        if (ok)
            return v;
        const double d = text.toDouble(&ok);
        if (ok && std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15)
            return static_cast<long long>(d);
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

// A number field as the history holds it: the number 1 … the game's pool, or
// 0 for an empty field and for anything that is not a number of the game (the
// row then reads as incomplete and every reader skips it).
int numberField(sqlite3_stmt* stmt, int col, GameId game)
{
    const int type = sqlite3_column_type(stmt, col);
    if (type == SQLITE_NULL)
        return 0;
    const std::optional<long long> v = wholeNumber(stmt, col);
    if (!v || !isNumber(*v, game))
        return 0;
    return int(*v);
}

// Keys a new, empty file with the raw key: every file this program writes is
// keyed with it.
void keyNewDatabase(sqlite3* db)
{
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    sqlite3_key(db, detail::kHistoryPassword, int(std::strlen(detail::kHistoryPassword)));
}

// What shows whether a writer touched the file: its identity, size and time,
// and the journal files a writer keeps beside it.
struct FileState {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    bool writerFiles = false;
    bool operator==(const FileState& o) const
    {
        return device == o.device && inode == o.inode && size == o.size &&
               modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec &&
               writerFiles == o.writerFiles;
    }
};

FileState fileState(const QString& path)
{
    FileState s;
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) == 0) {
        s.device = st.st_dev;
        s.inode = st.st_ino;
        s.size = st.st_size;
        s.modified = st.st_mtim;
    }
    for (const char* suffix : {"-journal", "-wal"})
        s.writerFiles = s.writerFiles || QFileInfo::exists(path + QLatin1String(suffix));
    return s;
}

}  // namespace

QString programFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).absolutePath();
}

QString userDataFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("mirkano"));
}

QString defaultHistoryPath(GameId game)
{
    const QString program = programFolder();
    const QString dir = QFileInfo(program).isWritable() ? program : userDataFolder();
    return QDir(dir).filePath(mirkano::game(game).historyFile.toString());
}

QString defaultHistoryPath() { return defaultHistoryPath(GameId::Loto6); }

bool copySampleHistoryIfMissing(const QString& historyPath)
{
    // The sample of the same game: a history named as a game's (Mirkano.mdb,
    // Mirkano7.mdb, MirkanoMini.mdb) gets that game's, any other Loto 6's.
    const QString name = QFileInfo(historyPath).fileName();
    const bool gameFile =
        std::any_of(games().begin(), games().end(), [&](const Game& g) { return g.historyFile == name; });
    const QString sample = QDir(programFolder()).filePath(gameFile ? name : kHistoryFileName);
    if (QFileInfo::exists(historyPath) || !QFileInfo::exists(sample)
        || QFileInfo(sample).absoluteFilePath() == QFileInfo(historyPath).absoluteFilePath())
        return false;
    QDir().mkpath(QFileInfo(historyPath).absolutePath());
    return QFile::copy(sample, historyPath);
}

namespace {

// Caps the work of what the connection runs from here on, so that a view that
// never ends is stopped (its statement fails with SQLITE_INTERRUPT).
void limitWork(Connection& conn)
{
    conn.workBlocks = 0;
    sqlite3_progress_handler(
        conn.db, kProgressBlock,
        [](void* count) { return ++*static_cast<int*>(count) > detail::queryWorkBlocks ? 1 : 0; }, &conn.workBlocks);
}

// Opens a history file and checks the password, the lock and the view; the
// cause in words when it cannot, empty when it is open. Looks at the file
// first: the database engine would take an empty or missing file for a new
// database, and a plain one would open without a key.
QString openHistoryDb(const QString& path, int flags, Connection& conn, bool unlocked = false)
{
    // A named pipe or a device would block the open below, or never end.
    if (QString cause = regularFileFault(path); !cause.isEmpty())
        return cause;
    {
        QFile file(path);
        // The system's own answer names the cause: no file, no permission, a link loop.
        if (const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK); fd >= 0)
            ::close(fd);
        else if (errno != EISDIR)
            return readCause(errno);
        if (QFileInfo(path).isDir())
            return QStringLiteral("ファイルではなくフォルダーです");
        if (!file.open(QIODevice::ReadOnly))
            return readCause(fileErrno(file));
        const QByteArray head = file.read(16);
        if (head.isEmpty())
            return QStringLiteral("ファイルが空です");
        if (head == QByteArray(kPlainSqliteHeader, 16))
            return QStringLiteral("暗号化された履歴ファイルではありません");
        if (file.size() < kMinHistoryBytes)
            return QStringLiteral("%1 バイトしかなく、履歴ファイルではありません").arg(file.size());
    }

    // Unlocked, the file is read as it stands, taking no locks and leaving no
    // files behind; only for reading a file no writer has a journal beside.
    const QByteArray uri = QUrl::fromLocalFile(path).toEncoded() + (unlocked ? "?immutable=1" : "");
    // Keyed with the raw key; a file that key does not open was written keyed
    // with the six-digit password and is opened afresh with that (a fresh
    // connection: an unlocked one keeps what its first read made of the file).
    int rc = SQLITE_OK;
    for (const char* key : {detail::kHistoryPassword, detail::kSixDigitPassword}) {
        sqlite3_close_v2(conn.db);
        conn.db = nullptr;
        // NOMUTEX: a connection is only ever used by the thread that opened
        // it, so the engine's lock around every call (each column read
        // included) is left out.
        rc = sqlite3_open_v2(uri.constData(), &conn.db, flags | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
        if (rc != SQLITE_OK)
            return causeOf(conn.db, rc);
        sqlite3_busy_timeout(conn.db, kBusyTimeoutMs);
        sqlite3_key(conn.db, key, int(std::strlen(key)));
        if (key == detail::kSixDigitPassword && detail::sixDigitKeyRounds > 0)
            sqlite3_exec(conn.db, QByteArray("PRAGMA kdf_iter = " + QByteArray::number(detail::sixDigitKeyRounds)).constData(),
                         nullptr, nullptr, nullptr);
        if (sqlite3_exec(conn.db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_NOTADB)
            break;
    }
    limitWork(conn);

    // The first read of the schema checks the password and the lock.
    Statement probe;
    rc = sqlite3_prepare_v2(conn.db, "SELECT count(*) FROM sqlite_master WHERE name = '全データ選択クエリ'",
                            -1, &probe.stmt, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(probe.stmt);
    if ((rc & 0xff) == SQLITE_READONLY)  // a journal of a cut-short write that cannot be rolled back here
        return QStringLiteral("書き込みが中断された跡（%1）が残っていますが、"
                              "ファイルかフォルダーに書き込む権限がないため元に戻せません")
            .arg(QFileInfo(path).fileName() + QStringLiteral("-journal"));
    if (rc != SQLITE_ROW)
        return causeOf(conn.db, rc);
    if (sqlite3_column_int(probe.stmt, 0) == 0)
        return QStringLiteral("クエリ「全データ選択クエリ」がありません");
    return {};
}

// The game the open file records in its table ゲーム: Loto 6 without the
// table or without a row in it; the cause in words when the record cannot be
// read or names no game of this program.
struct GameRecord {
    GameId game = GameId::Loto6;
    QString fault;
};

GameRecord recordedGame(sqlite3* db)
{
    Statement probe;
    int rc = sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_master WHERE name = 'ゲーム'", -1, &probe.stmt,
                                nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(probe.stmt);
    if (rc != SQLITE_ROW)
        return {GameId::Loto6, causeOf(db, rc)};
    if (sqlite3_column_int(probe.stmt, 0) == 0)
        return {};
    Statement query;
    rc = sqlite3_prepare_v2(db, "SELECT DISTINCT ゲーム FROM ゲーム LIMIT 2", -1, &query.stmt, nullptr);
    if (rc != SQLITE_OK)
        return {GameId::Loto6, QStringLiteral("ゲームの記録（表「ゲーム」）が読めません")};
    std::optional<GameId> found;
    while ((rc = sqlite3_step(query.stmt)) == SQLITE_ROW) {
        const char* text = reinterpret_cast<const char*>(sqlite3_column_text(query.stmt, 0));
        const QString name = text ? QString::fromUtf8(text) : QString();
        const std::optional<GameId> g = gameByCliName(name);
        if (!g)
            return {GameId::Loto6, QStringLiteral("ゲームの記録「%1」はこのプログラムのゲームではありません")
                                       .arg(name.left(16))};
        if (found)
            return {GameId::Loto6, QStringLiteral("ゲームの記録が一つではありません")};
        found = g;
    }
    if (rc != SQLITE_DONE)
        return {GameId::Loto6, causeOf(db, rc)};
    return {found.value_or(GameId::Loto6), {}};
}

// Whether the query's fields are another game's than the one the file
// records (a changed or wrong game record): that game's fields are all
// there, and either the recorded game's are not or the other game has a
// field the recorded one lacks (a Loto 6 file recorded as Mini Loto holds
// 第6数字). The cause naming both games, else empty.
QString otherGameFields(sqlite3_stmt* query, GameId recorded)
{
    QStringList present;
    for (int c = 0; c < sqlite3_column_count(query); ++c)
        present << QString::fromUtf8(sqlite3_column_name(query, c));
    const auto has = [&](QStringView name) { return present.contains(name.toString()); };
    const std::span<const QStringView> own = historyFieldNames(recorded);
    const bool ownComplete = std::all_of(own.begin(), own.end(), has);
    for (const Game& other : games()) {
        if (other.id == recorded)
            continue;
        const std::span<const QStringView> names = historyFieldNames(other.id);
        if (!std::all_of(names.begin(), names.end(), has))
            continue;
        const auto extra = std::find_if(names.begin(), names.end(), [&](QStringView n) {
            return std::find(own.begin(), own.end(), n) == own.end();
        });
        if (ownComplete && extra == names.end())
            continue;
        const QString clue = extra != names.end() ? QStringLiteral("項目「%1」があります").arg(*extra)
                                                  : QStringLiteral("項目が%1のものです").arg(other.name);
        return QStringLiteral("ゲームの記録は%1ですが、中身は%2の当選データのようです（%3）。"
                              "ゲームの記録が書き換えられたファイルは読めません")
            .arg(game(recorded).name, other.name, clue);
    }
    return {};
}

// Prepares the history query and finds each field of the game's by name,
// whatever order the query gives them in; the cause when it cannot.
QString prepareHistoryQuery(sqlite3* db, Statement& query, GameId game, std::vector<int>& column)
{
    const int rc = sqlite3_prepare_v2(db, kHistoryQuery, -1, &query.stmt, nullptr);
    if (rc != SQLITE_OK)
        return causeOf(db, rc);
    const std::span<const QStringView> names = historyFieldNames(game);
    column.assign(names.size(), -1);
    const int columns = sqlite3_column_count(query.stmt);
    for (int c = 0; c < columns; ++c) {
        const QString name = QString::fromUtf8(sqlite3_column_name(query.stmt, c));
        for (std::size_t f = 0; f < names.size(); ++f)
            if (column[f] < 0 && names[f] == name)
                column[f] = c;
    }
    if (const QString cause = otherGameFields(query.stmt, game); !cause.isEmpty())
        return cause;
    for (std::size_t f = 0; f < names.size(); ++f)
        if (column[f] < 0)
            return QStringLiteral("項目「%1」がありません").arg(names[f]);
    return {};
}

// A history file's game and rows.
struct StoredHistory {
    GameId game = GameId::Loto6;
    History rows;
    QStringList leftOut;  // draws that break the game's rules (readRows)
};

// A number field that breaks the game's rules, for a notice: its text as stored.
QString storedText(sqlite3_stmt* stmt, int col)
{
    const unsigned char* text = sqlite3_column_text(stmt, col);
    return text ? QString::fromUtf8(reinterpret_cast<const char*>(text)).left(16) : QString();
}

// Reads every row of an open history of the game, in ascending 回数. A row
// without a 回数 of 1 … 32767 is left out and a number that is no number of
// the game reads as empty (the draw is then incomplete). With leftOut, for
// the analyses, what breaks the game's rules is named there, one line a
// draw, and a draw repeating a number or a second row of one 回数 is left
// out too, so that no count holds it; without, such rows are read as stored,
// so that a merge or an update writes them back as they were. The entry
// window (keepStored) sees a whole number outside the pool as it is stored,
// so that it is marked there and not written over unseen.
History readRows(const QString& path, sqlite3* db, GameId game, QStringList* leftOut = nullptr,
                 bool keepStored = false)
{
    Statement query;
    std::vector<int> column;
    if (const QString cause = prepareHistoryQuery(db, query, game, column); !cause.isEmpty())
        failOpen(path, cause);

    const std::span<const QStringView> names = historyFieldNames(game);
    const int pool = mirkano::game(game).pool;
    const auto notice = [&](const QString& text) {
        if (leftOut)
            *leftOut << text;
    };
    History rows;
    std::set<int> drawNos;
    int rowsRead = 0;
    int rc;
    while ((rc = sqlite3_step(query.stmt)) == SQLITE_ROW) {
        if (++rowsRead > kMaxDrawNo)
            failOpen(path, QStringLiteral("行が %1 を超えていて、履歴ファイルではありません").arg(kMaxDrawNo));
        const std::optional<long long> drawNo = wholeNumber(query.stmt, column[0]);
        if (!drawNo || !isDrawNo(*drawNo)) {
            // Not a draw this program can place in the history.
            notice(QStringLiteral("回数「%1」の行：回数が 1～%2 の整数ではないため読みません")
                       .arg(storedText(query.stmt, column[0]))
                       .arg(kMaxDrawNo));
            continue;
        }
        if (!drawNos.insert(int(*drawNo)).second && leftOut) {
            notice(QStringLiteral("第%1回：同じ回数の行がほかにもあるため、2行目からは読みません").arg(*drawNo));
            continue;
        }
        DrawRecord row;
        row.drawNo = int(*drawNo);
        row.gameId = game;
        QStringList wrong;
        for (std::size_t f = 1; f < column.size(); ++f) {
            const int n = numberField(query.stmt, column[f], game);
            row.numbers[f - 1] = n;
            if (n != 0 || sqlite3_column_type(query.stmt, column[f]) == SQLITE_NULL
                || storedText(query.stmt, column[f]).trimmed().isEmpty())
                continue;
            wrong << QStringLiteral("%1「%2」").arg(names[f], storedText(query.stmt, column[f]));
            const std::optional<long long> v = wholeNumber(query.stmt, column[f]);
            if (keepStored && v && *v >= -99 && *v <= 999)
                row.numbers[f - 1] = int(*v);
        }
        if (!wrong.isEmpty()) {
            notice(QStringLiteral("第%1回：%2が 1～%3 の数字ではないため、この回は数えません")
                       .arg(row.drawNo)
                       .arg(wrong.join(u'、'))
                       .arg(pool));
        } else if (leftOut && hasRepeatedNumber(row)) {
            notice(QStringLiteral("第%1回：同じ数字が二度あるため、この回は数えません（%2）")
                       .arg(row.drawNo)
                       .arg(repeatedNumbers(row)));
            continue;
        }
        rows.push_back(row);
    }
    if (rc != SQLITE_DONE)
        failOpen(path, causeOf(db, rc));

    // A foreign file may hold 回数 as text, which the query would order apart.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const DrawRecord& a, const DrawRecord& b) { return a.drawNo < b.drawNo; });
    return rows;
}

// Whether the table that the entry window writes to is there with every field.
bool hasDrawTable(sqlite3* db, GameId game)
{
    Statement probe;
    return sqlite3_prepare_v2(db, selectTableOf(game).constData(), -1, &probe.stmt, nullptr) == SQLITE_OK;
}

}  // namespace

namespace {

// The game of the file and, unless gameOnly, its rows.
StoredHistory readHistory(const QString& path, bool unlocked, bool gameOnly, bool checked)
{
    Connection conn;
    if (const QString cause = openHistoryDb(path, SQLITE_OPEN_READONLY, conn, unlocked); !cause.isEmpty())
        failOpen(path, cause);
    limitWork(conn);
    const GameRecord record = recordedGame(conn.db);
    if (!record.fault.isEmpty())
        failOpen(path, record.fault);
    if (gameOnly)
        return {record.game, {}, {}};
    StoredHistory stored{record.game, {}, {}};
    stored.rows = readRows(path, conn.db, record.game, checked ? &stored.leftOut : nullptr);
    return stored;
}

}  // namespace

namespace {

QString journalOf(const QString& path) { return path + QStringLiteral("-journal"); }

// Whether a rollback journal with a written header lies beside the file: what
// a writer leaves when it is cut short after it began to change the file (a
// live writer's journal looks the same; its lock tells them apart). A journal
// whose header is still blank holds nothing to roll back.
bool journalToRollBack(const QString& path)
{
    const int fd = ::open(QFile::encodeName(journalOf(path)).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0)
        return false;
    struct stat st;
    char first = 0;
    const bool hot = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 && ::read(fd, &first, 1) == 1
                     && first != 0;
    ::close(fd);
    return hot;
}

}  // namespace

QString rollBackInterruptedWrite(const QString& pathIn)
{
    const QString path = QFileInfo(pathIn).absoluteFilePath();
    // The engine keeps the journal beside the file a link names.
    const QString real = detail::resolveLinks(path);
    if (!journalToRollBack(real) || detail::heldForWriting(real))
        return {};
    {
        // The first read of a connection that may write rolls the journal back.
        Connection conn;
        if (const QString cause = openHistoryDb(path, SQLITE_OPEN_READWRITE, conn); !cause.isEmpty())
            failOpen(path, cause);
    }
    if (journalToRollBack(real))
        return {};  // a writer began anew meanwhile
    return QStringLiteral("履歴ファイル「%1」への前回の書き込みが途中で止まっていたため、"
                          "その書き込みを取り消して元の状態に戻しました。")
        .arg(displayPath(path));
}

namespace {

// The history file read as loadHistory() describes; gameOnly: only its game.
StoredHistory loadStored(const QString& pathIn, bool gameOnly, bool checked = false)
{
    const QString path = QFileInfo(pathIn).absoluteFilePath();
    if (const QString notice = rollBackInterruptedWrite(path); !notice.isEmpty())
        std::fprintf(stderr, "%s\n", notice.toUtf8().constData());

    // With no journal of a writer beside it, the file is read as it stands,
    // without locks: a file in write-ahead mode then leaves no files behind.
    // Should a writer appear meanwhile, the history is read again under locks.
    const FileState before = fileState(path);
    if (!before.writerFiles) {
        try {
            StoredHistory stored = readHistory(path, true, gameOnly, checked);
            if (fileState(path) == before)
                return stored;
        } catch (const HistoryError&) {
            if (fileState(path) == before)
                throw;  // the file as it stands is not readable
        }
    }
    return readHistory(path, false, gameOnly, checked);
}

}  // namespace

History loadHistory(const QString& path) { return loadStored(path, false).rows; }

History loadHistory(const QString& path, GameId expected)
{
    QStringList leftOut;
    return loadHistory(path, expected, leftOut);
}

History loadHistory(const QString& path, GameId expected, QStringList& leftOut)
{
    HistoryReading file = readHistoryFile(path, expected);
    leftOut = std::move(file.leftOut);
    return std::move(file.rows);
}

HistoryReading readHistoryFile(const QString& path, std::optional<GameId> expected)
{
    StoredHistory stored = loadStored(path, false, true);
    if (expected && stored.game != *expected)
        throw HistoryError(QStringLiteral("履歴ファイル「%1」は%2の当選データです。%3の当選データとしては開けません")
                               .arg(displayPath(QFileInfo(path).absoluteFilePath()),
                                    game(stored.game).name.toString(), game(*expected).name.toString()));
    return {stored.game, std::move(stored.rows), std::move(stored.leftOut)};
}

QString leftOutNotice(const QString& path, const QStringList& leftOut, int shown)
{
    if (leftOut.isEmpty())
        return {};
    QString text = QStringLiteral("履歴ファイル「%1」に、ゲームの決まりに合わない当選データが%2件あります。"
                                  "分析や予想には使いません。当選データ入力で直してください。")
                       .arg(displayPath(QFileInfo(path).absoluteFilePath()))
                       .arg(leftOut.size());
    for (int i = 0; i < std::min<int>(shown, int(leftOut.size())); ++i)
        text += QStringLiteral("\n") + leftOut[i];
    if (leftOut.size() > shown)
        text += QStringLiteral("\nほか %1件").arg(leftOut.size() - shown);
    return text;
}

GameId historyFileGame(const QString& path) { return loadStored(path, true).game; }

QString historyFileFault(const QString& pathIn)
{
    const QString path = QFileInfo(pathIn).absoluteFilePath();
    Connection conn;
    if (QString cause = openHistoryDb(path, SQLITE_OPEN_READONLY, conn); !cause.isEmpty())
        return cause;

    // Every page must read back whole: a cut-off or damaged file stops here.
    {
        Statement check;
        int rc = sqlite3_prepare_v2(conn.db, "PRAGMA quick_check", -1, &check.stmt, nullptr);
        if (rc == SQLITE_OK)
            rc = sqlite3_step(check.stmt);
        if (rc != SQLITE_ROW)
            return causeOf(conn.db, rc);
        const QString verdict = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(check.stmt, 0)));
        if (verdict != QLatin1String("ok"))
            return QStringLiteral("ファイルが壊れています");
    }

    limitWork(conn);
    const GameRecord record = recordedGame(conn.db);
    if (!record.fault.isEmpty())
        return record.fault;
    const GameId game = record.game;
    const std::span<const QStringView> names = historyFieldNames(game);
    Statement query;
    std::vector<int> column;
    if (QString cause = prepareHistoryQuery(conn.db, query, game, column); !cause.isEmpty())
        return cause;

    // Every row as the program would read it, nothing dropped or read as empty.
    std::set<long long> seen;
    int rc;
    while ((rc = sqlite3_step(query.stmt)) == SQLITE_ROW) {
        const std::optional<long long> drawNo = wholeNumber(query.stmt, column[0]);
        if (!drawNo || !isDrawNo(*drawNo)) {
            const QString text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(query.stmt, column[0])));
            return QStringLiteral("回数「%1」が 1～%2 の整数ではありません").arg(text).arg(kMaxDrawNo);
        }
        if (!seen.insert(*drawNo).second)
            return QStringLiteral("回数 %1 が重複しています").arg(*drawNo);
        DrawRecord row;
        row.drawNo = int(*drawNo);
        row.gameId = game;
        for (std::size_t f = 1; f < column.size(); ++f) {
            const int col = column[f];
            row.numbers[f - 1] = numberField(query.stmt, col, game);
            const int type = sqlite3_column_type(query.stmt, col);
            if (type == SQLITE_NULL)
                continue;
            const QString text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(query.stmt, col)));
            if (type == SQLITE_TEXT && text.trimmed().isEmpty())
                continue;
            const std::optional<long long> v = wholeNumber(query.stmt, col);
            if (!v || !isNumber(*v, game))
                return QStringLiteral("回数 %1 の%2「%3」が 1～%4 の数字ではありません")
                    .arg(*drawNo)
                    .arg(names[f], text)
                    .arg(mirkano::game(game).pool);
        }
        if (hasRepeatedNumber(row))
            return QStringLiteral("回数 %1 に同じ数字が二度あります（%2）").arg(*drawNo).arg(repeatedNumbers(row));
    }
    if (rc != SQLITE_DONE)
        return causeOf(conn.db, rc);
    if (!hasDrawTable(conn.db, game))
        return QStringLiteral("表「当選データ」がありません");
    return {};
}

void saveHistory(const QString& path, const History& rows)
{
    saveHistory(path, rows, rows.empty() ? GameId::Loto6 : rows.front().gameId);
}

void saveHistory(const QString& pathIn, const History& rows, GameId game)
{
    const QString path = QFileInfo(pathIn).absoluteFilePath();
    // A link stays a link: the file it points to is the one replaced.
    const QString real = detail::resolveLinks(path);
    const QFileInfo target(real);
    const QString dir = target.absolutePath();
    if (!QFileInfo(dir).isDir())
        failSave(path, QStringLiteral("フォルダー「%1」がありません").arg(displayPath(dir)));
    if (target.isDir())
        failSave(path, QStringLiteral("同じ名前のフォルダーがあります"));
    const QByteArray nativeReal = QFile::encodeName(real);
    struct stat old;
    const bool replacing = ::stat(nativeReal.constData(), &old) == 0;
    if (replacing) {
        if ((old.st_mode & 0222) == 0 || ::access(nativeReal.constData(), W_OK) != 0)
            failSave(path, QStringLiteral("読み取り専用のファイルです"));
        if (detail::heldForWriting(real))
            failSave(path, QStringLiteral("ほかのプログラムが書き込み用に開いています"));
    }

    for (const DrawRecord& row : rows)
        if (row.gameId != game)
            failSave(path, otherGameRow(row, game));

    detail::removeStaleWorkFiles(dir, target.fileName());

    // The new file is built under a name of its own in the same folder, so the
    // final rename replaces the target in one step.
    const detail::WorkFile work(dir, target.fileName(), detail::kSaveWorkSuffix);
    if (work.fd() < 0)
        failSave(path, QStringLiteral("作業ファイルを作れません（%1）").arg(detail::systemCause(work.error())));
    const QString& temp = work.path();

    try {
        Connection conn;
        int rc = sqlite3_open_v2(QFile::encodeName(temp).constData(), &conn.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                                 nullptr);
        if (rc != SQLITE_OK)
            failSave(path, causeOf(conn.db, rc));
        keyNewDatabase(conn.db);

        auto exec = [&](const char* sql) {
            const int r = sqlite3_exec(conn.db, sql, nullptr, nullptr, nullptr);
            if (r != SQLITE_OK)
                failSave(path, causeOf(conn.db, r));
        };
        exec("PRAGMA synchronous = FULL");
        exec(schemaOf(game).constData());
        exec("BEGIN");
        {
            Statement insert;
            rc = sqlite3_prepare_v2(conn.db, insertOf(game).constData(), -1, &insert.stmt, nullptr);
            if (rc != SQLITE_OK)
                failSave(path, causeOf(conn.db, rc));
            for (const DrawRecord& row : rows) {
                sqlite3_reset(insert.stmt);
                sqlite3_bind_int(insert.stmt, 1, row.drawNo);
                bindNumbers(insert.stmt, 2, row);
                rc = sqlite3_step(insert.stmt);
                if ((rc & 0xff) == SQLITE_CONSTRAINT)
                    failSave(path, notStorable(row));
                if (rc != SQLITE_DONE)
                    failSave(path, causeOf(conn.db, rc));
            }
        }
        exec("COMMIT");
        rc = sqlite3_close(conn.db);
        conn.db = nullptr;
        if (rc != SQLITE_OK)
            failSave(path, causeOf(nullptr, rc));

        // Everything the engine wrote must be on the disk before the rename.
        if (::fsync(work.fd()) != 0)
            failSave(path, QStringLiteral("作業ファイルをディスクに書き込めません（%1）").arg(detail::systemCause(errno)));
        // The replaced file's permissions, given only now that the file is written.
        if (replacing && ::fchmod(work.fd(), old.st_mode & 07777) != 0)
            failSave(path, QStringLiteral("作業ファイルの権限を設定できません（%1）").arg(detail::systemCause(errno)));
        // A cut-short write of the old file is not to be played into the new
        // one; a journal without its file is as stale.
        if (replacing) {
            try {
                rollBackInterruptedWrite(real);
            } catch (const HistoryError&) {
                // The old file is replaced all the same; its journal goes below.
            }
        }
        detail::clearStaleJournal(real);
        if (std::rename(QFile::encodeName(temp).constData(), nativeReal.constData()) != 0)
            failSave(path, QStringLiteral("置き換えられません（%1）").arg(detail::systemCause(errno)));
        detail::syncFolder(dir);
    } catch (...) {
        work.remove();
        throw;
    }
}

int completeDrawsLost(const History& stored, const History& replacement)
{
    std::set<int> kept;
    for (const DrawRecord& row : replacement)
        if (row.complete())
            kept.insert(row.drawNo);
    return int(std::count_if(stored.begin(), stored.end(),
                             [&](const DrawRecord& row) { return row.complete() && !kept.count(row.drawNo); }));
}

int completeDrawsLost(const QString& path, const History& replacement)
{
    if (!QFileInfo::exists(path))
        return 0;
    try {
        return completeDrawsLost(loadHistory(path), replacement);
    } catch (const HistoryError&) {
        return 0;
    }
}

namespace detail {

int sixDigitKeyRounds = 0;
int queryWorkBlocks = 20000;

void clearStaleJournal(const QString& path)
{
    ::unlink(QFile::encodeName(journalOf(path)).constData());
}

}  // namespace detail

// --- Row-by-row editing -----------------------------------------------------

namespace {

[[noreturn]] void failWrite(const QString& path, const QString& cause)
{
    throw HistoryError(
        QStringLiteral("履歴ファイル「%1」に書き込めません：%2").arg(displayPath(path), cause).toStdString());
}

QString drawNoTaken(int drawNo) { return QStringLiteral("回数 %1 はすでに履歴にあります").arg(drawNo); }

}  // namespace

struct HistoryEditor::Impl {
    QString path;
    Connection conn;
    GameId game = GameId::Loto6;

    // Runs one statement in a transaction of its own. With notOneRow given, a
    // statement that changes other than exactly one row is rolled back and
    // refused with that cause.
    void run(const QByteArray& sql, const std::function<void(sqlite3_stmt*)>& bind, const DrawRecord* row,
             const QString& notOneRow = {})
    {
        auto exec = [this](const char* text) { return sqlite3_exec(conn.db, text, nullptr, nullptr, nullptr); };
        int rc = exec("BEGIN IMMEDIATE");
        if (rc != SQLITE_OK)
            failWrite(path, causeOf(conn.db, rc));
        {
            Statement stmt;
            rc = sqlite3_prepare_v2(conn.db, sql.constData(), -1, &stmt.stmt, nullptr);
            if (rc == SQLITE_OK) {
                bind(stmt.stmt);
                rc = sqlite3_step(stmt.stmt);
            }
            if (rc != SQLITE_DONE) {
                const QString cause = rc == SQLITE_CONSTRAINT_PRIMARYKEY && row ? drawNoTaken(row->drawNo)
                                    : (rc & 0xff) == SQLITE_CONSTRAINT && row ? notStorable(*row)
                                                                              : causeOf(conn.db, rc);
                exec("ROLLBACK");
                failWrite(path, cause);
            }
            if (!notOneRow.isEmpty() && sqlite3_changes(conn.db) != 1) {
                exec("ROLLBACK");
                failWrite(path, notOneRow);
            }
        }
        rc = exec("COMMIT");
        if (rc != SQLITE_OK) {
            const QString cause = causeOf(conn.db, rc);
            exec("ROLLBACK");
            failWrite(path, cause);
        }
    }
};

HistoryEditor::HistoryEditor(const QString& pathIn) : d(std::make_unique<Impl>())
{
    d->path = QFileInfo(pathIn).absoluteFilePath();
    if (const QString cause = openHistoryDb(d->path, SQLITE_OPEN_READWRITE, d->conn); !cause.isEmpty())
        failOpen(d->path, cause);
    // The engine opens a write-protected file read-only without a word; every
    // edit would then fail.
    if (sqlite3_db_readonly(d->conn.db, "main") == 1)
        failOpen(d->path, causeOf(d->conn.db, SQLITE_READONLY));
    sqlite3_progress_handler(d->conn.db, 0, nullptr, nullptr);  // writes are not capped
    sqlite3_extended_result_codes(d->conn.db, 1);
    sqlite3_busy_timeout(d->conn.db, kEditBusyTimeoutMs);
    const GameRecord record = recordedGame(d->conn.db);
    if (!record.fault.isEmpty())
        failOpen(d->path, record.fault);
    d->game = record.game;
    if (!hasDrawTable(d->conn.db, d->game))
        failOpen(d->path, QStringLiteral("表「当選データ」がないため編集できません"));
    // A file whose fields are another game's is not edited as the recorded one's.
    Statement query;
    std::vector<int> column;
    if (const QString cause = prepareHistoryQuery(d->conn.db, query, d->game, column); !cause.isEmpty())
        failOpen(d->path, cause);
}

HistoryEditor::~HistoryEditor() = default;

const QString& HistoryEditor::path() const { return d->path; }

GameId HistoryEditor::game() const { return d->game; }

History HistoryEditor::rows() const
{
    limitWork(d->conn);
    struct Uncap {
        sqlite3* db;
        ~Uncap() { sqlite3_progress_handler(db, 0, nullptr, nullptr); }
    } uncap{d->conn.db};
    return readRows(d->path, d->conn.db, d->game, nullptr, true);
}

void HistoryEditor::insertRow(const DrawRecord& row)
{
    if (row.gameId != d->game)
        failWrite(d->path, otherGameRow(row, d->game));
    if (!isStorableRow(row))
        failWrite(d->path, notStorable(row));
    d->run(insertOf(d->game), [&](sqlite3_stmt* st) {
        sqlite3_bind_int(st, 1, row.drawNo);
        bindNumbers(st, 2, row);
    }, &row);
}

void HistoryEditor::updateRow(int storedDrawNo, const DrawRecord& row)
{
    if (row.gameId != d->game)
        failWrite(d->path, otherGameRow(row, d->game));
    if (!isStorableRow(row))
        failWrite(d->path, notStorable(row));
    d->run(
        updateOf(d->game),
        [&](sqlite3_stmt* st) {
            sqlite3_bind_int(st, 1, row.drawNo);
            bindNumbers(st, 2, row);
            sqlite3_bind_int(st, 2 + row.numberCount(), storedDrawNo);
        },
        &row, QStringLiteral("回数 %1 の行が履歴にありません").arg(storedDrawNo));
}

void HistoryEditor::deleteRow(int drawNo)
{
    d->run("DELETE FROM 当選データ WHERE 回数 = ?", [&](sqlite3_stmt* st) { sqlite3_bind_int(st, 1, drawNo); },
           nullptr);
}

}  // namespace mirkano
