#pragma once
// Fetching the history from the download server over HTTP: one GET whose
// whole body is the new file. A time-out stops a connection or transfer that
// hangs and a size cap stops a runaway body; the result comes back as a value
// (the body, or the cause of the failure) once `finished` is emitted.

#include "core/maintenance/history_merge.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

namespace mirkano {

// Redirects followed before the download gives up (a loop would go on for ever).
inline constexpr int kMaxRedirects = 5;

struct DownloadLimits {
    int idleTimeoutMs = 30'000;         // no byte for this long: the server is not answering
    int totalTimeoutMs = 10 * 60'000;   // the whole transfer, however slowly it trickles
    qint64 maxBytes = 64LL << 20;       // a real history is well under 2 MB
};

struct DownloadOutcome {
    QByteArray body;
    QString error;           // empty on success; names the cause otherwise
    bool cancelled = false;  // stopped by cancel(); error is empty then
    bool ok() const { return error.isEmpty() && !cancelled; }
};

class HistoryDownload : public QObject {
    Q_OBJECT
public:
    HistoryDownload(QUrl url, DownloadLimits limits, QObject* parent = nullptr);
    ~HistoryDownload() override;

    void start();
    // Stops the transfer; finished() follows with `cancelled` set.
    void cancel();
    bool isFinished() const { return m_finished; }
    const DownloadOutcome& outcome() const { return m_outcome; }
    const QUrl& url() const { return m_url; }

signals:
    // Bytes received so far and the announced size (-1 when unknown).
    void progress(qint64 received, qint64 total);
    void finished();

private:
    void onReadyRead();
    void onFinished();
    void fail(const QString& cause);
    // Stops the transfer ourselves; the outcome names the cause.
    void abortWith(const QString& cause);

    QUrl m_url;
    DownloadLimits m_limits;
    QNetworkAccessManager* m_manager = nullptr;
    QPointer<QNetworkReply> m_reply;
    QTimer m_idle, m_total;
    DownloadOutcome m_outcome;
    QString m_abortCause;  // why we stopped the transfer ourselves
    QUrl m_redirectedTo;   // the last redirect target followed, if any
    bool m_cancelled = false;
    bool m_finished = false;
};

// Downloads with a local event loop and returns the outcome; for callers
// without a window (the command-line tool). Needs a QCoreApplication.
DownloadOutcome downloadHistory(const QUrl& url, const DownloadLimits& limits);

// Removes the download work files beside target (".<name>.<id>.download")
// that updates killed earlier left: unlocked, and last changed before this
// process started. Work files of a running update are kept.
void removeStaleDownloads(const QString& target);

// The whole update without a window: the target must exist, stale download
// work files beside it are removed, then the source (a server's history file
// or a file's own address, see historyUrl()) is downloaded, read as a history
// file or a CSV, and merged into the target (history_merge.h): nothing stored
// is lost, and conflicts are settled by preference or, with
// MergePreference::Refuse, leave the target as it was (result.refused). Throws
// UpdateError or HistoryError naming the cause; the target is then as it was.
MergeResult updateHistoryFile(const QString& target, const QString& server, const DownloadLimits& limits,
                              MergePreference preference = MergePreference::Refuse);

}  // namespace mirkano
