// Writing a whole history file: built under a work name beside the target,
// checked at every step, and renamed over it only once complete, so the old
// file is replaced whole or not at all.
#include "core/history/history_db.h"

#include "core/files/file_replace.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <set>

#include <sys/stat.h>
#include <unistd.h>

namespace mirkano {

using namespace historydb;

void saveHistory(const QString& path, const History& rows)
{
    saveHistory(path, rows, rows.empty() ? GameId::Loto6 : rows.front().gameId);
}

void saveHistory(const QString& path, const History& rows, GameId game)
{
    // The prize data the file holds now go into the new file, when it is of
    // the same game; a file that cannot be read has none to keep.
    PrizeTable kept;
    try {
        if (QFileInfo::exists(path))
            if (HistoryReading file = readHistoryFile(path, std::nullopt); file.game == game)
                kept = std::move(file.prizes);
    } catch (const HistoryError&) {
    }
    saveHistory(path, rows, game, kept);
}

void saveHistory(const QString& pathIn, const History& rows, GameId game, const PrizeTable& prizes)
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
        if (!prizes.empty()) {
            exec(prizeSchemaOf(game).constData());
            Statement insert;
            rc = sqlite3_prepare_v2(conn.db, prizeInsertOf(game).constData(), -1, &insert.stmt, nullptr);
            if (rc != SQLITE_OK)
                failSave(path, causeOf(conn.db, rc));
            for (const DrawPrizes& p : prizes) {
                if (p.empty())
                    continue;
                sqlite3_reset(insert.stmt);
                bindPrizes(insert.stmt, p, game);
                rc = sqlite3_step(insert.stmt);
                if ((rc & 0xff) == SQLITE_CONSTRAINT)
                    failSave(path, QStringLiteral("第%1回の賞金データは履歴に入れられません（回数は1～32767で重複なし、金額と口数は0以上の整数）")
                                       .arg(p.drawNo));
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

}  // namespace mirkano
