#pragma once
// The three Japanese number lotteries as facts the rest of the program reads:
// the pool of numbers, how many main and bonus numbers a draw has, the prize
// classes, where low numbers end, the price of a ticket and the files a game
// keeps. Nothing else writes a game's numbers down.

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
    int price;                // yen per ticket

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

// The most numbers a draw of any game has (Loto 7: seven and two bonuses),
// and the largest pool (Loto 6: 43): sizes of fixed tables.
inline constexpr int kMaxNumbersPerDraw = 9;
inline constexpr int kMaxPool = 43;

namespace detail {
inline constexpr PrizeClass kLoto6Prizes[] = {
    {6, 0, 1},  // 1等: all six
    {5, 1, 1},  // 2等: five and the bonus
    {5, 0, 0},  // 3等: five
    {4, 0, 1},  // 4等: four
    {3, 0, 1},  // 5等: three
};
inline constexpr PrizeClass kLoto7Prizes[] = {
    {7, 0, 2},  // 1等: all seven
    {6, 1, 2},  // 2等: six and either bonus
    {6, 0, 0},  // 3等: six
    {5, 0, 2},  // 4等: five
    {4, 0, 2},  // 5等: four
    {3, 1, 2},  // 6等: three and one or both bonuses
};
inline constexpr PrizeClass kMiniLotoPrizes[] = {
    {5, 0, 1},  // 1等: all five
    {4, 1, 1},  // 2等: four and the bonus
    {4, 0, 0},  // 3等: four
    {3, 0, 1},  // 4等: three
};

inline constexpr Game kGames[] = {
    {GameId::Loto6, u"ロト6", u"loto6", 43, 6, 1, kLoto6Prizes, u"Mirkano.mdb", u"ミルカノ.ini", 200},
    {GameId::Loto7, u"ロト7", u"loto7", 37, 7, 2, kLoto7Prizes, u"Mirkano7.mdb", u"ミルカノ7.ini", 300},
    {GameId::MiniLoto, u"ミニロト", u"miniloto", 31, 5, 1, kMiniLotoPrizes, u"MirkanoMini.mdb", u"ミルカノミニ.ini", 200},
};

}  // namespace detail

inline const Game& game(GameId id) { return detail::kGames[std::size_t(id)]; }
// Every game, Loto 6 first.
std::span<const Game> games();
// The game a --game value names (loto6, loto7, miniloto); nullopt otherwise.
std::optional<GameId> gameByCliName(QStringView name);

// C(n, k) exactly for the pools of the games (n ≤ 64 with the results kept
// in 64 bits); 0 when k < 0 or k > n.
std::uint64_t choose(int n, int k);

}  // namespace mirkano
