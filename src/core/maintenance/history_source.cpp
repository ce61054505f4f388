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

SourceHistory readSourceHistory(const QByteArray& body, const QString& sourceName)
{
    if (const QString cause = downloadedBodyFault(body); !cause.isEmpty())
        refuse(sourceName, cause);
    if (!looksLikeDatabase(body, body.size()))
        return {SourceKind::Csv, parseHistoryCsv(body, sourceName)};

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
    return {SourceKind::HistoryFile, loadHistory(path)};
}

MergeResult mergeIntoHistoryFile(const QString& target, const History& theirs, MergePreference preference)
{
    MergeResult result = mergeHistories(loadHistory(target), theirs, preference);
    if (!result.refused && result.changes(preference))
        saveHistory(target, result.rows);
    return result;
}

}  // namespace mirkano
