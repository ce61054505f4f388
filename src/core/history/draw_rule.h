#pragma once
// The one rule for what a history row may hold: 回数 a whole number 1 … 32767
// (unique within the history), each of the game's numbers (Loto 6: six and
// the bonus) empty or a whole number 1 … the game's pool (Loto 6: 43). The
// CSV import, the entry window, the store's writes and the check of a
// downloaded history all read fields through these functions.

#include "core/history/history.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <span>

namespace mirkano {

inline constexpr bool isDrawNo(long long v) { return v >= 1 && v <= kMaxDrawNo; }
// A number of some game: 1 … the largest pool (Loto 6's 43).
inline constexpr bool isNumber(long long v) { return v >= 1 && v <= kMaxPool; }
// A number of the game: 1 … its pool.
inline bool isNumber(long long v, GameId g) { return v >= 1 && v <= game(g).pool; }

// Decimal digits with an optional sign, blanks around them ignored; nullopt
// for anything else ("10.5", "1e1", letters, an empty text). Values too long
// to matter come back as a large number so that a range check reports them.
std::optional<long long> parseWholeNumber(QStringView text);

// A field's text read against the rule.
struct FieldReading {
    enum Kind { Empty, Valid, NotWhole, OutOfRange };
    Kind kind = Empty;
    int value = 0;  // the number when Valid, else 0
};
FieldReading readNumberText(QStringView text, GameId game);  // a number field: empty or 1 … pool
FieldReading readDrawNoText(QStringView text);  // 回数: 1 … 32767; Empty means no 回数 yet

// Why a number cell of the entry grid is wrong, read from the number texts
// of its draw as typed: the game's main numbers, then its bonus numbers
// (Loto 6: 第1数字 … 第6数字, ボーナス数字). A cell that is wrong on its own
// (not a whole number, outside 1 … pool) reports that first; a main number
// that another main number of the draw repeats is Repeated (both cells), a
// bonus equal to one of the main numbers is BonusEqualsMain (the bonus
// cell), and the two bonus numbers of a Loto 7 draw that are equal are
// BonusRepeated (both cells). Empty cells are never wrong.
enum class NumberProblem { None, NotWhole, OutOfRange, Repeated, BonusEqualsMain, BonusRepeated };
NumberProblem numberProblem(std::span<const QString> texts, int index, GameId game);
// The rule the cell breaks, in words for the player, with the game's range;
// empty for None.
QString numberProblemText(NumberProblem problem, GameId game);

// Whether two of the row's non-empty numbers (mains and bonus) are equal.
bool hasRepeatedNumber(const DrawRecord& row);

// A row that may be stored: 回数 1 … 32767 and each number of its game 0
// (empty) or 1 … the game's pool.
bool isStorableRow(const DrawRecord& row);

}  // namespace mirkano
