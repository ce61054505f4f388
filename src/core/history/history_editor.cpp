// The history file opened for editing row by row: each change one
// transaction of its own, refused whole when it cannot be made.
#include "core/history/history_db.h"

#include "core/history/draw_rule.h"

#include <QFileInfo>

#include <functional>

namespace mirkano {

using namespace historydb;

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

    using Binder = std::function<void(sqlite3_stmt*)>;
    struct Step {
        QByteArray sql;
        Binder bind;
    };

    // Runs one statement in a transaction of its own, and after it the steps
    // in `also` (the prize data that go with a row). With notOneRow given, a
    // statement that changes other than exactly one row is rolled back and
    // refused with that cause.
    void run(const QByteArray& sql, const Binder& bind, const DrawRecord* row, const QString& notOneRow = {},
             const std::vector<Step>& also = {})
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
        for (const Step& step : also) {
            Statement stmt;
            rc = sqlite3_prepare_v2(conn.db, step.sql.constData(), -1, &stmt.stmt, nullptr);
            if (rc == SQLITE_OK) {
                step.bind(stmt.stmt);
                rc = sqlite3_step(stmt.stmt);
            }
            if (rc != SQLITE_DONE) {
                const QString cause = (rc & 0xff) == SQLITE_CONSTRAINT
                                          ? QStringLiteral("賞金データは、金額と口数が0以上の整数でなければなりません")
                                          : causeOf(conn.db, rc);
                exec("ROLLBACK");
                failWrite(path, cause);
            }
        }
        rc = exec("COMMIT");
        if (rc != SQLITE_OK) {
            const QString cause = causeOf(conn.db, rc);
            exec("ROLLBACK");
            failWrite(path, cause);
        }
    }

    // The steps that carry a draw's prize data to its new 回数 (none when it
    // keeps its 回数 or the file has no prize table). Prize data of the new
    // 回数 belong to no draw (the row update refuses a 回数 in use) and go.
    std::vector<Step> movePrizes(int from, int to)
    {
        if (from == to || !hasPrizeTable(conn.db))
            return {};
        return {{"DELETE FROM 賞金データ WHERE 回数 = ?", [to](sqlite3_stmt* st) { sqlite3_bind_int(st, 1, to); }},
                {"UPDATE 賞金データ SET 回数 = ? WHERE 回数 = ?", [from, to](sqlite3_stmt* st) {
                     sqlite3_bind_int(st, 1, to);
                     sqlite3_bind_int(st, 2, from);
                 }}};
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
        &row, QStringLiteral("回数 %1 の行が履歴にありません").arg(storedDrawNo), d->movePrizes(storedDrawNo, row.drawNo));
}

void HistoryEditor::deleteRow(int drawNo)
{
    std::vector<Impl::Step> also;
    if (hasPrizeTable(d->conn.db))
        also.push_back({"DELETE FROM 賞金データ WHERE 回数 = ?", [drawNo](sqlite3_stmt* st) { sqlite3_bind_int(st, 1, drawNo); }});
    d->run("DELETE FROM 当選データ WHERE 回数 = ?", [&](sqlite3_stmt* st) { sqlite3_bind_int(st, 1, drawNo); },
           nullptr, {}, also);
}

PrizeTable HistoryEditor::prizes() const { return readPrizeRows(d->path, d->conn.db, d->game); }

void HistoryEditor::setPrizes(const DrawPrizes& p)
{
    if (p.drawNo < 1 || p.drawNo > kMaxDrawNo)
        failWrite(d->path, QStringLiteral("回数 %1 は 1～%2 ではありません").arg(p.drawNo).arg(kMaxDrawNo));
    const GameId game = d->game;
    std::vector<Impl::Step> also;
    if (!p.empty())
        also.push_back({prizeInsertOf(game), [&p, game](sqlite3_stmt* st) { bindPrizes(st, p, game); }});
    // A file without the table gets it with its first prize data.
    const bool table = hasPrizeTable(d->conn.db);
    if (!table && p.empty())
        return;
    const QByteArray first = table ? QByteArray("DELETE FROM 賞金データ WHERE 回数 = ?") : prizeSchemaOf(game);
    d->run(first, [&](sqlite3_stmt* st) { if (table) sqlite3_bind_int(st, 1, p.drawNo); }, nullptr, {}, also);
}

}  // namespace mirkano
