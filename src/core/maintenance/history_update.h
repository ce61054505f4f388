#pragma once
// Replacing the history file by a downloaded copy. The download is checked
// before anything is written, and the new file takes the old one's place in
// one rename, so the history file is always the old one or the new one whole.

#include "core/error.h"
#include "core/game/game.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <optional>

namespace mirkano {

// A refused update: the message names the cause; the history file is unchanged.
class UpdateError : public Error {
public:
    using Error::Error;
};

// A refused update that would lose complete draws stored in the history: the
// downloaded history lacks them or holds them incomplete. Replacing anyway
// needs the caller's consent (allowDrawLoss).
class DrawLossError : public UpdateError {
public:
    DrawLossError(const QString& message, int lost) : UpdateError(message), m_lost(lost) {}
    int lost() const { return m_lost; }

private:
    int m_lost;
};

// The path of the Loto 6 history on the download server; each game's is
// historyDownloadPath(): the folder /download/Mirkano/ and the game's history
// file name (Mirkano7.mdb, MirkanoMini.mdb).
inline const QString kHistoryDownloadPath = QStringLiteral("/download/Mirkano/Mirkano.mdb");
QString historyDownloadPath(GameId game);

// Loto 6's setting: the file, beside the program, whose first line names the
// download server, and the environment variable that overrides it. The other
// games' are updateServerFileName() and updateServerVariable() (game_files.h).
inline const QString kServerFileName = QStringLiteral("update-server.txt");
inline constexpr char kServerVariable[] = "MIRKANO_SERVER";

// The longest stretch of a setting file that is read: an address is far
// shorter, and a huge file must not hold up the update.
inline constexpr qint64 kServerFileReadLimit = 4096;

// The game's own setting: its variable when set and not empty, else the first
// line of its file in programDir that is neither blank nor a comment ("#"),
// read from the file's first kServerFileReadLimit bytes (a line not ended
// within them is no address); an empty text when neither names one.
QString ownConfiguredServer(const QString& programDir, GameId game = GameId::Loto6);

// The address the game's update uses: its own setting; Loto 7 and Mini Loto
// without one take Loto 6's when that names a server (scheme, host and port),
// which serves every game's history at the game's download path. A file's own
// address (a CSV of Loto 6) is never taken for another game. Empty when none.
QString configuredServer(const QString& programDir, GameId game = GameId::Loto6);

// Whether an address names a server (a path of at most "/") rather than a file.
bool namesServer(const QString& address);

// The address to fetch: for a server named by scheme, host and port
// ("http://127.0.0.1:8080", a path of at most "/") the game's history at its
// download path; an address with a longer path ("https://example.jp/loto6.csv")
// names the file itself. Throws UpdateError when no server is set (naming the
// game and where it is set) or the text is not an http or https address.
QUrl historyUrl(const QString& server, GameId game = GameId::Loto6);

// "ロト7の当選データの取得先が設定されていません。…": no address is set for the game.
QString noServerMessage(GameId game);

// What is wrong with downloaded bytes before they are read at all (nothing
// came, or a web page came); empty when nothing is.
QString downloadedBodyFault(const QByteArray& body);

// "当選データファイル：'…'が存在しません" for a target that is not there.
QString missingTargetMessage(const QString& target);

// Throws UpdateError naming the cause when the downloaded bytes are not a
// history this program can read and edit (empty, an HTML page, a plain or
// foreign database, a wrong password, a cut-off or damaged file, rows that
// break the row rule), or, with a game given, a history of another game.
// Writes nothing the caller can see.
void checkDownloadedHistory(const QByteArray& body, std::optional<GameId> game = std::nullopt);

// Replaces the history file at target by body: written beside it, flushed to
// disk, checked again as above, then renamed over it; a journal of a cut-short
// write of the old file is rolled back or removed first. A target that is a
// symbolic link stays one; the file it names is replaced. Throws UpdateError,
// leaving the target as it was, when the target does not exist, another
// program has it open for writing, the body is refused (also a history of
// another game than the target's) or the write fails;
// DrawLossError when the new history would lose complete draws of the old one
// and allowDrawLoss is not set.
void replaceHistoryFile(const QString& target, const QByteArray& body, bool allowDrawLoss = false);

}  // namespace mirkano
