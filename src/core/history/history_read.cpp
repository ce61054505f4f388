// Reading a history file: its rows through the history query, with what
// breaks the game's rules named for the analyses, read without locks when no
// writer is at work; and the check whether a file can serve as the history.
#include "core/history/history_db.h"

#include "core/history/draw_rule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <set>
#include <span>

#include <sys/stat.h>

namespace mirkano {

const char* const kHistoryQuery = "select * from 全データ選択クエリ order by 回数";

using namespace historydb;

namespace {

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

// A history file's game and rows.
struct StoredHistory {
    GameId game = GameId::Loto6;
    History rows;
    QStringList leftOut;  // draws that break the game's rules (readRows)
    PrizeTable prizes;    // the table 賞金データ
};

// A number field that breaks the game's rules, for a notice: its text as stored.
QString storedText(sqlite3_stmt* stmt, int col)
{
    const unsigned char* text = sqlite3_column_text(stmt, col);
    return text ? QString::fromUtf8(reinterpret_cast<const char*>(text)).left(16) : QString();
}

}  // namespace

// Prepares the history query and finds each field of the game's by name,
// whatever order the query gives them in; the cause when it cannot.
QString historydb::prepareHistoryQuery(sqlite3* db, Statement& query, GameId game, std::vector<int>& column)
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

// Reads every row of an open history of the game, in ascending 回数. A row
// without a 回数 of 1 … 32767 is left out and a number that is no number of
// the game reads as empty (the draw is then incomplete). With leftOut, for
// the analyses, what breaks the game's rules is named there, one line a
// draw, and a draw repeating a number or a second row of one 回数 is left
// out too, so that no count holds it; without, such rows are read as stored,
// so that a merge or an update writes them back as they were. The entry
// window (keepStored) sees a whole number outside the pool as it is stored,
// so that it is marked there and not written over unseen.
History historydb::readRows(const QString& path, sqlite3* db, GameId game, QStringList* leftOut, bool keepStored)
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
    StoredHistory stored;
    stored.game = record.game;
    if (gameOnly)
        return stored;
    stored.rows = readRows(path, conn.db, record.game, checked ? &stored.leftOut : nullptr);
    stored.prizes = readPrizeRows(path, conn.db, record.game);
    return stored;
}

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
    return {stored.game, std::move(stored.rows), std::move(stored.leftOut), std::move(stored.prizes)};
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

PrizeTable loadPrizes(const QString& path) { return loadStored(path, false).prizes; }

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

}  // namespace mirkano
