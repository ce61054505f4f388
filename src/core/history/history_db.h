#pragma once
// The pieces the parts of the history store share (opening, schema, reading,
// writing, journals, row-by-row editing): the database handles, the causes of
// database errors in words, the tables of a game's history file and the row
// statements. Internal to the core library.

#include "core/history/history_store.h"

#define SQLITE_HAS_CODEC 1
#include <sqlite3.h>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace mirkano::historydb {

// A write waits a little longer than a read for a reader to finish.
inline constexpr int kEditBusyTimeoutMs = 2000;

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

// --- Opening (history_db.cpp) ---
QString displayPath(const QString& path);
[[noreturn]] void failOpen(const QString& path, const QString& cause);
[[noreturn]] void failSave(const QString& path, const QString& cause);
// The cause of a database error in words the user can act on.
QString causeOf(sqlite3* db, int rc);
// A whole number held in a field, whatever its storage class; nullopt when the
// field holds anything else (fractions, words, blobs).
std::optional<long long> wholeNumber(sqlite3_stmt* stmt, int col);
// A number field as the history holds it: the number 1 … the game's pool, or
// 0 for an empty field and for anything that is not a number of the game.
int numberField(sqlite3_stmt* stmt, int col, GameId game);
// Keys a new, empty file with the raw key: every file this program writes is
// keyed with it.
void keyNewDatabase(sqlite3* db);
// Caps the work of what the connection runs from here on, so that a view that
// never ends is stopped (its statement fails with SQLITE_INTERRUPT).
void limitWork(Connection& conn);
// Opens a history file and checks the password, the lock and the view; the
// cause in words when it cannot, empty when it is open.
QString openHistoryDb(const QString& path, int flags, Connection& conn, bool unlocked = false);
// The game the open file records in its table ゲーム: Loto 6 without the
// table or without a row in it; the cause in words when the record cannot be
// read or names no game of this program.
struct GameRecord {
    GameId game = GameId::Loto6;
    QString fault;
};
GameRecord recordedGame(sqlite3* db);

// --- The tables and row statements (history_schema.cpp) ---
// "回数, 第1数字, …, ボーナス数字".
QByteArray fieldList(GameId game);
// The tables and the view of a new history file of the game.
QByteArray schemaOf(GameId game);
QByteArray selectTableOf(GameId game);
QByteArray insertOf(GameId game);
QByteArray updateOf(GameId game);
// Whether the table that the entry window writes to is there with every field.
bool hasDrawTable(sqlite3* db, GameId game);
// Why a row breaks the row rule, for the user.
QString notStorable(const DrawRecord& row);
// A row of another game than the history's.
QString otherGameRow(const DrawRecord& row, GameId history);
// The fields of a draw that hold the same number: "第2数字と第5数字が 12".
QString repeatedNumbers(const DrawRecord& row);
// Binds a row's numbers from parameter first on, an empty number as NULL.
void bindNumbers(sqlite3_stmt* stmt, int first, const DrawRecord& row);

// --- Reading (history_read.cpp) ---
// Prepares the history query and finds each field of the game's by name; the
// cause when it cannot.
QString prepareHistoryQuery(sqlite3* db, Statement& query, GameId game, std::vector<int>& column);
// Every row of an open history of the game, in ascending 回数 (see the
// definition for leftOut and keepStored).
History readRows(const QString& path, sqlite3* db, GameId game, QStringList* leftOut = nullptr,
                 bool keepStored = false);

// --- The prize table (history_prizes.cpp) ---
// The table 賞金データ of a game's history file.
QByteArray prizeSchemaOf(GameId game);
QByteArray prizeInsertOf(GameId game);
bool hasPrizeTable(sqlite3* db);
// Binds 回数 as parameter 1 and the prize fields from 2 on, unknown as NULL.
void bindPrizes(sqlite3_stmt* stmt, const DrawPrizes& p, GameId game);
// The prize data of an open history of the game (empty without the table), in
// ascending 回数; a row without a 回数 of 1 … 32767 is left out.
PrizeTable readPrizeRows(const QString& path, sqlite3* db, GameId game);

// --- Journals (history_journal.cpp) ---
QString journalOf(const QString& path);

}  // namespace mirkano::historydb
