// The update from the command line: the source's draws downloaded, checked
// and merged into the history; a refused download or a conflict not settled
// by --prefer leaves the file as it was and names the cause. Without --server
// the source is the address set for the history's game, the one the desktop
// program's update uses.

#include "cli/cli.h"

#include "core/maintenance/history_download.h"
#include "core/maintenance/history_update.h"
#include "core/history/history_store.h"

#include <QFileInfo>

#include <QCoreApplication>

#include <memory>

namespace mirkano::cli {

int runUpdate(const Args& a, Streams& s)
{
    a.noPositional();
    const QString db = a.required("db");
    // The update takes the draws of the history's own game; --game, when
    // given, must name it.
    if (a.has("game") && QFileInfo::exists(db))
        loadHistory(db, commandGame(a, db));
    QString server = a.has("server") ? a.required("server") : QString();
    if (server.isEmpty()) {
        if (!QFileInfo::exists(db))
            throw UpdateError(missingTargetMessage(QFileInfo(db).absoluteFilePath()));
        const GameId game = commandGame(a, db);
        server = configuredServer(programFolder(), game);
        if (server.isEmpty())
            throw UpdateError(QStringLiteral("%1の当選データの取得先が設定されていません。--server でアドレスを指定するか、"
                                             "ミルカノのデータ管理 → 最新化の設定… で設定してください。")
                                  .arg(mirkano::game(game).name));
    }
    // The download runs an event loop, which needs an application object.
    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "mirkano-cli";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    const MergePreference preference = parsePreference(a);
    const MergeResult merged = updateHistoryFile(db, server, DownloadLimits{}, preference);
    return reportMerge(merged, preference, server.trimmed(), s);
}

}  // namespace mirkano::cli
