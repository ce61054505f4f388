#include "core/maintenance/history_source.h"

#include "core/maintenance/history_update.h"
#include "core/files/file_kind.h"
#include "core/files/file_replace.h"
#include "core/history/history_csv.h"
#include "core/history/history_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>

#include <unistd.h>

namespace mirkano {

namespace {

[[noreturn]] void refuse(const QString& source, const QString& cause)
{
    throw UpdateError(QStringLiteral("「%1」の当選データは使えません：%2").arg(source, cause));
}

}  // namespace

namespace {

// Reads the copy at path of a history file's bytes (the database engine reads
// files only) as history of the game.
SourceHistory readHistoryCopy(const QString& path, const QString& sourceName,
                              std::optional<GameId> game)
{
    if (const QString cause = historyFileFault(path); !cause.isEmpty())
        refuse(sourceName, cause);
    if (const GameId theirs = historyFileGame(path); game && theirs != *game)
        refuse(sourceName, QStringLiteral("%1の当選データで、%2の当選データではありません")
                               .arg(mirkano::game(theirs).name, mirkano::game(*game).name));
    History rows = loadHistory(path);
    return {SourceKind::HistoryFile, std::move(rows), loadPrizes(path), {}};
}

}  // namespace

SourceHistory readSourceHistory(const QByteArray& body, const QString& sourceName, std::optional<GameId> game,
                                const QString& besideHistory)
{
    if (const QString cause = downloadedBodyFault(body); !cause.isEmpty())
        refuse(sourceName, cause);
    if (!looksLikeDatabase(body, body.size())) {
        CsvHistory csv = parseGameHistoryCsv(body, sourceName, game);
        return {SourceKind::Csv, std::move(csv.rows), std::move(csv.prizes), std::move(csv.warnings)};
    }

    if (besideHistory.isEmpty()) {
        // No history to keep it beside: a folder of its own.
        QTemporaryDir dir;
        if (!dir.isValid())
            throw UpdateError(QStringLiteral("作業フォルダーを作れません：%1").arg(dir.errorString()));
        const QString path = dir.filePath(kHistoryFileName);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(body) != body.size() || !file.flush())
            throw UpdateError(QStringLiteral("作業ファイルに書き込めません：%1").arg(file.errorString()));
        file.close();
        return readHistoryCopy(path, sourceName, game);
    }

    // The copy is a download work file beside the history: locked while this
    // process reads it, and removed by the next update if the process is
    // killed meanwhile, like the other work files there.
    const QFileInfo target(detail::resolveLinks(QFileInfo(besideHistory).absoluteFilePath()));
    const detail::WorkFile work(target.absolutePath(), target.fileName(), detail::kDownloadWorkSuffix);
    if (work.fd() < 0)
        throw UpdateError(QStringLiteral("作業ファイルをフォルダー「%1」に作れません（%2）")
                              .arg(QDir::toNativeSeparators(target.absolutePath()), detail::systemCause(work.error())));
    struct Discard {
        const detail::WorkFile& work;
        ~Discard() { work.remove(); }
    } discard{work};
    for (qint64 done = 0; done < body.size();) {
        const ssize_t n = ::write(work.fd(), body.constData() + done, std::size_t(body.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw UpdateError(QStringLiteral("作業ファイル「%1」に書き込めません（%2）")
                                  .arg(QDir::toNativeSeparators(work.path()), detail::systemCause(n < 0 ? errno : EIO)));
        done += n;
    }
    return readHistoryCopy(work.path(), sourceName, game);
}

QString otherGameFault(const History& theirs, GameId game, const QString& source)
{
    if (theirs.empty() || theirs.front().gameId == game)
        return {};
    const QString what = source.isEmpty() ? QStringLiteral("取り込む当選データ") : QStringLiteral("「%1」").arg(source);
    return QStringLiteral("%1は%2の当選データです。%3の履歴には取り込めません")
        .arg(what, theirs.front().facts().name, mirkano::game(game).name);
}

MergeResult mergeIntoHistoryFile(const QString& target, const History& theirs, MergePreference preference,
                                 const QString& source, const PrizeTable& theirPrizes)
{
    const GameId game = historyFileGame(target);
    if (const QString fault = otherGameFault(theirs, game, source); !fault.isEmpty())
        throw HistoryError(fault);
    // The stored draws and prize data in one opening of the file.
    const HistoryReading mine = readHistoryFile(target, game);
    MergeResult result = mergeHistories(mine.rows, mine.prizes, theirs, theirPrizes, preference, game);
    if (!result.refused && result.changes(preference))
        saveHistory(target, result.rows, game, result.prizes);
    return result;
}

}  // namespace mirkano
