#include "core/game/game_files.h"

#include "core/files/file_kind.h"
#include "core/files/file_write.h"

#include <QDir>
#include <QFile>

namespace mirkano {

QString updateServerFileName(GameId g)
{
    if (g == GameId::Loto6)
        return QStringLiteral("update-server.txt");
    return QStringLiteral("update-server-%1.txt").arg(game(g).cliName.toString());
}

QByteArray updateServerVariable(GameId g)
{
    if (g == GameId::Loto6)
        return "MIRKANO_SERVER";
    return "MIRKANO_SERVER_" + game(g).cliName.toString().toUpper().toLatin1();
}

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
