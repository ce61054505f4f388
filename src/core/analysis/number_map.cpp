#include "core/analysis/number_map.h"

namespace mirkano {

void writeNumberMapHeader(Sheet& s, int row)
{
    s.setText(1, row, QStringLiteral("回"));
    for (int n = 1; n <= kMaxNumber; ++n)
        s.setText(numberMapColumn(n), row, n);
    s.setText(kNumberMapColumns, row, QStringLiteral("回"));
}

void markDraw(Sheet& s, int row, const DrawRecord& d)
{
    s.setText(1, row, d.drawNo);
    s.setText(kNumberMapColumns, row, d.drawNo);
    for (int k = 0; k < kNumbersPerDraw; ++k) {
        const Block mark = Block::cell(numberMapColumn(d.numbers[std::size_t(k)]), row);
        s.setText(mark.col1, row, QStringLiteral("●"));
        s.setForeground(mark, k < kNumbersPerDraw - 1 ? colors::mainMark : colors::bonusMark);
    }
}

}  // namespace mirkano
