#pragma once
// The three Japanese number lotteries as facts the rest of the program reads:
// the pool of numbers, how many main and bonus numbers a draw has, the prize
// classes, where low numbers end, and the files a game keeps. Nothing else
// writes a game's numbers down.

#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace mirkano {

enum class GameId { Loto6, Loto7, MiniLoto };

// A prize class: the main numbers a ticket must match and how many of the
// draw's bonus numbers it must (bonusMin … bonusMax) hold among the rest.
struct PrizeClass {
    int mains;
    int bonusMin;
    int bonusMax;
};

struct Game {
    GameId id;
    QStringView name;         // ロト6, ロト7, ミニロト
    QStringView cliName;      // loto6, loto7, miniloto (the --game value)
    int pool;                 // numbers 1 … pool
    int mains;                // main numbers drawn, and numbers on a ticket
    int bonuses;              // bonus numbers drawn
    std::span<const PrizeClass> prizes;  // 1等 first
    QStringView historyFile;  // beside the program
    QStringView settingsFile;

    int numbersPerDraw() const { return mains + bonuses; }
    // Low numbers are 1 … lowHighSplit(), high numbers the rest: ⌊pool / 2⌋.
    int lowHighSplit() const { return pool / 2; }
    int prizeClassCount() const { return int(prizes.size()); }
    // 1 … prizeClassCount(): the class a ticket wins with these matches; 0 for none.
    int prizeClassOf(int mainMatches, int bonusMatches) const;
    // The exact chance that one ticket of `mains` different numbers wins
    // class c (1 … prizeClassCount()), from binomial coefficients.
    double prizeProbability(int c) const;
    // The same as a count of equally likely outcomes: numerator over
    // outcomes(), both exact.
    std::uint64_t prizeOutcomes(int c) const;
    std::uint64_t outcomes() const;
};

const Game& game(GameId id);
// Every game, Loto 6 first.
std::span<const Game> games();
// The game a --game value names (loto6, loto7, miniloto); nullopt otherwise.
std::optional<GameId> gameByCliName(QStringView name);

// C(n, k) exactly for the pools of the games (n ≤ 64 with the results kept
// in 64 bits); 0 when k < 0 or k > n.
std::uint64_t choose(int n, int k);

}  // namespace mirkano
