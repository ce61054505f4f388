#pragma once
// Where each game keeps its files, and which game the desktop program opened
// last. The three games' histories and settings files sit side by side in
// one folder (beside the program, or in the user's data folder); the last
// game is a one-word file there, apart from the prediction settings. Each
// game's update source is named in a file of its own beside the program.

#include "core/game/game.h"

#include <QByteArray>
#include <QString>

namespace mirkano {

// The file naming the last game: its --game word (loto6, loto7, miniloto).
inline const QString kLastGameFileName = QStringLiteral("last-game.txt");

// Where each game's update source is set: Loto 6 keeps update-server.txt
// and the variable MIRKANO_SERVER, as before the games; Loto 7 and Mini Loto
// add their --game word (update-server-loto7.txt, MIRKANO_SERVER_LOTO7;
// update-server-miniloto.txt, MIRKANO_SERVER_MINILOTO).
QString updateServerFileName(GameId game);
QByteArray updateServerVariable(GameId game);

// The game's history file and settings file in this folder.
QString gameHistoryPath(const QString& folder, GameId game);
QString gameSettingsPath(const QString& folder, GameId game);

// The game opened last in this folder; Loto 6 when none is recorded or the
// record cannot be read (a missing, foreign or oversized file).
GameId readLastGame(const QString& folder);
// Records the game; returns the cause in words when the file cannot be
// written (the old record then stays as it was), empty otherwise.
QString writeLastGame(const QString& folder, GameId game);

}  // namespace mirkano
