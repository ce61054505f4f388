#include "gui/maintenance/history_update_dialog.h"

#include "gui/shell/busy_pointer.h"
#include "core/maintenance/history_source.h"
#include "core/maintenance/history_update.h"
#include "core/history/history_store.h"
#include "gui/maintenance/merge_question.h"
#include "gui/sheet/grid_units.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QLocale>
#include <QProgressDialog>

namespace mirkano {

namespace {

QString receivedText(qint64 received, qint64 total)
{
    const QLocale c(QLocale::Japanese, QLocale::Japan);
    return total > 0 ? QStringLiteral("当選データをダウンロードしています…\n%1 / %2 バイト受信")
                           .arg(c.toString(received), c.toString(total))
                     : QStringLiteral("当選データをダウンロードしています…\n%1 バイト受信").arg(c.toString(received));
}

}  // namespace

std::optional<UpdateReport> runHistoryUpdate(QWidget* parent, const AskFn& ask, const QString& target, GameId shown,
                                             const QString& server, const DownloadLimits& limits)
{
    QUrl url;
    try {
        url = historyUrl(server, shown);
    } catch (const Error& e) {
        return UpdateReport{QMessageBox::Critical, e.message()};
    }
    // Nothing is fetched for a history file that is not there to replace.
    if (!QFileInfo::exists(target))
        return UpdateReport{QMessageBox::NoIcon, missingTargetMessage(QFileInfo(target).absoluteFilePath())};
    // The source's draws must be of the history's game; a server gives that
    // game's history file.
    GameId game = GameId::Loto6;
    try {
        game = historyFileGame(target);
        url = historyUrl(server, game);
    } catch (const Error& e) {
        return UpdateReport{QMessageBox::Critical, e.message()};
    }
    removeStaleDownloads(target);

    HistoryDownload download(url, limits);
    QProgressDialog progress(receivedText(0, -1), QStringLiteral("キャンセル"), 0, 0, parent);
    progress.setObjectName(QStringLiteral("updateProgress"));
    progress.setWindowTitle(QStringLiteral("当選データ最新化"));
    progress.setFont(uiFont());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    QObject::connect(&download, &HistoryDownload::progress, &progress, [&progress](qint64 received, qint64 total) {
        if (total > 0 && progress.maximum() != int(std::min<qint64>(total, INT_MAX)))
            progress.setRange(0, int(std::min<qint64>(total, INT_MAX)));
        if (total > 0)
            progress.setValue(int(std::min<qint64>(received, progress.maximum())));
        progress.setLabelText(receivedText(received, total));
    });
    QObject::connect(&progress, &QProgressDialog::canceled, &download, &HistoryDownload::cancel);

    QEventLoop loop;
    QObject::connect(&download, &HistoryDownload::finished, &loop, &QEventLoop::quit);
    progress.show();
    download.start();
    if (!download.isFinished())
        loop.exec();
    progress.hide();

    const DownloadOutcome& got = download.outcome();
    if (got.cancelled)
        return std::nullopt;
    if (!got.ok())
        return UpdateReport{QMessageBox::Critical, got.error};

    SourceHistory source;
    try {
        BusyPointer busy;
        source = readSourceHistory(got.body, url.toString(), game, target);
    } catch (const Error& e) {
        return UpdateReport{QMessageBox::Critical, e.message()};
    }
    const std::optional<MergeReport> merged =
        mergeIntoHistoryAsking(ask, QStringLiteral("当選データ最新化"), target, source.rows, url.toString(), source.prizes,
                               source.warnings);
    if (!merged)
        return std::nullopt;
    if (merged->icon == QMessageBox::Critical)
        return UpdateReport{QMessageBox::Critical, merged->text};
    // Nothing new is said as such, not as an update done.
    if (!merged->changed)
        return UpdateReport{QMessageBox::NoIcon, merged->text, false};
    return UpdateReport{QMessageBox::NoIcon, kUpdateDone + u'\n' + merged->text, true};
}

}  // namespace mirkano
