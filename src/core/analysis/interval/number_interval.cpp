#include "core/analysis/interval/interval.h"
#include "core/analysis/interval/interval_sheet.h"

#include <array>

namespace mirkano {

Sheet buildNumberIntervalSheet(const History& history, const StartupTables& t)
{
    Sheet s = interval::makeIntervalSheet(
        t.game(), t.latestDrawNo, {QStringLiteral("    本 数 字     "), QStringLiteral("     ボ数字   　   "),
                         QStringLiteral("差分"), false});

    // Every row of the history takes a sheet row, so an incomplete draw
    // leaves its row blank. Differences are taken against the last complete
    // draw; the first complete draw has nothing to compare with and shows
    // none, even when incomplete rows precede it.
    std::array<int, kMaxNumbersPerDraw> previous{};
    bool havePrevious = false;
    interval::FigureTexts figure(s, kMaxPool, [](int diff) {
        return diff > 0 ? u'+' + QString::number(diff) : QString::number(diff);
    });
    int row = interval::kFirstDataRow;
    for (const DrawRecord& d : history) {
        if (d.complete()) {
            s.setText(1, row, d.drawNo);
            const int count = d.numberCount();
            for (int k = 0; k < count; ++k)
                s.setText(interval::numberColumn(k), row, d.numbers[std::size_t(k)]);
            if (havePrevious) {
                for (int k = 0; k < count; ++k) {
                    const int col = interval::figureColumn(k);
                    const int diff = d.numbers[std::size_t(k)] - previous[std::size_t(k)];
                    if (diff == 0) {
                        s.setText(col, row, 0);
                    } else {
                        figure.set(col, row, diff);
                        if (diff < 0)
                            s.setBackground(Block::cell(col, row), colors::lightMagenta);
                    }
                }
            }
            previous = d.numbers;
            havePrevious = true;
        }
        ++row;
    }
    return s;
}

}  // namespace mirkano
