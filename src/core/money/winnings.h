#pragma once
// Winnings in yen of one ticket bought for each of a run of draws (the ticket
// check, the prediction test): what the tickets cost, what they won at each
// draw's 賞金, and beside it what a ticket of random numbers was worth on
// average in the same draws. Only draws whose 賞金 of every class is known
// enter the figures: the others are counted and named apart, never as zero
// yen.

#include "core/game/game.h"
#include "core/history/draw_prizes.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace mirkano {

struct Winnings {
    int draws = 0;         // tickets whose draw has the 賞金 of every class: the draws the figures cover
    Yen cost = 0;          // the game's price × draws
    Yen won = 0;           // the 賞金 of the wins in those draws
    double expected = 0;   // Σ over those draws of the random ticket's value
    // Wins in those draws of a class nobody won (賞金 0): what the ticket
    // would have been paid is not in the data, so they are not in won.
    int unknownWins = 0;
    std::vector<int> unpriced;  // 回数 of the other tickets' draws, ascending, each once

    // won ÷ cost and expected ÷ cost; nullopt when no draw is covered.
    std::optional<double> returnRate() const;
    std::optional<double> expectedRate() const;
};

// The yen a ticket of class c won at draw drawNo: that draw's 賞金 of the
// class. nullopt when it is unknown, or 0: nobody won the class, and what
// the ticket would then have been paid is not in the data.
std::optional<Yen> winPrize(const PrizeTable& prizes, int drawNo, int prizeClass);

class WinningsTally {
public:
    // prizes is read as tickets are added: it must outlive the tally.
    WinningsTally(GameId game, const PrizeTable& prizes);
    // One ticket bought for draw drawNo that won class c (0: nothing);
    // returns the yen of the win as winPrize gives it.
    std::optional<Yen> add(int drawNo, int prizeClass);
    Winnings result() const;

private:
    const Game& m_game;
    const PrizeTable& m_prizes;
    Winnings m_w;
};

// An amount as the windows write it: "1,234,567円".
QString yenText(Yen yen);
// Draws by 回数, runs joined: "第5回、第1354回～第1400回"; past the eighth
// run the rest are counted ("…ほか12回").
QString drawListText(const std::vector<int>& ascending);
// The figures for the windows, one line each: cost, winnings and return rate
// beside the random ticket's expectation; then the draws left out and the
// wins without an amount, where there are any. `tickets` says what was
// bought (e.g. "この数字を各回1口").
QStringList winningsLines(const Winnings& w, const QString& tickets);

}  // namespace mirkano
