#include "core/analysis/combination/combination.h"
#include "core/analysis/combination/combination_sheet.h"
#include "core/analysis/draw_rows.h"

#include <array>

namespace mirkano {

namespace {

// Background of a digit cell by how many numbers of the draw end in the digit.
Rgb multiplicityColor(int count)
{
    if (count <= 1)
        return colors::white;
    if (count == 2)
        return colors::lightCyan;
    if (count == 3)
        return colors::lightGreen;
    return colors::lightRed;
}

}  // namespace

Sheet buildLastDigitSheet(const History& history, const StartupTables& t)
{
    using namespace combination;
    Sheet s = makeDigitSheet(t.latestDrawNo);
    // The text of digit d repeated k times, made once and shared by every
    // cell that shows it.
    std::array<std::array<std::uint32_t, kMaxNumbersPerDraw + 1>, 10> texts{};
    const auto repeated = [&](int digit, int k) {
        std::uint32_t& text = texts[std::size_t(digit)][std::size_t(k)];
        if (text == 0)
            text = s.addSharedText(QString(k, QChar(u'0' + digit)));
        return text;
    };

    // One row per complete draw from row 3: digit d's cell repeats d once for
    // every one of the draw's numbers (the bonuses included) that ends in d.
    for (const auto [d, row] : completeDrawRows(history, kFirstDigitRow)) {
        s.setText(1, row, d.drawNo);
        std::array<int, 10> count{};
        for (int n : d.all())
            ++count[std::size_t(n % 10)];
        for (int digit = 0; digit <= 9; ++digit) {
            const int k = count[std::size_t(digit)];
            s.setSharedText(digitColumn(digit), row, repeated(digit, k));
            s.setBackground(Block::cell(digitColumn(digit), row), multiplicityColor(k));
        }
    }
    return s;
}

}  // namespace mirkano
