#pragma once
// The one rule for what a history row may hold: 回数 a whole number 1 … 32767
// (unique within the history), each of the seven numbers empty or a whole
// number 1 … 43. The CSV import, the entry window, the store's writes and the
// check of a downloaded history all read fields through these functions.

#include "core/shell/history.h"

#include <QStringView>

#include <optional>

namespace mirkano {

inline constexpr bool isDrawNo(long long v) { return v >= 1 && v <= kMaxDrawNo; }
inline constexpr bool isNumber(long long v) { return v >= 1 && v <= kMaxNumber; }

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
FieldReading readNumberText(QStringView text);  // a number field: empty or 1 … 43
FieldReading readDrawNoText(QStringView text);  // 回数: 1 … 32767; Empty means no 回数 yet

// A row that may be stored: 回数 1 … 32767 and each number 0 (empty) or 1 … 43.
bool isStorableRow(const DrawRecord& row);

}  // namespace mirkano
