#pragma once
// CSV form of the history, as this program writes it and as Japanese result
// sites and spreadsheets publish it: one draw per record.
//
// The reader maps the header after folding full-width forms and removing
// blanks: 回数 (回数, 回, 回号, 回別, 開催回, 抽選回, 抽せん回), an optional date
// (日付, 抽選日, 抽せん日), the game's main numbers (第n数字, 数字n, 本数字n, or
// one 本数字 title followed by empty titles) and its bonus (ボーナス数字,
// BONUS数字, ボーナス, B数字; Loto 7's two: ボーナス数字1, ボーナス数字2,
// BONUS数字1, BONUS数字2, …) and the prize columns of the public layouts
// (N等口数, N等賞金, キャリーオーバー, 販売実績額; core/history/csv_prizes.h);
// every other column is ignored. Without a header every record is 回数, [date], the
// main numbers and the bonus numbers. 回数 may read "12" or "第12回"; dates
// 2000-10-05, 2000/10/5, 2000年10月5日 or 平成/令和 era dates, and must go
// forward with 回数. An empty number field is an empty number; a draw never
// repeats a number.
//
// The layout shows the game: a header with 第7数字 or a second bonus is Loto
// 7's, one whose main numbers end at 第6数字 Loto 6's, at 第5数字 Mini Loto's;
// without a header, the number of fields tells (Loto 6: 8 or 9, Loto 7: 10 or
// 11, Mini Loto: 7; 8 is read as Loto 6). A CSV read for a game whose layout
// shows another game is refused, naming both.
//
// The reader takes what spreadsheet programs save: UTF-8 with or without a
// byte-order mark, UTF-16 with a byte-order mark, or Shift_JIS; CR, LF or CRLF
// line ends; standard quoting (a quoted field may hold commas, line ends and
// doubled quotes). The writer always writes UTF-8 with LF line ends.

#include "core/history/draw_prizes.h"
#include "core/history/history.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace mirkano {

// The largest CSV the reader takes: far more than any real history (32,767
// draws with a date column come to about 1.3 MB), small enough to hold in memory.
inline constexpr qint64 kMaxCsvBytes = 32 * 1024 * 1024;

// A CSV's draws, the game they are of, and the prize data of its prize
// columns (empty without them). warnings names each prize field equal to
// kSuspectYen (the file, the line, 回数 and the field): taken, but to be
// shown to the user.
struct CsvHistory {
    GameId game = GameId::Loto6;
    History rows;
    PrizeTable prizes;
    QStringList warnings;
};

// Parses CSV bytes as draws of the game; without a game, of the game the
// layout shows (Loto 6 when it shows none). Throws HistoryError naming the
// line number and the cause for the first bad line (text in no known
// encoding, open quote, non-numeric field, number out of 1 … the game's pool
// or repeated within its draw, 回数 out of 1 … 32767 or repeated, unreadable
// date or dates out of order, a header without a column the history needs,
// wrong field count, a layout of another game, a prize field that is no
// amount). A bad field is quoted as a short excerpt.
CsvHistory parseGameHistoryCsv(const QByteArray& csv, const QString& sourceName, std::optional<GameId> game);
History parseHistoryCsv(const QByteArray& csv, const QString& sourceName, std::optional<GameId> game = std::nullopt);
// Reads and parses a CSV file; throws HistoryError (also for a file larger
// than kMaxCsvBytes, which is refused before it is read whole, and for
// anything but a regular file, such as a named pipe or a device, which is
// refused without waiting).
CsvHistory readGameHistoryCsv(const QString& path, std::optional<GameId> game);
History readHistoryCsv(const QString& path, std::optional<GameId> game = std::nullopt);
// The history as CSV (the game's field names as header and one line per
// row, LF line ends); without a game, the rows' (Loto 6 for no rows).
QByteArray historyToCsv(const History& rows);
QByteArray historyToCsv(const History& rows, GameId game);
// The same with the prize data: when prizes holds any, the header goes on
// with prizeFieldNames(game) and each row with its draw's prize fields
// (plain digits, empty where unknown); without, as above byte for byte.
QByteArray historyToCsv(const History& rows, GameId game, const PrizeTable& prizes);

}  // namespace mirkano
