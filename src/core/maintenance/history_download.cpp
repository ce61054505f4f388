#include "core/maintenance/history_download.h"

#include "core/maintenance/history_update.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace mirkano {

namespace {

// A time limit in whole seconds, rounded up.
int seconds(int ms) { return (ms + 999) / 1000; }

QString tooLarge(qint64 maxBytes) { return QStringLiteral("データが大きすぎます（%1 バイトを超えています）").arg(maxBytes); }

}  // namespace

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
    m_reply = m_manager->get(request);
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
    m_idle.start(m_limits.idleTimeoutMs);
    m_outcome.body += m_reply->readAll();
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
    if (m_reply)
        m_reply->abort();
}

void HistoryDownload::fail(const QString& cause)
{
    m_outcome.body.clear();
    m_outcome.error = QStringLiteral("当選データをダウンロードできません：%1（%2）")
                          .arg(cause, m_url.toDisplayString());
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
    } else if (status != 0 && status != 200) {
        const QString reason = m_reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        fail(QStringLiteral("サーバーが HTTP %1 %2 を返しました").arg(status).arg(reason).trimmed());
    } else if (error != QNetworkReply::NoError) {
        fail(m_reply->errorString());
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

void updateHistoryFile(const QString& target, const QString& server, const DownloadLimits& limits,
                       bool allowDrawLoss)
{
    const QUrl url = historyUrl(server);
    if (!QFileInfo::exists(target))
        throw UpdateError(missingTargetMessage(QFileInfo(target).absoluteFilePath()));
    const DownloadOutcome got = downloadHistory(url, limits);
    if (!got.ok())
        throw UpdateError(got.cancelled ? QStringLiteral("ダウンロードを中止しました") : got.error);
    replaceHistoryFile(target, got.body, allowDrawLoss);
}

}  // namespace mirkano
