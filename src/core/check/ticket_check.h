#pragma once
// The ticket check: a ticket of a game (as many numbers as the game draws
// main numbers) held against every complete draw of that game in the
// history, with the prize class each draw would have paid, from the game's
// classes (Loto 6: 1等 six, 2等 five and the bonus, 3等 five, 4等 four, 5等
// three; Loto 7 with its two bonuses and six classes; Mini Loto with four).
// It reads the history only; the window and the command-line tool show its
// result.

#include "core/error.h"
#include "core/sheet/sheet.h"
#include "core/history/draw_prizes.h"
#include "core/history/history.h"
#include "core/money/winnings.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <span>
#include <vector>

namespace mirkano {

// A ticket that is not the game's count of different numbers 1 … pool; the
// message says which entry is wrong and why, in Japanese.
class TicketError : public Error {
public:
    using Error::Error;
};

// The numbers of a ticket, ascending: as many different numbers 1 … pool as
// the game draws main numbers.
using Ticket = std::vector<int>;

// One entry per number, in the order entered; surrounding spaces are ignored.
// Throws TicketError for an empty entry, one that is not a whole number, a
// number outside the game's 1 … pool, a repeated number, or not exactly as
// many entries as the game's main numbers.
Ticket parseTicket(const QStringList& entries, GameId game = GameId::Loto6);
// The numbers separated by commas, e.g. "1,2,3,4,5,6" (full-width digits
// and commas are accepted as well). Throws TicketError as above.
Ticket parseTicket(const QString& text, GameId game = GameId::Loto6);

struct TicketWin {
    DrawRecord draw;
    int prizeClass = 0;    // 1 … the game's class count
    int matches = 0;       // ticket numbers among the draw's main numbers
    int bonusMatches = 0;  // ticket numbers that missed the main numbers and are bonuses
    // With prize data: the yen the ticket received (winPrize), nullopt
    // where that is not known.
    std::optional<Yen> prize;
};

struct TicketCheck {
    GameId gameId = GameId::Loto6;
    Ticket ticket;
    std::vector<TicketWin> wins;  // newest draw first
    std::vector<int> counts;      // wins per class 1 … class count; index 0 unused
    int drawsChecked = 0;         // complete draws of the game in the history
    // With prize data: the ticket bought once for each draw checked, in yen.
    std::optional<Winnings> money;

    const Game& game() const { return mirkano::game(gameId); }
    // The wins of class c, 0 for a class the game does not have.
    int count(int c) const { return c >= 1 && c < int(counts.size()) ? counts[std::size_t(c)] : 0; }
};

// How picked numbers fare against a complete draw of its game. Each number
// counts once; numbers outside 1 … pool are ignored.
struct DrawMatch {
    int picks = 0;         // distinct numbers picked
    int matches = 0;       // of those, among the draw's main numbers
    int bonusMatches = 0;  // of those, bonuses that are not also main numbers
};
DrawMatch matchDraw(const DrawRecord& draw, std::span<const int> picks);

// Every complete draw of the game that the ticket would have won, newest first.
TicketCheck checkTicket(const History& history, const Ticket& ticket, GameId game = GameId::Loto6);
// The same in yen as well when prizes is not empty: each win's prize and the
// money of the ticket bought once for each draw checked.
TicketCheck checkTicket(const History& history, const Ticket& ticket, GameId game, const PrizeTable& prizes);

// The result as a sheet: one row per winning draw, newest first: 回数, the
// game's main numbers, its bonus numbers (ボーナス数字, or ボーナス数字1 and
// ボーナス数字2), 一致 and 等級 (and 賞金 when the result is in yen: the amount
// or 「不明」), with the matched main numbers and bonuses marked in colour.
Sheet buildTicketCheckSheet(const TicketCheck& result);
// One line: the wins per class of the game over the whole history; in yen,
// the money's lines (winningsLines) follow it.
QString ticketCheckSummary(const TicketCheck& result);

// Colours that mark a matched main number and a matched bonus.
inline constexpr Rgb kMatchedMain{255, 200, 200};
inline constexpr Rgb kMatchedBonus{200, 255, 255};

}  // namespace mirkano
