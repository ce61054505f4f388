#pragma once
// The prize columns of a CSV in the public layouts: N等口数 (winning tickets
// of a class), N等賞金 (yen per winning ticket), キャリーオーバー and
// 販売実績額. The CSV reader finds them in the header and reads each row's
// fields through these functions into the draw's DrawPrizes.
//
// An amount is whole yen (or tickets) as 64-bit: digits with thousands
// separators ("1,234,567", only in groups of three), an optional 円 (口 for a
// 口数), or 「該当なし」 for a class nobody won (0). An empty field is
// unknown. Texts reach these functions already folded by the reader (full-width
// digits and commas as half-width, blanks removed).

#include "core/history/draw_prizes.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace mirkano {

// The largest amount the reader takes: 999兆円, far above any sales or
// carry-over; more is a typing error, not money.
inline constexpr Yen kMaxCsvAmount = 999'999'999'999'999;

// The prize field (an index into prizeFieldNames(game)) a folded header title
// names, or -1. Titles: N等口数 (also N等当選口数, N等当せん口数), N等賞金
// (also N等当選金額, N等当せん金額), キャリーオーバー (also キャリーオーバー額),
// 販売実績額 (also 販売額); classes beyond the game's are not its fields.
int prizeFieldOfTitle(QStringView foldedTitle, GameId game);

// A prize field's folded text.
struct AmountReading {
    enum Kind { Empty, Valid, Bad };
    Kind kind = Empty;
    Yen value = 0;
    QString cause;  // when Bad: why, for the message about the line
};
// Reads the text of prize field `field` (index into prizeFieldNames(game)).
AmountReading readPrizeAmount(QStringView foldedText, int field, GameId game);

// The warning about a value equal to kSuspectYen read from a CSV: the file,
// the line, 回数 and the field, and why it is suspect.
QString suspectAmountWarning(const QString& source, int line, int drawNo, QStringView fieldName);

}  // namespace mirkano
