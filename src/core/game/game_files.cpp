#include "core/game/game_files.h"

#include "core/history/file_kind.h"
#include "core/history/file_write.h"

#include <QDir>
#include <QFile>

namespace mirkano {

QString gameHistoryPath(const QString& folder, GameId g)
{
    return QDir(folder).filePath(game(g).historyFile.toString());
}

QString gameSettingsPath(const QString& folder, GameId g)
{
    return QDir(folder).filePath(game(g).settingsFile.toString());
}

GameId readLastGame(const QString& folder)
{
    // Only a small regular file is read: a named pipe or a device there never
    // holds up the start.
    QFile file;
    if (!openRegularFile(file, QDir(folder).filePath(kLastGameFileName)).isEmpty())
        return GameId::Loto6;
    const QByteArray word = file.read(64).trimmed();
    return gameByCliName(QString::fromLatin1(word)).value_or(GameId::Loto6);
}

QString writeLastGame(const QString& folder, GameId g)
{
    return writeFileWhole(QDir(folder).filePath(kLastGameFileName), game(g).cliName.toString().toLatin1() + '\n');
}

}  // namespace mirkano
