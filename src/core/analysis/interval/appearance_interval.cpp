#include "core/analysis/interval/interval.h"
#include "core/analysis/interval/interval_sheet.h"

#include <array>

namespace mirkano {

namespace {

// Where each number last came up: the latest draw number of a complete draw
// holding it, and the latest one before that. Together they answer "the
// nearest earlier draw number holding this number" in constant time for any
// draw number, without a table indexed by draw number. Numbers are 1 … pool,
// as in every complete draw.
class LastSeen {
public:
    // The interval in draw numbers to the number's nearest appearance in a
    // draw numbered below n, or 0 when it has none.
    int intervalBefore(int number, int n) const
    {
        const Seen& s = m_seen[std::size_t(number)];
        const int m = s.last < n ? s.last : s.beforeLast;
        return m >= 1 && m < n ? n - m : 0;
    }
    void record(int number, int n)
    {
        Seen& s = m_seen[std::size_t(number)];
        if (s.last != n) {
            s.beforeLast = s.last;
            s.last = n;
        }
    }

private:
    struct Seen {
        int last = 0, beforeLast = 0;
    };
    std::array<Seen, kMaxPool + 1> m_seen{};
};

}  // namespace

Sheet buildAppearanceIntervalSheet(const History& history, const StartupTables& t)
{
    Sheet s = interval::makeIntervalSheet(
        t.game(), t.latestDrawNo, {QStringLiteral("    当 選 数 字     "), QStringLiteral("　　　ボ数字   "),
                         QStringLiteral("出現"), true});

    // Every row of the history takes a sheet row, so an incomplete draw
    // leaves its row blank and is not looked back on. Intervals are
    // differences of draw numbers: gaps in the numbering count.
    LastSeen seen;
    interval::FigureTexts figure(s, 0, [](int interval) {
        return interval > 0 ? QString::number(interval) + QStringLiteral("回前") : QStringLiteral("初回");
    });
    int row = interval::kFirstDataRow;
    for (const DrawRecord& d : history) {
        if (d.complete()) {
            const int n = d.drawNo;
            s.setText(1, row, n);
            const std::span<const int> numbers = d.all();
            for (int k = 0; k < int(numbers.size()); ++k) {
                const int number = numbers[std::size_t(k)];
                s.setText(interval::numberColumn(k), row, number);
                const int interval = seen.intervalBefore(number, n);
                figure.set(interval::figureColumn(k), row, interval);
            }
            for (int number : d.all())
                seen.record(number, n);
        }
        ++row;
    }
    return s;
}

}  // namespace mirkano
