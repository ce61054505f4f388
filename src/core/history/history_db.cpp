// Opening a history file: the checks before the database engine sees it, the
// two keys, the cap on the work of a query, the game record, and the causes of
// database errors in words.
#include "core/history/history_db.h"

#include "core/files/file_kind.h"
#include "core/files/system_cause.h"
#include "core/history/draw_rule.h"
#include "core/history/history_key.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <cerrno>
#include <cmath>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace mirkano {

namespace {

constexpr int kBusyTimeoutMs = 150;
// Smallest page a database file can have: anything shorter is not a history.
constexpr qint64 kMinHistoryBytes = 512;
// The work the history query may take is counted in blocks of this many steps
// of the database engine (detail::queryWorkBlocks).
constexpr int kProgressBlock = 1000;
constexpr char kPlainSqliteHeader[] = "SQLite format 3";  // 16 bytes with its terminating zero

}  // namespace

namespace historydb {

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
QString openHistoryDb(const QString& path, int flags, Connection& conn, bool unlocked)
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

}  // namespace historydb

namespace detail {

int sixDigitKeyRounds = 0;
int queryWorkBlocks = 20000;

}  // namespace detail

}  // namespace mirkano
