#include "core/analysis/combination/combination.h"
#include "core/analysis/combination/combination_sheet.h"

namespace mirkano {

namespace {

// Low numbers are 1 to 21; 22 to 43 are high.
constexpr int kHighestLow = 21;
constexpr bool isLow(int n) { return n <= kHighestLow; }

}  // namespace

Sheet buildLowHighSheet(const History& history, const StartupTables& t)
{
    using namespace combination;
    Sheet s = makePatternSheet(t.latestDrawNo, {QStringLiteral("　　本 数 字"), QStringLiteral("低数字"),
                                                QStringLiteral("高数字")});

    // Low numbers are marked, the bonus too, but only the six main numbers
    // are counted; the letter follows the low count.
    int row = 2;
    for (const DrawRecord& d : history) {
        if (!d.complete())
            continue;
        s.setText(1, row, d.drawNo);
        int low = 0;
        for (int i = 0; i < 6; ++i) {
            s.setText(i + 2, row, d.main(i));
            if (isLow(d.main(i))) {
                s.setBackground(Block::cell(i + 2, row), colors::lightCyan);
                ++low;
            }
        }
        s.setText(kPatternBonusColumn, row, d.bonus());
        if (isLow(d.bonus()))
            s.setBackground(Block::cell(kPatternBonusColumn, row), colors::lightCyan);
        s.setText(9, row, low);
        s.setText(10, row, 6 - low);
        writePatternLetter(s, low, kPatternLetterColumn, row);
        ++row;
    }
    return s;
}

}  // namespace mirkano
