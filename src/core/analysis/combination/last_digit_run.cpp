#include "core/analysis/combination/combination.h"
#include "core/analysis/combination/combination_sheet.h"

#include <array>
#include <vector>

namespace mirkano {

namespace {

// Background of a run cell by the run written into it.
Rgb runColor(int run)
{
    if (run <= 3)
        return colors::lightCyan;
    if (run <= 6)
        return colors::lightGreen;
    if (run <= 9)
        return colors::lightYellow;
    if (run <= 12)
        return colors::lightMagenta;
    return colors::lightRed;
}

}  // namespace

Sheet buildLastDigitRunSheet(const History& history, const StartupTables& t)
{
    using namespace combination;
    const int latest = t.latestDrawNo;

    // For each last digit, the draw number of every complete draw once for
    // each of its numbers (the bonuses included) that ends in the digit,
    // in history order.
    std::array<std::vector<int>, 10> occurrences;
    for (const DrawRecord& d : history) {
        if (!d.complete())
            continue;
        for (int n : d.all())
            occurrences[std::size_t(n % 10)].push_back(d.drawNo);
    }

    // Draw number n has row n + 2, whether or not the history holds it.
    Sheet s = makeDigitSheet(latest);
    for (int n = 1; n <= latest; ++n)
        s.setText(1, n + 2, n);

    // Neighbouring occurrences of a digit in the same or the next draw extend
    // its run; the later one's cell shows the run so far, so a streak's first
    // draw stays empty and a draw holding the digit twice is written twice,
    // the larger count last. Any other step ends the run.
    //
    // Loto 6's sheet looks at the first `latest` pairs of each digit's list,
    // as it always has (its seven numbers a draw keep a real history's lists
    // within that). Loto 7's nine numbers and Mini Loto's six give lists
    // longer than the latest draw number, so their scan takes every pair a
    // history of `latest` draws can hold.
    const std::size_t pairs = history.empty() || history.front().gameId == GameId::Loto6
                                  ? std::size_t(latest)
                                  : std::size_t(latest) * std::size_t(history.front().numberCount());
    for (int digit = 0; digit <= 9; ++digit) {
        const std::vector<int>& list = occurrences[std::size_t(digit)];
        int run = 0;
        for (std::size_t i = 1; i <= pairs && i < list.size(); ++i) {
            const int prev = list[i - 1], cur = list[i];
            if (prev + 1 >= cur) {
                ++run;
                const Block cell = Block::cell(digitColumn(digit), cur + 2);
                s.setText(cell.col1, cell.row1, run);
                s.setBorder(cell, BorderBottom);
                s.setBackground(cell, runColor(run));
            } else {
                run = 0;
            }
        }
    }
    return s;
}

}  // namespace mirkano
