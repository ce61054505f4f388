// Where the history files are: the program's folder, the user's data folder
// for a program installed where the user cannot write, and the sample history
// a new user starts with.
#include "core/history/history_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace mirkano {

QString programFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).absolutePath();
}

QString userDataFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("mirkano"));
}

QString defaultHistoryPath(GameId game)
{
    const QString program = programFolder();
    const QString dir = QFileInfo(program).isWritable() ? program : userDataFolder();
    return QDir(dir).filePath(mirkano::game(game).historyFile.toString());
}

QString defaultHistoryPath() { return defaultHistoryPath(GameId::Loto6); }

bool copySampleHistoryIfMissing(const QString& historyPath)
{
    // The sample of the same game: a history named as a game's (Mirkano.mdb,
    // Mirkano7.mdb, MirkanoMini.mdb) gets that game's, any other Loto 6's.
    const QString name = QFileInfo(historyPath).fileName();
    const bool gameFile =
        std::any_of(games().begin(), games().end(), [&](const Game& g) { return g.historyFile == name; });
    const QString sample = QDir(programFolder()).filePath(gameFile ? name : kHistoryFileName);
    if (QFileInfo::exists(historyPath) || !QFileInfo::exists(sample)
        || QFileInfo(sample).absoluteFilePath() == QFileInfo(historyPath).absoluteFilePath())
        return false;
    QDir().mkpath(QFileInfo(historyPath).absolutePath());
    return QFile::copy(sample, historyPath);
}

}  // namespace mirkano
