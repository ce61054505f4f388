#include "core/analysis/combination/combination.h"
#include "core/analysis/combination/combination_sheet.h"
#include "core/analysis/draw_rows.h"

namespace mirkano {

Sheet buildLowHighSheet(const History& history, const StartupTables& t)
{
    using namespace combination;
    // Low numbers are 1 … ⌊pool / 2⌋ (Loto 6: 1 to 21), the rest high.
    const Game& game = t.game();
    const int highestLow = game.lowHighSplit();
    const auto isLow = [highestLow](int n) { return n <= highestLow; };
    const PatternColumns cols(game);
    Sheet s = makePatternSheet(game, t.latestDrawNo, {QStringLiteral("　　本 数 字"), QStringLiteral("低数字"),
                                                QStringLiteral("高数字")});

    // Low numbers are marked, the bonus numbers too, but only the main
    // numbers are counted; the letter follows the low count.
    for (const auto [d, row] : completeDrawRows(history, 2)) {
        s.setText(1, row, d.drawNo);
        int low = 0;
        for (int i = 0; i < d.mainCount(); ++i) {
            s.setText(i + 2, row, d.main(i));
            if (isLow(d.main(i))) {
                s.setBackground(Block::cell(i + 2, row), colors::lightCyan);
                ++low;
            }
        }
        for (int j = 0; j < d.bonusCount(); ++j) {
            s.setText(cols.firstBonus + j, row, d.bonus(j));
            if (isLow(d.bonus(j)))
                s.setBackground(Block::cell(cols.firstBonus + j, row), colors::lightCyan);
        }
        s.setText(cols.firstCount, row, low);
        s.setText(cols.secondCount, row, d.mainCount() - low);
        writePatternLetter(s, low, cols.letter, row);
    }
    return s;
}

}  // namespace mirkano
