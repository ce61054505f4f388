#pragma once
// The history file: an encrypted database protected by a fixed password. Its
// history is read once through the view 全データ選択クエリ and the file is
// closed again, so that a downloaded copy can replace it later. The entry
// window alone keeps it open while it writes single rows (HistoryEditor).

#include "core/history/draw_prizes.h"
#include "core/history/history.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace mirkano {

// File name of the Loto 6 history in the program's folder (each game's is
// Game::historyFile).
inline const QString kHistoryFileName = QStringLiteral("Mirkano.mdb");
// The command text through which the history is always read.
extern const char* const kHistoryQuery;

// The folder of the running program (not the working directory).
QString programFolder();
// The user's own data folder, for a program installed where the user cannot
// write: ~/.local/share/mirkano on Linux.
QString userDataFolder();
// Path of the game's history file (Game::historyFile): beside the program
// when its folder is writable, else in the user's data folder. The prediction
// settings file sits beside it. Without a game: Loto 6's.
QString defaultHistoryPath(GameId game);
QString defaultHistoryPath();
// Gives a user without a history file of their own a copy of the sample
// history of the same name installed beside the program (Mirkano.mdb,
// Mirkano7.mdb, MirkanoMini.mdb: a game's history file name). Returns whether
// it copied one; an existing history is never touched.
bool copySampleHistoryIfMissing(const QString& historyPath);

// Rolls back a write to the history file that was cut short (a kill or a
// power cut during an edit leaves the file's journal beside it): the file
// returns to its last complete state, as the database engine does when it
// opens a file for writing, and the journal is gone. Returns a short notice
// for the user when it rolled one back; an empty text when there was nothing
// to roll back (also while a live writer is in the middle of its write).
// Throws HistoryError naming the file and the cause when a journal is there
// but cannot be rolled back (no right to write there, not a history file).
QString rollBackInterruptedWrite(const QString& path);

// Reads every row of the history file, in ascending 回数. Opens the file read
// only; only a write that was cut short is rolled back first, as above, with
// its notice on the standard error. Throws HistoryError naming the file and
// cause (missing, not a history, wrong password, locked, no view, missing
// field).
History loadHistory(const QString& path);
// The same, for a caller that works on one game: a file that records another
// game is refused with a HistoryError naming both games.
History loadHistory(const QString& path, GameId expected);
// The same for the analyses: what breaks the game's rules is named in
// leftOut, one line a draw, and no count holds it: a row without a 回数 of
// 1 … 32767 and a second row of one 回数 are left out, a draw with a number
// twice is left out, a number outside the game's reads as empty (the draw is
// incomplete). The loads above keep such draws as stored, so that what
// writes the whole file (a merge, an update) keeps them as they were. Every
// load refuses a file whose fields are another game's than the one it
// records, naming that game.
History loadHistory(const QString& path, GameId expected, QStringList& leftOut);
// The game a history file records, its rows, what loadHistory leaves out and,
// with prizes, the prize data (table 賞金データ; empty when the file has none),
// read in one opening; with expected, a file of another game is refused. What
// needs no prize data (the analyses, the start-up tables) leaves them out:
// reading them costs about as much again as reading the draws.
struct HistoryReading {
    GameId game = GameId::Loto6;
    History rows;
    QStringList leftOut;
    PrizeTable prizes;
};
HistoryReading readHistoryFile(const QString& path, std::optional<GameId> expected, bool prizes = true);
// The words for the player about what loadHistory left out: the file, how
// many draws, the first `shown` of them; empty when nothing was.
QString leftOutNotice(const QString& path, const QStringList& leftOut, int shown = 10);
// The game a history file records; a file without the record is Loto 6.
// Throws HistoryError as loadHistory does.
GameId historyFileGame(const QString& path);

// Why a file cannot serve as the history, in words for the user, or an empty
// text when it can: it opens with the password, has the view and every field,
// reads back whole, every row passes the row rule (core/history/draw_rule.h) so
// that nothing would be dropped or read as empty at the next start, and the
// table 当選データ that the entry window writes to is there. Never writes.
QString historyFileFault(const QString& path);

// Writes a new history file with the given rows: it is built beside the target
// and renamed over it only once complete, so an existing file is replaced
// whole or not at all. A journal of a cut-short write of the old file is
// rolled back or removed first, so that it is never played into the new one.
// Throws HistoryError on failure (target untouched).
// The file records the game; every row must be of that game.
void saveHistory(const QString& path, const History& rows, GameId game);
// The game of the rows (Loto 6 for no rows).
void saveHistory(const QString& path, const History& rows);
// The same with the prize data: the file gets the table 賞金データ holding
// them (none when prizes is empty). The two forms above keep the prize data
// the file at path holds now, so that no writer loses them.
void saveHistory(const QString& path, const History& rows, GameId game, const PrizeTable& prizes);
// The prize data of the history file at path (empty when it has none).
// Throws HistoryError as loadHistory does.
PrizeTable loadPrizes(const QString& path);

// How many complete draws of stored a replacement by replacement would lose:
// those whose 回数 is missing there or not a complete draw.
int completeDrawsLost(const History& stored, const History& replacement);
// The same for the history file at path as it stands; 0 when there is no
// file there or it cannot be read (nothing readable is lost).
int completeDrawsLost(const QString& path, const History& replacement);

// The history file opened for editing row by row. Each change is one
// transaction of its own: when a call returns, the change is in the file;
// when it throws HistoryError (naming the file and the cause), the file is as
// it was. Rows that break the row rule never reach the file.
class HistoryEditor {
public:
    // Throws HistoryError as loadHistory does, and when the file cannot be
    // written or has no table 当選データ.
    explicit HistoryEditor(const QString& path);
    ~HistoryEditor();
    HistoryEditor(const HistoryEditor&) = delete;
    HistoryEditor& operator=(const HistoryEditor&) = delete;

    const QString& path() const;
    // The game the file records; every row written must be of it.
    GameId game() const;
    // The rows as stored now, in ascending 回数.
    History rows() const;
    // A new row; refused when its 回数 is already in the history.
    void insertRow(const DrawRecord& row);
    // Replaces the row stored under storedDrawNo (its 回数 may change);
    // refused when the new 回数 belongs to another row.
    void updateRow(int storedDrawNo, const DrawRecord& row);
    // Removes the row and its prize data; no row under that 回数 is no change.
    void deleteRow(int drawNo);
    // The prize data as stored now, in ascending 回数.
    PrizeTable prizes() const;
    // Stores the prize data of p.drawNo in place of what was there; an empty
    // p removes them.
    void setPrizes(const DrawPrizes& p);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

namespace detail {
// Rounds of the key derivation for files keyed with the six-digit password;
// 0 keeps the database engine's own count, the one those files were written
// with. Only the fuzz target lowers it, so that an input that is no history
// does not pay for a full derivation on every run.
extern int sixDigitKeyRounds;
// The work a query of the history may take, in blocks of 1,000 steps of the
// database engine: reading 32,767 draws of a file this program wrote takes
// about a sixtieth of the 20,000 blocks allowed, so that a slow foreign view
// is still read while one without end is stopped within seconds. The fuzz
// target lowers it, so that the views it makes up stop within milliseconds.
extern int queryWorkBlocks;
// Removes the journal beside a file that is about to be replaced, once its
// write was rolled back or could not be: a journal left beside the new file
// would be played into it at its next opening for writing.
void clearStaleJournal(const QString& path);
}  // namespace detail

}  // namespace mirkano
