#include "core/analysis/number_map.h"

namespace mirkano {

void writeNumberMapHeader(Sheet& s, int row, const Game& g)
{
    s.setText(1, row, QStringLiteral("回"));
    for (int n = 1; n <= g.pool; ++n)
        s.setText(numberMapColumn(n), row, n);
    s.setText(numberMapColumns(g), row, QStringLiteral("回"));
}

void markDraw(Sheet& s, int row, const DrawRecord& d)
{
    const int last = numberMapColumns(d.facts());
    s.setText(1, row, d.drawNo);
    s.setText(last, row, d.drawNo);
    const std::span<const int> numbers = d.all();
    for (int k = 0; k < int(numbers.size()); ++k) {
        const Block mark = Block::cell(numberMapColumn(numbers[std::size_t(k)]), row);
        s.setText(mark.col1, row, QStringLiteral("●"));
        s.setForeground(mark, k < d.mainCount() ? colors::mainMark : colors::bonusMark);
    }
}

}  // namespace mirkano
