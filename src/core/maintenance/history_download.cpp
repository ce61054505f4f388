#include "core/maintenance/history_download.h"

#include "core/maintenance/history_source.h"
#include "core/maintenance/history_update.h"
#include "core/files/file_replace.h"
#include "core/history/history_store.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>


namespace mirkano {

namespace {

// Bytes received ahead of being counted, at most.
constexpr qint64 kReadBufferBytes = 1 << 20;

// A time limit in whole seconds, rounded up.
int seconds(int ms) { return (ms + 999) / 1000; }

QString tooLarge(qint64 maxBytes) { return QStringLiteral("データが大きすぎます（%1 バイトを超えています）").arg(maxBytes); }

// An address as a message shows it.
QString shownUrl(const QUrl& url) { return echoed(url.toDisplayString(), 200); }

// Why a transfer failed below HTTP (connection, name lookup, encryption,
// proxy), in words the user can act on; Qt's own texts are English.
QString networkCause(QNetworkReply::NetworkError error, const QUrl& url)
{
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("サーバーが接続を拒否しました（サーバーが動いていないか、ポート番号が違います）");
    case QNetworkReply::RemoteHostClosedError:
        return QStringLiteral("サーバーが途中で接続を切りました");
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("サーバー「%1」が見つかりません（アドレスを確かめてください）").arg(echoed(url.host()));
    case QNetworkReply::TimeoutError:
        return QStringLiteral("サーバーへの接続が時間切れになりました");
    case QNetworkReply::OperationCanceledError:
        return QStringLiteral("接続が中止されました");
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("暗号化した接続（https）を確立できません（サーバーの証明書を確かめてください）");
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::BackgroundRequestNotAllowedError:
        return QStringLiteral("ネットワークに接続されていません");
    case QNetworkReply::TooManyRedirectsError:
        return QStringLiteral("サーバーの転送（リダイレクト）が %1 回を超えたため中止しました").arg(kMaxRedirects);
    case QNetworkReply::InsecureRedirectError:
        return QStringLiteral("https から http への転送（リダイレクト）は安全でないため中止しました");
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
        return QStringLiteral("プロキシサーバーを通して接続できません");
    case QNetworkReply::ProtocolUnknownError:
        return QStringLiteral("「%1」は http:// または https:// のアドレスではありません").arg(shownUrl(url));
    case QNetworkReply::ProtocolInvalidOperationError:
    case QNetworkReply::ProtocolFailure:
        return QStringLiteral("サーバーの応答が正しい HTTP ではありません");
    case QNetworkReply::ContentAccessDenied:
    case QNetworkReply::AuthenticationRequiredError:
        return QStringLiteral("サーバーが読み取りを許可しませんでした");
    case QNetworkReply::ContentNotFoundError:
        return QStringLiteral("サーバーに当選データがありません");
    case QNetworkReply::UnknownContentError:
        // With a successful answer, only the unpacking of a compressed body
        // fails this way: a corrupt one, or one that would unpack to far more
        // than it is (a "bomb").
        return QStringLiteral("サーバーが圧縮して送ったデータを展開できません（壊れているか、展開すると大きくなりすぎます）");
    default:
        return QStringLiteral("通信エラーです（番号 %1）").arg(int(error));
    }
}

bool isHttp(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

// Errors of the connection itself, as opposed to an HTTP answer.
bool isTransportError(QNetworkReply::NetworkError error)
{
    return (error > QNetworkReply::NoError && error < QNetworkReply::ContentAccessDenied)
        || error == QNetworkReply::ProtocolUnknownError;
}

}  // namespace

void removeStaleDownloads(const QString& target)
{
    // The same leftovers a save clears: work files of this target, unlocked
    // and last changed before this process started.
    const QFileInfo info(detail::resolveLinks(QFileInfo(target).absoluteFilePath()));
    detail::removeStaleWorkFiles(info.absolutePath(), info.fileName());
}

HistoryDownload::HistoryDownload(QUrl url, DownloadLimits limits, QObject* parent)
    : QObject(parent), m_url(std::move(url)), m_limits(limits), m_manager(new QNetworkAccessManager(this))
{
    m_idle.setSingleShot(true);
    m_total.setSingleShot(true);
    connect(&m_idle, &QTimer::timeout, this, [this] {
        abortWith(QStringLiteral("%1 秒間、サーバーから応答がありません").arg(seconds(m_limits.idleTimeoutMs)));
    });
    connect(&m_total, &QTimer::timeout, this, [this] {
        abortWith(QStringLiteral("%1 秒たっても終わらないため中止しました").arg(seconds(m_limits.totalTimeoutMs)));
    });
}

HistoryDownload::~HistoryDownload()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

void HistoryDownload::start()
{
    QNetworkRequest request(m_url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    m_reply = m_manager->get(request);
    // The transfer waits while this much is received and not yet taken, so
    // that a body sent faster than it is counted never piles up in memory
    // beyond the cap: every byte is counted as it is taken (onReadyRead).
    m_reply->setReadBufferSize(kReadBufferBytes);
    connect(m_reply, &QNetworkReply::redirected, this, [this](const QUrl& to) { m_redirectedTo = to; });
    connect(m_reply, &QNetworkReply::readyRead, this, &HistoryDownload::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &HistoryDownload::onFinished);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, [this] {
        // A body announced larger than the cap is not worth starting.
        const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > m_limits.maxBytes)
            abortWith(tooLarge(m_limits.maxBytes));
    });
    m_idle.start(m_limits.idleTimeoutMs);
    m_total.start(m_limits.totalTimeoutMs);
}

void HistoryDownload::cancel()
{
    if (m_finished || !m_reply)
        return;
    m_cancelled = true;
    m_reply->abort();
}

void HistoryDownload::onReadyRead()
{
    if (!m_abortCause.isEmpty() || m_cancelled)
        return;
    m_idle.start(m_limits.idleTimeoutMs);
    // One byte past the cap is enough to know it is passed.
    m_outcome.body += m_reply->read(m_limits.maxBytes + 1 - m_outcome.body.size());
    if (m_outcome.body.size() > m_limits.maxBytes) {
        abortWith(tooLarge(m_limits.maxBytes));
        return;
    }
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    emit progress(m_outcome.body.size(), length.isValid() ? length.toLongLong() : -1);
}

void HistoryDownload::abortWith(const QString& cause)
{
    m_abortCause = cause;
    m_outcome.body = QByteArray();
    if (m_reply)
        m_reply->abort();
}

void HistoryDownload::fail(const QString& cause)
{
    m_outcome.body.clear();
    m_outcome.error = QStringLiteral("当選データをダウンロードできません：%1（%2）").arg(cause, shownUrl(m_url));
}

void HistoryDownload::onFinished()
{
    if (m_finished)
        return;
    m_finished = true;
    m_idle.stop();
    m_total.stop();
    if (m_reply && m_reply->bytesAvailable() > 0 && m_abortCause.isEmpty() && !m_cancelled)
        onReadyRead();

    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QNetworkReply::NetworkError error = m_reply->error();
    if (m_cancelled) {
        m_outcome.body.clear();
        m_outcome.cancelled = true;
    } else if (!m_abortCause.isEmpty()) {
        fail(m_abortCause);
    } else if (error == QNetworkReply::TooManyRedirectsError || error == QNetworkReply::InsecureRedirectError) {
        fail(networkCause(error, m_url));
    } else if (error == QNetworkReply::ProtocolUnknownError && isHttp(m_redirectedTo.isValid() ? m_redirectedTo : m_url)) {
        // An http(s) address answered with a redirect that cannot be
        // followed: the fault is that answer's, not the address the user set.
        const QUrl& from = m_redirectedTo.isValid() ? m_redirectedTo : m_url;
        const QByteArray location = m_reply->rawHeader("Location").trimmed();
        if (!location.isEmpty())
            fail(QStringLiteral("「%1」からの転送先「%2」は http:// または https:// のアドレスではありません")
                     .arg(shownUrl(from), echoed(QString::fromLatin1(location), 200)));
        else if (status >= 300 && status < 400)
            fail(QStringLiteral("「%1」が転送（HTTP %2）を返しましたが、転送先（Location）がありません")
                     .arg(shownUrl(from))
                     .arg(status));
        else
            fail(QStringLiteral("「%1」からの転送（リダイレクト）は、転送先がないか、http:// または https:// のアドレスではありません")
                     .arg(shownUrl(from)));
    } else if (isTransportError(error)) {
        // After a redirect the status still names the redirect; the failure
        // is the target's.
        const QUrl& where = m_redirectedTo.isValid() ? m_redirectedTo : m_url;
        fail(m_redirectedTo.isValid()
                 ? QStringLiteral("転送先「%1」に接続できません：%2").arg(shownUrl(where), networkCause(error, where))
                 : networkCause(error, where));
    } else if (status >= 300 && status < 400) {
        fail(QStringLiteral("サーバーが転送（HTTP %1）を返しましたが、転送先をたどれません").arg(status));
    } else if (status != 0 && status != 200) {
        const QString reason = echoed(m_reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
        const QString answer = QStringLiteral("HTTP %1 %2").arg(status).arg(reason).trimmed();
        fail(m_redirectedTo.isValid()
                 ? QStringLiteral("転送先「%1」が %2 を返しました").arg(shownUrl(m_redirectedTo), answer)
                 : QStringLiteral("サーバーが %1 を返しました").arg(answer));
    } else if (error != QNetworkReply::NoError) {
        fail(m_redirectedTo.isValid()
                 ? QStringLiteral("転送先「%1」：%2").arg(shownUrl(m_redirectedTo), networkCause(error, m_redirectedTo))
                 : networkCause(error, m_url));
    } else if (status == 0 && m_url.scheme().startsWith(QLatin1String("http"))) {
        fail(QStringLiteral("サーバーの応答が HTTP ではありません"));
    }
    m_reply->deleteLater();
    emit finished();
}

DownloadOutcome downloadHistory(const QUrl& url, const DownloadLimits& limits)
{
    HistoryDownload download(url, limits);
    QEventLoop loop;
    QObject::connect(&download, &HistoryDownload::finished, &loop, &QEventLoop::quit);
    download.start();
    if (!download.isFinished())
        loop.exec();
    return download.outcome();
}

MergeResult updateHistoryFile(const QString& target, const QString& server, const DownloadLimits& limits,
                              MergePreference preference)
{
    historyUrl(server);  // no download for a server that cannot be used
    if (!QFileInfo::exists(target))
        throw UpdateError(missingTargetMessage(QFileInfo(target).absoluteFilePath()));
    // The source's draws must be of the game of the history they go into.
    const GameId game = historyFileGame(target);
    const QUrl url = historyUrl(server, game);
    removeStaleDownloads(target);
    const DownloadOutcome got = downloadHistory(url, limits);
    if (!got.ok())
        throw UpdateError(got.cancelled ? QStringLiteral("ダウンロードを中止しました") : got.error);
    const SourceHistory source = readSourceHistory(got.body, url.toString(), game, target);
    MergeResult result = mergeIntoHistoryFile(target, source.rows, preference, url.toString(), source.prizes);
    result.warnings = source.warnings;
    return result;
}

}  // namespace mirkano
