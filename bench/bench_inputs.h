#pragma once
// The histories every benchmark runs on: the bundled real history and the
// longest history the draw numbers allow (32,767 complete draws from a
// fixed-seed generator, so every run measures the same history), each with
// its start-up tables, made on first use and kept for the whole program.
// Loto 6's are "real" and "synthetic32767"; the other games' carry the
// game's name (loto7/real, miniloto/synthetic32767).

#include "core/history/history.h"
#include "core/history/history_csv.h"
#include "core/history/startup_tables.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <array>
#include <cstdint>

namespace mirkano::bench {

struct Input {
    History history;
    StartupTables tables;
};

inline History syntheticHistory(GameId game = GameId::Loto6)
{
    const int pool = mirkano::game(game).pool;
    History h;
    h.reserve(kMaxDrawNo);
    std::uint32_t state = 12345;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (int drawNo = 1; drawNo <= kMaxDrawNo; ++drawNo) {
        DrawRecord d{drawNo, {}, game};
        std::array<bool, kMaxPool + 1> used{};
        for (int& n : d.all()) {
            do
                n = int(next() % unsigned(pool)) + 1;
            while (used[std::size_t(n)]);
            used[std::size_t(n)] = true;
        }
        h.push_back(d);
    }
    return h;
}

// The bundled history of another game beside the Loto 6 one (data/loto7.csv,
// data/miniloto.csv: 回数,日付, then the game's numbers).
inline History gameCsvHistory(GameId game)
{
    const Game& g = mirkano::game(game);
    QFile f(QFileInfo(QStringLiteral(MIRKANO_SAMPLE_CSV)).absolutePath() + u'/' + g.cliName.toString() +
            QStringLiteral(".csv"));
    History h;
    if (!f.open(QIODevice::ReadOnly))
        return h;
    const QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(u',');
        DrawRecord d{fields.value(0).toInt(), {}, game};
        for (int k = 0; k < g.numbersPerDraw(); ++k)
            d.numbers[std::size_t(k)] = fields.value(2 + k).toInt();
        h.push_back(d);
    }
    return h;
}

template <GameId game>
const Input& gameRealInput()
{
    static const Input in = [] {
        Input i{gameCsvHistory(game), {}};
        i.tables = buildStartupTables(i.history, game);
        return i;
    }();
    return in;
}

template <GameId game>
const Input& gameSyntheticInput()
{
    static const Input in = [] {
        Input i{syntheticHistory(game), {}};
        i.tables = buildStartupTables(i.history, game);
        return i;
    }();
    return in;
}

inline const Input& realInput()
{
    static const Input in = [] {
        Input i{readHistoryCsv(QStringLiteral(MIRKANO_SAMPLE_CSV)), {}};
        i.tables = buildStartupTables(i.history);
        return i;
    }();
    return in;
}

inline const Input& syntheticInput()
{
    static const Input in = [] {
        Input i{syntheticHistory(), {}};
        i.tables = buildStartupTables(i.history);
        return i;
    }();
    return in;
}

using InputFn = const Input& (*)();

struct NamedInput {
    const char* name;
    InputFn input;
};

inline constexpr std::array<NamedInput, 2> kInputs{{{"real", &realInput}, {"synthetic32767", &syntheticInput}}};

// Every game's inputs, for the analysis builders and windows, which differ by game.
struct GameInput {
    GameId game;
    const char* name;
    InputFn input;
};
inline constexpr std::array<GameInput, 6> kGameInputs{{
    {GameId::Loto6, "real", &realInput},
    {GameId::Loto6, "synthetic32767", &syntheticInput},
    {GameId::Loto7, "loto7/real", &gameRealInput<GameId::Loto7>},
    {GameId::Loto7, "loto7/synthetic32767", &gameSyntheticInput<GameId::Loto7>},
    {GameId::MiniLoto, "miniloto/real", &gameRealInput<GameId::MiniLoto>},
    {GameId::MiniLoto, "miniloto/synthetic32767", &gameSyntheticInput<GameId::MiniLoto>},
}};

}  // namespace mirkano::bench
