// The tables of a game's history file and the statements that write its rows.
#include "core/history/history_db.h"

#include "core/history/draw_rule.h"

#include <QStringList>

#include <span>

namespace mirkano::historydb {

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

// Whether the table that the entry window writes to is there with every field.
bool hasDrawTable(sqlite3* db, GameId game)
{
    Statement probe;
    return sqlite3_prepare_v2(db, selectTableOf(game).constData(), -1, &probe.stmt, nullptr) == SQLITE_OK;
}

}  // namespace mirkano::historydb
