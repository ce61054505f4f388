// The update from the command line: the history downloaded from the server,
// checked, and renamed over the file; a refused download leaves the file as it
// was and names the cause.

#include "cli/cli.h"

#include "core/maintenance/history_download.h"
#include "core/maintenance/history_update.h"

#include <QCoreApplication>

#include <memory>

namespace mirkano::cli {

int runUpdate(const Args& a, Streams&)
{
    a.noPositional();
    const QString db = a.required("db");
    const QString server = a.required("server");
    // The download runs an event loop, which needs an application object.
    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "mirkano-cli";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    try {
        updateHistoryFile(db, server, DownloadLimits{}, a.has(kForceFlag));
    } catch (const DrawLossError& e) {
        throw UpdateError(e.message() + QStringLiteral("それでも置き換えるには --force を付けてください。"));
    }
    return kDone;
}

}  // namespace mirkano::cli
