#pragma once
// The prize data of the draws, as the public result files give it: for each
// prize class the winning tickets (口数) and the yen paid per winning ticket
// (賞金, 0 where nobody won), the carry-over into the next draw
// (キャリーオーバー) and the sales (販売実績額). Any field may be unknown: the
// sources fill them in at different times, and a merge completes them. The
// history file keeps them in a table of their own, so a file without prize
// data reads and writes as before.

#include "core/game/game.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace mirkano {

// Amounts in yen: 64-bit, as carry-overs pass 2³¹ (one public file caps them
// at 2,147,483,647, a 32-bit overflow).
using Yen = std::int64_t;

// The most prize classes of any game (Loto 7: 1等 … 6等).
inline constexpr int kMaxPrizeClasses = 6;

// The value a 32-bit overflow leaves in an amount: a field equal to it is
// suspect and is named to the user; a merge with another source replaces it.
inline constexpr Yen kSuspectYen = 2147483647;

struct DrawPrizes {
    int drawNo = 0;                                              // 回数
    std::array<std::optional<std::int64_t>, kMaxPrizeClasses> winners{};  // N等口数, 1等 first
    std::array<std::optional<Yen>, kMaxPrizeClasses> prize{};    // N等賞金: yen per winning ticket
    std::optional<Yen> carryOver;                                // キャリーオーバー into the next draw
    std::optional<Yen> sales;                                    // 販売実績額
    friend bool operator==(const DrawPrizes&, const DrawPrizes&) = default;

    // No field is known.
    bool empty() const;
    // Every class of the game has its 口数 and 賞金: what the draw paid can be
    // told in yen.
    bool complete(const Game& g) const;
    // The yen a ticket of class c (1 … the game's classes) received; nullopt
    // when the draw's 賞金 of that class is unknown.
    std::optional<Yen> prizeOf(int c) const
    {
        return (c >= 1 && c <= kMaxPrizeClasses) ? prize[std::size_t(c - 1)] : std::nullopt;
    }
};

// The prize data of a history: ascending 回数, one entry per draw at most,
// none that is empty.
using PrizeTable = std::vector<DrawPrizes>;

// The entry of a draw, or nullptr.
const DrawPrizes* findPrizes(const PrizeTable& prizes, int drawNo);

// The field names of a game's prize data, in the order of the public layout:
// 1等口数 … N等口数, 1等賞金 … N等賞金, キャリーオーバー (not for Mini Loto),
// 販売実績額. The history file's prize table names its fields so (with 回数
// first), and export writes them so.
std::vector<QString> prizeFieldNames(GameId game);
// Whether the game carries money to the next draw (Mini Loto does not).
bool hasCarryOver(GameId game);

// Each field of p in the order of prizeFieldNames.
std::vector<std::optional<Yen>> prizeFields(const DrawPrizes& p, GameId game);
// The entry from fields in that order (missing trailing fields unknown).
DrawPrizes prizesFromFields(int drawNo, std::span<const std::optional<Yen>> fields, GameId game);

}  // namespace mirkano
