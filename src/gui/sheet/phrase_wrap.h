#pragma once
// Line breaks for a Japanese sentence that only fall between phrases. The
// toolkit's word wrap may break Japanese text between any two characters
// (高数 / 字, （２ / ２～４３）); a description wrapped here keeps words,
// numbers and parenthesised ranges whole.

#include <QFontMetrics>
#include <QString>

#include <vector>

namespace mirkano {

// Where a line may end inside `text`: after 、 and 。, before an opening and
// after a closing bracket, and where a run of hiragana (the particle or the
// ending of a phrase) is followed by anything else. Positions are indexes of
// the character that would start the next line.
std::vector<int> phraseBreaks(const QString& text);

// The text with a line feed at the last phrase break before each line would
// grow wider than `width` pixels in `fm`. A single phrase wider than a line
// is broken where the width runs out. Text that fits is returned unchanged.
QString phraseWrapped(const QString& text, const QFontMetrics& fm, int width);

}  // namespace mirkano
