#pragma once
// The prediction test: for every complete draw t of a game from a first draw
// on, the prediction engine runs on the history before t (every row whose 回数
// is below t, exactly as if it were the whole history) and its single and
// multiple predictions are held against draw t's k main numbers (Loto 6:
// six, Loto 7: seven, Mini Loto: five). Beside
// the counts stands the exact expectation for as many random numbers. No
// random numbers are drawn; the same history and options always give the
// same result.

#include "core/backtest/match_odds.h"
#include "core/predict/prediction.h"
#include "core/sheet/sheet.h"
#include "core/history/draw_prizes.h"
#include "core/history/history.h"
#include "core/money/winnings.h"

#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace mirkano {

using MatchCounts = std::vector<int>;          // draws with 0 … k matches
using MatchOdds = std::vector<double>;         // probability of 0 … k matches
using ClassCounts = std::vector<int>;          // the game's prize classes 1 …; index 0 unused
using ClassExpectation = std::vector<double>;  // expected wins per class 1 …

struct BacktestResult {
    GameId gameId = GameId::Loto6;
    const Game& game() const { return mirkano::game(gameId); }
    ReflectFlags flags;
    int from = 0;   // the first draw tested (the requested first draw when none is)
    int to = 0;     // the last draw tested (0 when none is)
    int draws = 0;  // complete draws tested
    MatchCounts single{}, multiple{};
    // The mean over the tested draws of the chance of each number of matches
    // for as many random numbers as that draw's prediction held; all zero
    // when no draw is tested.
    MatchOdds expectedSingle{}, expectedMultiple{};
    // Prize classes: the single prediction as a ticket (when it holds k
    // numbers), and the best ticket of k numbers made from the multiple
    // prediction; beside them the expected number of such wins for as many
    // random numbers.
    ClassCounts singleClasses{}, multipleClasses{};
    ClassExpectation expectedSingleClasses{}, expectedMultipleClasses{};
    // With prize data: the single prediction bought as one ticket in each
    // tested draw where it holds k numbers (ticketDraws of them), in yen.
    int ticketDraws = 0;
    std::optional<Winnings> money;
};

// One tested draw, as the walk passes it.
struct BacktestStep {
    const DrawRecord& draw;         // draw t
    int latestDrawNo;               // L: the last complete draw before t (0 when none)
    const Predictions& predictions; // the engine's result for the history before t
    int singleMatches;
    int multipleMatches;
};

// The default first draw, W + 6: the first for which the multiple
// prediction can reach four draws back from the latest draw before it.
int defaultBacktestStart(const ReflectFlags& flags);

// Tests every complete draw t ≥ from (default: defaultBacktestStart) of the
// game in the history, which is in 回数 order as the history store gives it.
// The engine's draw table grows draw by draw as the walk passes each draw, so
// the whole test costs one pass. onStep, when given, sees every tested draw.
BacktestResult runBacktest(const History& history, GameId game, const ReflectFlags& flags,
                           std::optional<int> from = std::nullopt,
                           const std::function<void(const BacktestStep&)>& onStep = {});
// The same in yen as well when prizes is not empty (BacktestResult::money).
BacktestResult runBacktest(const History& history, GameId game, const ReflectFlags& flags, const PrizeTable& prizes,
                           std::optional<int> from = std::nullopt);
// The same for Loto 6.
BacktestResult runBacktest(const History& history, const ReflectFlags& flags,
                           std::optional<int> from = std::nullopt,
                           const std::function<void(const BacktestStep&)>& onStep = {});

// The window's sheet: counts per number of matches (0 … k) and per prize
// class of the game, for the single and the multiple prediction, beside
// their expected counts.
// An expected count as the sheet shows it: one decimal from 10 on, two
// from 0.01, and below that plain decimals with two significant digits
// (6.6e-05 reads 0.000066); never an exponent.
QString expectedCountText(double x);
Sheet buildBacktestSheet(const BacktestResult& result);
// One line naming the options' offset and the draws tested.
QString backtestSummary(const BacktestResult& result);
// In yen: how many tested draws the single prediction could be bought in,
// then the money's lines (winningsLines); empty without prize data.
QStringList backtestMoneyLines(const BacktestResult& result);

}  // namespace mirkano
