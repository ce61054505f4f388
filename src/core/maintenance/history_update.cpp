#include "core/maintenance/history_update.h"

#include "core/game/game_files.h"
#include "core/files/file_kind.h"
#include "core/files/file_replace.h"
#include "core/history/history_store.h"
#include "core/files/system_cause.h"

#include <QDir>
#include <QRegularExpression>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

namespace mirkano {

namespace {

QString displayPath(const QString& path) { return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()); }

[[noreturn]] void refuse(const QString& cause)
{
    throw UpdateError(QStringLiteral("ダウンロードした当選データは使えません：%1").arg(cause));
}

// A history of another game than the one wanted.
QString otherGame(GameId theirs, GameId wanted)
{
    return QStringLiteral("%1の当選データで、%2の当選データではありません").arg(game(theirs).name, game(wanted).name);
}

[[noreturn]] void failWrite(const QString& target, const QString& cause)
{
    throw UpdateError(QStringLiteral("当選データファイル「%1」を置き換えられません：%2").arg(displayPath(target), cause));
}


}  // namespace

QString downloadedBodyFault(const QByteArray& body)
{
    if (body.isEmpty())
        return QStringLiteral("データが空です");
    // A web page where data was expected: the usual answer of a server that
    // has no such file but reports success anyway.
    const QByteArray head = body.left(512).trimmed().toLower();
    if (head.startsWith("<!doctype html") || head.startsWith("<html") || head.contains("<head")
        || head.contains("<body"))
        return QStringLiteral("当選データファイルではなく、Web ページが届きました");
    return {};
}

QString ownConfiguredServer(const QString& programDir, GameId game)
{
    const QString fromEnv = qEnvironmentVariable(updateServerVariable(game).constData()).trimmed();
    if (!fromEnv.isEmpty())
        return fromEnv;
    // Only a regular file: a named pipe there would hang the update.
    QFile file;
    if (!openRegularFile(file, QDir(programDir).filePath(updateServerFileName(game))).isEmpty())
        return {};
    QByteArray head = file.read(kServerFileReadLimit + 1);
    if (head.size() > kServerFileReadLimit) {
        // The line running past the limit is cut: it is no address.
        head.truncate(kServerFileReadLimit);
        head.truncate(head.lastIndexOf('\n') + 1);
    }
    for (const QByteArray& raw : head.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (!line.isEmpty() && !line.startsWith(u'#'))
            return line;
    }
    return {};
}

bool namesServer(const QString& address)
{
    const QUrl url(address.trimmed());
    if (!url.isValid() || url.hasQuery() || url.hasFragment())
        return false;
    QString path = url.path();
    while (path.endsWith(u'/'))
        path.chop(1);
    return path.isEmpty();
}

QString configuredServer(const QString& programDir, GameId game)
{
    const QString own = ownConfiguredServer(programDir, game);
    if (!own.isEmpty() || game == GameId::Loto6)
        return own;
    // A server serves each game's history at the game's own path.
    const QString loto6 = ownConfiguredServer(programDir, GameId::Loto6);
    return namesServer(loto6) ? loto6 : QString();
}

QString noServerMessage(GameId game)
{
    return QStringLiteral("%1の当選データの取得先が設定されていません。"
                          "データ管理 → 最新化の設定… で取得先のアドレスを設定してください。")
        .arg(mirkano::game(game).name);
}

QString historyDownloadPath(GameId game)
{
    return QStringLiteral("/download/Mirkano/") + mirkano::game(game).historyFile.toString();
}

QUrl historyUrl(const QString& serverIn, GameId game)
{
    const QString server = serverIn.trimmed();
    if (server.isEmpty())
        throw UpdateError(noServerMessage(game));
    const QString shown = echoed(server);
    const auto refuseServer = [&](const QString& cause) {
        throw UpdateError(QStringLiteral("当選データの取得先サーバー「%1」は使えません：%2。").arg(shown, cause));
    };
    const QString lower = server.toLower();
    if (!lower.startsWith(QLatin1String("http://")) && !lower.startsWith(QLatin1String("https://")))
        throw UpdateError(
            QStringLiteral("当選データの取得先サーバー「%1」は http:// または https:// で始まるアドレスではありません。")
                .arg(shown));
    // What follows the scheme: host and port up to the path, then "?" or "#".
    // A query belongs only to a file's own address (a path longer than "/").
    const qsizetype hostStart = server.indexOf(QLatin1String("://")) + 3;
    const qsizetype extra = server.indexOf(QRegularExpression(QStringLiteral("[?#]")), hostStart);
    const qsizetype pathStart = server.indexOf(u'/', hostStart);
    const bool filePath = pathStart >= 0 && (extra < 0 || pathStart < extra)
                          && server.mid(pathStart, (extra < 0 ? server.size() : extra) - pathStart) != u"/";
    if (extra >= 0 && server[extra] == u'#')
        refuseServer(QStringLiteral("「#」から後は付けられません"));
    if (extra >= 0 && !filePath)
        refuseServer(QStringLiteral("「?」から後（問い合わせ）は、ファイルそのもののアドレスにだけ付けられます"));
    QString authority = server.mid(hostStart, pathStart < 0 ? -1 : pathStart - hostStart);
    authority = authority.mid(authority.lastIndexOf(u'@') + 1);  // without user and password
    // An IPv6 host is written in brackets; an opened one must be closed
    // before any port.
    if (authority.startsWith(u'[') && !authority.contains(u']'))
        refuseServer(QStringLiteral("IPv6 のアドレスを閉じる「]」がありません"));
    const qsizetype bracket = authority.lastIndexOf(u']');
    const qsizetype colon = authority.indexOf(u':', bracket < 0 ? 0 : bracket);
    if (colon >= 0) {
        const QString port = authority.mid(colon + 1);
        bool ok = false;
        const int n = port.toInt(&ok);
        const bool digits = std::all_of(port.begin(), port.end(), [](QChar c) { return c.isDigit() && c.unicode() < 128; });
        if (!digits || !ok || n < 1 || n > 65535)
            refuseServer(QStringLiteral("ポート番号「%1」が 1～65535 の範囲の数ではありません").arg(echoed(port)));
    }
    if ((colon >= 0 ? authority.left(colon) : authority).isEmpty())
        refuseServer(QStringLiteral("ホスト名がありません"));
    QUrl url(server, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        refuseServer(QStringLiteral("アドレスに使えない文字があります"));
    // An address with a path names the file itself; a bare server serves the
    // history at the download path.
    QString path = url.path();
    while (path.endsWith(u'/'))
        path.chop(1);
    if (path.isEmpty())
        url.setPath(historyDownloadPath(game));
    return url;
}

QString missingTargetMessage(const QString& target)
{
    return QStringLiteral("当選データファイル：'") + QDir::toNativeSeparators(target) + QStringLiteral("'が存在しません");
}

void checkDownloadedHistory(const QByteArray& body, std::optional<GameId> game)
{
    if (const QString cause = downloadedBodyFault(body); !cause.isEmpty())
        refuse(cause);
    QTemporaryDir dir;
    if (!dir.isValid())
        throw UpdateError(QStringLiteral("作業フォルダーを作れません：%1").arg(systemCause(errno)));
    const QString path = dir.filePath(QStringLiteral("download.mdb"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(body) != body.size() || !file.flush())
        throw UpdateError(QStringLiteral("作業ファイルに書き込めません：%1").arg(fileErrorCause(file)));
    file.close();
    if (const QString cause = historyFileFault(path); !cause.isEmpty())
        refuse(cause);
    if (const GameId theirs = historyFileGame(path); game && theirs != *game)
        refuse(otherGame(theirs, *game));
}

void replaceHistoryFile(const QString& targetIn, const QByteArray& body, bool allowDrawLoss)
{
    const QString target = QFileInfo(targetIn).absoluteFilePath();
    if (!QFileInfo::exists(target))
        throw UpdateError(missingTargetMessage(target));
    // A link stays a link: the file it points to is the one replaced.
    const QString real = detail::resolveLinks(target);
    const QFileInfo info(real);
    if (info.isDir())
        failWrite(target, QStringLiteral("ファイルではなくフォルダーです"));
    if (const QString cause = downloadedBodyFault(body); !cause.isEmpty())
        refuse(cause);
    if (detail::heldForWriting(real))
        failWrite(target, QStringLiteral("ほかのプログラムが書き込み用に開いています"));

    const QString dir = info.absolutePath();
    detail::removeStaleWorkFiles(dir, info.fileName());

    // The new file is written under a name of its own in the same folder, so
    // that the rename replaces the target in one step.
    const detail::WorkFile work(dir, info.fileName(), detail::kDownloadWorkSuffix);
    if (work.fd() < 0)
        failWrite(target, QStringLiteral("作業ファイルを作れません（%1）").arg(detail::systemCause(work.error())));
    const auto discardAndFail = [&](const QString& cause) {
        work.remove();
        failWrite(target, cause);
    };
    for (qint64 done = 0; done < body.size();) {
        const ssize_t n = ::write(work.fd(), body.constData() + done, std::size_t(body.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            discardAndFail(QStringLiteral("作業ファイルに書き込めません（%1）").arg(detail::systemCause(n < 0 ? errno : EIO)));
        done += n;
    }
    if (::fsync(work.fd()) != 0)
        discardAndFail(QStringLiteral("作業ファイルをディスクに書き込めません（%1）").arg(detail::systemCause(errno)));
    struct stat old;
    if (::stat(QFile::encodeName(real).constData(), &old) == 0 && ::fchmod(work.fd(), old.st_mode & 07777) != 0)
        discardAndFail(QStringLiteral("作業ファイルの権限を設定できません（%1）").arg(detail::systemCause(errno)));

    // The check reads the very bytes that will be renamed into place.
    if (const QString cause = historyFileFault(work.path()); !cause.isEmpty()) {
        work.remove();
        refuse(cause);
    }
    // The history stays of its game; a target that cannot be read any more
    // is replaced by any sound history.
    std::optional<GameId> wanted;
    try {
        wanted = historyFileGame(real);
    } catch (const HistoryError&) {
    }
    if (wanted) {
        GameId theirs = *wanted;
        try {
            theirs = historyFileGame(work.path());
        } catch (const HistoryError& e) {
            work.remove();
            refuse(e.message());
        }
        if (theirs != *wanted) {
            work.remove();
            refuse(otherGame(theirs, *wanted));
        }
    }
    if (!allowDrawLoss) {
        int lost = 0;
        try {
            lost = completeDrawsLost(real, loadHistory(work.path()));
        } catch (const HistoryError& e) {
            work.remove();
            refuse(e.message());
        }
        if (lost > 0) {
            work.remove();
            throw DrawLossError(
                QStringLiteral("当選データファイル「%1」をダウンロードした当選データで置き換えると、"
                               "保存されている完全な当選データのうち %2回分が失われます"
                               "（ダウンロードした当選データにないか、数字が欠けています）。")
                    .arg(displayPath(target))
                    .arg(lost),
                lost);
        }
    }
    // A cut-short write of the old file is not to be played into the new one.
    try {
        rollBackInterruptedWrite(real);
    } catch (const HistoryError&) {
        // The old file is replaced all the same; its journal goes below.
    }
    detail::clearStaleJournal(real);
    if (std::rename(QFile::encodeName(work.path()).constData(), QFile::encodeName(real).constData()) != 0)
        discardAndFail(detail::systemCause(errno));
    detail::syncFolder(dir);
}

}  // namespace mirkano
