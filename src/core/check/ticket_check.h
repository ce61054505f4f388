#pragma once
// The ticket check: six numbers held against every complete draw of the
// history, with the prize class each draw would have paid (1等: six main
// numbers; 2等: five and the bonus; 3等: five; 4等: four; 5等: three). It reads
// the history only; the window and the command-line tool show its result.

#include "core/error.h"
#include "core/sheet/sheet.h"
#include "core/history/history.h"

#include <QString>
#include <QStringList>

#include <array>
#include <span>
#include <vector>

namespace mirkano {

inline constexpr int kTicketSize = 6;
inline constexpr int kPrizeClasses = 5;

// A ticket that is not six different numbers 1 … 43; the message says which
// entry is wrong and why, in Japanese.
class TicketError : public Error {
public:
    using Error::Error;
};

// Six different numbers 1 … 43, ascending.
using Ticket = std::array<int, kTicketSize>;

// One entry per number, in the order entered; surrounding spaces are ignored.
// Throws TicketError for an empty entry, one that is not a whole number, a
// number outside 1 … 43, a repeated number, or not exactly six entries.
Ticket parseTicket(const QStringList& entries);
// The six numbers separated by commas, e.g. "1,2,3,4,5,6" (full-width digits
// and commas are accepted as well). Throws TicketError as above.
Ticket parseTicket(const QString& text);

struct TicketWin {
    DrawRecord draw;
    int prizeClass = 0;  // 1 … 5
    int matches = 0;     // ticket numbers among the draw's six main numbers
    bool bonus = false;  // a ticket number that missed the main numbers is the bonus
};

struct TicketCheck {
    Ticket ticket{};
    std::vector<TicketWin> wins;              // newest draw first
    std::array<int, kPrizeClasses + 1> counts{};  // wins per class 1 … 5; index 0 unused
    int drawsChecked = 0;                     // complete draws in the history
};

// The prize class of a draw for this ticket, 0 when it wins nothing.
int prizeClass(int matches, bool bonus);

// How picked numbers fare against a complete draw. Each number counts once;
// numbers outside 1 … 43 are ignored.
struct DrawMatch {
    int picks = 0;       // distinct numbers picked
    int matches = 0;     // of those, among the draw's six main numbers
    bool bonus = false;  // the bonus is a pick that missed the main numbers
};
DrawMatch matchDraw(const DrawRecord& draw, std::span<const int> picks);

// Every complete draw that the ticket would have won, newest first.
TicketCheck checkTicket(const History& history, const Ticket& ticket);

// The result as a sheet: one row per winning draw, newest first, with the
// matched main numbers and a matched bonus marked in colour.
Sheet buildTicketCheckSheet(const TicketCheck& result);
// One line: the wins per class over the whole history.
QString ticketCheckSummary(const TicketCheck& result);

// Colours that mark a matched main number and a matched bonus.
inline constexpr Rgb kMatchedMain{255, 200, 200};
inline constexpr Rgb kMatchedBonus{200, 255, 255};

}  // namespace mirkano
