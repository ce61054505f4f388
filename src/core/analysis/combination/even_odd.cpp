#include "core/analysis/combination/combination.h"
#include "core/analysis/combination/combination_sheet.h"

namespace mirkano {

Sheet buildEvenOddSheet(const History& history, const StartupTables& t)
{
    using namespace combination;
    Sheet s = makePatternSheet(t.latestDrawNo, {QStringLiteral("    本 数 字      "), QStringLiteral("偶数"),
                                                QStringLiteral("奇数")});

    // Every main number is marked even or odd; the bonus is shown only. The
    // letter follows the odd count.
    int row = 2;
    for (const DrawRecord& d : history) {
        if (!d.complete())
            continue;
        s.setText(1, row, d.drawNo);
        int even = 0;
        for (int i = 0; i < 6; ++i) {
            const bool isEven = d.main(i) % 2 == 0;
            s.setText(i + 2, row, d.main(i));
            s.setBackground(Block::cell(i + 2, row), isEven ? colors::lightCyan : colors::white);
            even += isEven;
        }
        s.setText(kPatternBonusColumn, row, d.bonus());
        s.setText(9, row, even);
        s.setText(10, row, 6 - even);
        writePatternLetter(s, 6 - even, kPatternLetterColumn, row);
        ++row;
    }
    return s;
}

}  // namespace mirkano
