#pragma once
// The prize data of one draw as the 賞金データ window shows and reads them:
// every field as text (whole numbers with thousands separators, empty where
// the value is unknown), and the texts a player typed read back into a
// DrawPrizes, with the cause in words for a value that cannot be stored and
// the fields whose value looks like a 32-bit overflow.

#include "core/history/draw_prizes.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace mirkano {

// A stored value as the window shows it: "1,234,567", empty for unknown.
QString prizeValueText(std::optional<Yen> value);

// One typed value: empty (or blanks only) is unknown; digits, full-width
// ones too, with "," or "，" between them, a trailing 円 or 口, and
// 「該当なし」 (no winner) for 0. Anything else (a sign, a fraction, letters,
// a value past 64 bits) is refused: error holds the cause, naming the field.
struct PrizeValueReading {
    std::optional<Yen> value;
    QString error;
};
PrizeValueReading readPrizeValue(const QString& field, const QString& text);

// The fields of a draw, texts in the order of prizeFieldNames(game): the
// entry, or the first refusal (error, and errorField its position); suspect
// names the fields equal to kSuspectYen, which the window asks about before
// storing.
struct PrizeFormReading {
    DrawPrizes prizes;
    QString error;
    int errorField = -1;
    QStringList suspect;
};
PrizeFormReading readPrizeForm(int drawNo, const QStringList& texts, GameId game);

}  // namespace mirkano
