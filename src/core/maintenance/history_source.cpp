#include "core/maintenance/history_source.h"

#include "core/maintenance/history_update.h"
#include "core/history/file_kind.h"
#include "core/history/history_csv.h"
#include "core/history/history_store.h"

#include <QFile>
#include <QTemporaryDir>

namespace mirkano {

namespace {

[[noreturn]] void refuse(const QString& source, const QString& cause)
{
    throw UpdateError(QStringLiteral("「%1」の当選データは使えません：%2").arg(source, cause));
}

}  // namespace

SourceHistory readSourceHistory(const QByteArray& body, const QString& sourceName, std::optional<GameId> game)
{
    if (const QString cause = downloadedBodyFault(body); !cause.isEmpty())
        refuse(sourceName, cause);
    if (!looksLikeDatabase(body, body.size()))
        return {SourceKind::Csv, parseHistoryCsv(body, sourceName, game)};

    // A history file is read from a copy in a folder of its own.
    QTemporaryDir dir;
    if (!dir.isValid())
        throw UpdateError(QStringLiteral("作業フォルダーを作れません：%1").arg(dir.errorString()));
    const QString path = dir.filePath(kHistoryFileName);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(body) != body.size() || !file.flush())
        throw UpdateError(QStringLiteral("作業ファイルに書き込めません：%1").arg(file.errorString()));
    file.close();
    if (const QString cause = historyFileFault(path); !cause.isEmpty())
        refuse(sourceName, cause);
    if (const GameId theirs = historyFileGame(path); game && theirs != *game)
        refuse(sourceName, QStringLiteral("%1の当選データで、%2の当選データではありません")
                               .arg(mirkano::game(theirs).name, mirkano::game(*game).name));
    return {SourceKind::HistoryFile, loadHistory(path)};
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
                                 const QString& source)
{
    const GameId game = historyFileGame(target);
    if (const QString fault = otherGameFault(theirs, game, source); !fault.isEmpty())
        throw HistoryError(fault);
    MergeResult result = mergeHistories(loadHistory(target, game), theirs, preference);
    if (!result.refused && result.changes(preference))
        saveHistory(target, result.rows, game);
    return result;
}

}  // namespace mirkano
