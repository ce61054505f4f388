// The prize data in the history file: a table 賞金データ of its own, one row a
// draw (回数, then the game's prize fields in the order of prizeFieldNames),
// so that a file without it reads and writes exactly as before. A field that
// is empty, negative or not a whole number reads as unknown.
#include "core/history/history_db.h"

#include <QStringList>

#include <algorithm>

namespace mirkano {

using namespace historydb;

namespace {

QByteArray quoted(const QString& name) { return '"' + name.toUtf8() + '"'; }

}  // namespace

QByteArray historydb::prizeSchemaOf(GameId game)
{
    QByteArray sql = "CREATE TABLE 賞金データ (\n"
                     "  回数 INTEGER PRIMARY KEY CHECK (typeof(回数) = 'integer' AND 回数 BETWEEN 1 AND 32767)";
    for (const QString& name : prizeFieldNames(game)) {
        const QByteArray n = quoted(name);
        sql += ",\n  " + n + " INTEGER CHECK (" + n + " IS NULL OR (typeof(" + n + ") = 'integer' AND " + n
               + " >= 0))";
    }
    return sql + "\n)";
}

QByteArray historydb::prizeInsertOf(GameId game)
{
    QByteArray fields = "回数";
    QByteArray marks = "?";
    for (const QString& name : prizeFieldNames(game)) {
        fields += ", " + quoted(name);
        marks += ", ?";
    }
    return "INSERT INTO 賞金データ (" + fields + ") VALUES (" + marks + ")";
}

bool historydb::hasPrizeTable(sqlite3* db)
{
    Statement probe;
    return sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = '賞金データ'", -1,
                              &probe.stmt, nullptr)
               == SQLITE_OK
           && sqlite3_step(probe.stmt) == SQLITE_ROW && sqlite3_column_int(probe.stmt, 0) > 0;
}

void historydb::bindPrizes(sqlite3_stmt* stmt, const DrawPrizes& p, GameId game)
{
    sqlite3_bind_int(stmt, 1, p.drawNo);
    int i = 2;
    for (const std::optional<Yen>& field : prizeFields(p, game)) {
        if (field)
            sqlite3_bind_int64(stmt, i, *field);
        else
            sqlite3_bind_null(stmt, i);
        ++i;
    }
}

PrizeTable historydb::readPrizeRows(const QString& path, sqlite3* db, GameId game)
{
    if (!hasPrizeTable(db))
        return {};
    Statement query;
    int rc = sqlite3_prepare_v2(db, "SELECT * FROM 賞金データ ORDER BY 回数", -1, &query.stmt, nullptr);
    if (rc != SQLITE_OK)
        failOpen(path, causeOf(db, rc));
    // Fields by name, whatever order the table gives them in; one the table
    // lacks reads as unknown.
    const std::vector<QString> names = prizeFieldNames(game);
    int drawColumn = -1;
    std::vector<int> column(names.size(), -1);
    for (int c = 0; c < sqlite3_column_count(query.stmt); ++c) {
        const QString name = QString::fromUtf8(sqlite3_column_name(query.stmt, c));
        if (name == QStringLiteral("回数"))
            drawColumn = c;
        for (std::size_t f = 0; f < names.size(); ++f)
            if (column[f] < 0 && names[f] == name)
                column[f] = int(c);
    }
    if (drawColumn < 0)
        return {};
    PrizeTable prizes;
    std::vector<std::optional<Yen>> fields(names.size());
    int rowsRead = 0;
    while ((rc = sqlite3_step(query.stmt)) == SQLITE_ROW) {
        if (++rowsRead > kMaxDrawNo)
            break;
        const std::optional<long long> drawNo = wholeNumber(query.stmt, drawColumn);
        if (!drawNo || *drawNo < 1 || *drawNo > kMaxDrawNo)
            continue;
        for (std::size_t f = 0; f < names.size(); ++f) {
            fields[f].reset();
            if (column[f] >= 0 && sqlite3_column_type(query.stmt, column[f]) != SQLITE_NULL)
                if (const std::optional<long long> v = wholeNumber(query.stmt, column[f]); v && *v >= 0)
                    fields[f] = *v;
        }
        DrawPrizes p = prizesFromFields(int(*drawNo), fields, game);
        if (!p.empty() && (prizes.empty() || prizes.back().drawNo < p.drawNo))
            prizes.push_back(std::move(p));
    }
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        failOpen(path, causeOf(db, rc));
    return prizes;
}

}  // namespace mirkano
