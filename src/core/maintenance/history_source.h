#pragma once
// The draws a source gives: a history file of this program or a CSV in any
// layout the CSV reader takes, told apart by their content, not their name;
// and the merge of those draws into the stored history file.

#include "core/maintenance/history_merge.h"
#include "core/history/history.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace mirkano {

enum class SourceKind { HistoryFile, Csv };

// The draws of a source, their prize data (empty when it has none) and what
// its reader named for the user (amounts of 2,147,483,647).
struct SourceHistory {
    SourceKind kind = SourceKind::Csv;
    History rows;
    PrizeTable prizes;
    QStringList warnings;
};

// The draws of a downloaded or read body, of the game when one is given
// (a CSV or history file of another game is refused naming both games).
// Throws HistoryError (a CSV that is refused, naming its line and cause) or
// UpdateError (an empty body, a web page, a history file that cannot be read
// or is of another game); sourceName names the source in the messages. A
// history file is read from a work copy beside besideHistory (the history the
// draws go into), which a later update clears if this process is killed
// meanwhile; without one, from a folder of its own.
SourceHistory readSourceHistory(const QByteArray& body, const QString& sourceName,
                                std::optional<GameId> game = std::nullopt, const QString& besideHistory = {});

// Why draws read from source cannot go into a history of the game: they are
// of another game ("「…」はロト7の当選データです。ロト6の履歴には取り込めません");
// empty when they can (also for no draws).
QString otherGameFault(const History& theirs, GameId game, const QString& source);

// Merges theirs (and their prize data) into the history file at target, its
// prize data with theirPrizes, and, when that changes the history and is not
// refused, writes the merged history beside the file and renames it into
// place; the prize data the file holds are kept whatever the source lacks. Throws HistoryError when the stored history cannot
// be read, the draws are of another game than the file's (otherGameFault) or
// the write fails; the file is then as it was.
// source names the draws in that message.
MergeResult mergeIntoHistoryFile(const QString& target, const History& theirs, MergePreference preference,
                                 const QString& source = {}, const PrizeTable& theirPrizes = {});

}  // namespace mirkano
