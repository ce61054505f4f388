#include "core/analysis/combination/combination.h"
#include "core/analysis/combination/combination_sheet.h"
#include "core/analysis/draw_rows.h"

namespace mirkano {

Sheet buildEvenOddSheet(const History& history, const StartupTables& t)
{
    using namespace combination;
    const PatternColumns cols(t.game());
    Sheet s = makePatternSheet(t.game(), t.latestDrawNo, {QStringLiteral("    本 数 字      "), QStringLiteral("偶数"),
                                                QStringLiteral("奇数")});

    // Every main number is marked even or odd; the bonus numbers are shown
    // only. The letter follows the odd count.
    for (const auto [d, row] : completeDrawRows(history, 2)) {
        s.setText(1, row, d.drawNo);
        int even = 0;
        const int mains = d.mainCount();
        for (int i = 0; i < mains; ++i) {
            const bool isEven = d.main(i) % 2 == 0;
            s.setText(i + 2, row, d.main(i));
            s.setBackground(Block::cell(i + 2, row), isEven ? colors::lightCyan : colors::white);
            even += isEven;
        }
        for (int j = 0; j < d.bonusCount(); ++j)
            s.setText(cols.firstBonus + j, row, d.bonus(j));
        s.setText(cols.firstCount, row, even);
        s.setText(cols.secondCount, row, mains - even);
        writePatternLetter(s, mains - even, cols.letter, row);
    }
    return s;
}

}  // namespace mirkano
