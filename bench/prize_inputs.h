#pragma once
// Prize data for the benchmarks: each game's bundled real prize data
// (data/<game>-prizes.csv, the public layout with its prize columns), and
// complete prize data for the 32,767 generated draws of bench_inputs.h (the
// winners of each class about as chance gives for five million tickets, a
// carry-over in one draw of three, the sales in every other draw), each made
// on first use and kept.

#include "bench_inputs.h"

#include "core/history/draw_prizes.h"
#include "core/history/history_csv.h"

#include <QFileInfo>

#include <cmath>

namespace mirkano::bench {

// The prize columns of a game's bundled CSV, found by their names; empty
// when the file is not there.
inline PrizeTable realPrizes(GameId game)
{
    try {
        return readGameHistoryCsv(QFileInfo(QStringLiteral(MIRKANO_SAMPLE_CSV)).absolutePath() + u'/'
                                      + mirkano::game(game).cliName.toString() + QStringLiteral("-prizes.csv"),
                                  game)
            .prizes;
    } catch (const HistoryError&) {
        return {};
    }
}

inline PrizeTable syntheticPrizes(GameId game)
{
    const Game& g = mirkano::game(game);
    const double tickets = 5'000'000;
    PrizeTable table;
    table.reserve(kMaxDrawNo);
    for (int no = 1; no <= kMaxDrawNo; ++no) {
        DrawPrizes p;
        p.drawNo = no;
        for (int c = 1; c <= g.prizeClassCount(); ++c) {
            const double expected = tickets * g.prizeProbability(c) * (0.6 + 0.1 * (no % 9));
            const std::int64_t winners = std::llround(expected);
            p.winners[std::size_t(c - 1)] = winners;
            p.prize[std::size_t(c - 1)] = winners > 0 ? Yen(tickets * g.price * 0.09 / double(winners)) / 100 * 100 : 0;
        }
        if (hasCarryOver(game))
            p.carryOver = no % 3 == 0 ? Yen(300'000'000) : Yen(0);
        if (no % 2 == 0)
            p.sales = Yen(tickets) * g.price;
        table.push_back(p);
    }
    return table;
}

template <GameId game>
const PrizeTable& gameRealPrizes()
{
    static const PrizeTable p = realPrizes(game);
    return p;
}

template <GameId game>
const PrizeTable& gameSyntheticPrizes()
{
    static const PrizeTable p = syntheticPrizes(game);
    return p;
}

using PrizesFn = const PrizeTable& (*)();

// Every game's inputs with their prize data: value/<game>/real, value/<game>/synthetic32767.
struct PrizeInput {
    GameId game;
    const char* name;
    InputFn input;
    PrizesFn prizes;
};
inline constexpr std::array<PrizeInput, 6> kPrizeInputs{{
    {GameId::Loto6, "loto6/real", &realInput, &gameRealPrizes<GameId::Loto6>},
    {GameId::Loto6, "loto6/synthetic32767", &syntheticInput, &gameSyntheticPrizes<GameId::Loto6>},
    {GameId::Loto7, "loto7/real", &gameRealInput<GameId::Loto7>, &gameRealPrizes<GameId::Loto7>},
    {GameId::Loto7, "loto7/synthetic32767", &gameSyntheticInput<GameId::Loto7>, &gameSyntheticPrizes<GameId::Loto7>},
    {GameId::MiniLoto, "miniloto/real", &gameRealInput<GameId::MiniLoto>, &gameRealPrizes<GameId::MiniLoto>},
    {GameId::MiniLoto, "miniloto/synthetic32767", &gameSyntheticInput<GameId::MiniLoto>,
     &gameSyntheticPrizes<GameId::MiniLoto>},
}};

}  // namespace mirkano::bench
