#include "analysis/interval/interval.h"

#include <array>

namespace mirkano {

namespace {

constexpr int kColumns = 15;
constexpr int kFirstDataRow = 3;
constexpr int kBonusColumn = 14;

// The two header rows starting at row r. At the bottom the copy is mirrored:
// the column names come first, next to the data, and the title row second.
void drawHeader(Sheet& s, int r, bool bottom)
{
    const int titleRow = bottom ? r + 1 : r;
    const int nameRow = bottom ? r : r + 1;

    // The title row reads as two framed blocks: the main numbers over
    // columns 2 to 13 and the bonus over columns 14 and 15.
    s.clearBorder({2, titleRow, kBonusColumn, titleRow});
    s.setBorder({2, titleRow, kBonusColumn, titleRow}, BorderOutline);
    s.clearBorder({kBonusColumn, titleRow, kColumns, titleRow});
    s.setBorder({kBonusColumn, titleRow, kColumns, titleRow}, BorderOutline);
    s.setBorder(Block::cell(kBonusColumn, titleRow), BorderLeft);
    s.setBorder(Block::cell(kColumns, titleRow), BorderRight);

    s.setColors({2, r, kColumns, r + 1}, colors::black, colors::lightRed);
    s.setAllowOverflow(true);

    s.setText(7, titleRow, QStringLiteral("    当 選 数 字     "));
    s.setHAlign(Block::cell(7, titleRow), HAlign::Left);
    s.setText(kBonusColumn, titleRow, QStringLiteral("　　　ボ数字   "));
    s.setHAlign(Block::cell(kBonusColumn, titleRow), HAlign::Left);

    s.setText(1, nameRow, QStringLiteral("回数"));
    for (int k = 1; k <= 6; ++k)
        s.setText(2 * k, nameRow, QStringLiteral("第%1数字").arg(k));
    s.setText(kBonusColumn, nameRow, QStringLiteral("ボ数字"));
    for (int k = 1; k <= kNumbersPerDraw; ++k)
        s.setText(2 * k + 1, nameRow, QStringLiteral("出現"));
}

// Where each number last came up: the latest draw number of a complete draw
// holding it, and the latest one before that. Together they answer "the
// nearest earlier draw number holding this number" in constant time for any
// draw number, without a table indexed by draw number.
class LastSeen {
public:
    // The interval in draw numbers to the number's nearest appearance in a
    // draw numbered below n, or 0 when it has none.
    int intervalBefore(int number, int n) const
    {
        if (!inRange(number))
            return 0;
        const Seen& s = m_seen[std::size_t(number)];
        const int m = s.last < n ? s.last : s.beforeLast;
        return m >= 1 && m < n ? n - m : 0;
    }
    void record(int number, int n)
    {
        if (!inRange(number))
            return;
        Seen& s = m_seen[std::size_t(number)];
        if (s.last != n) {
            s.beforeLast = s.last;
            s.last = n;
        }
    }

private:
    static bool inRange(int number) { return number >= 1 && number <= kMaxNumber; }
    struct Seen {
        int last = 0, beforeLast = 0;
    };
    std::array<Seen, kMaxNumber + 1> m_seen{};
};

}  // namespace

Sheet buildAppearanceIntervalSheet(const History& history, const StartupTables& t)
{
    const int g = t.latestDrawNo;
    const int rows = g + 4;

    Sheet s;
    s.setUp(kColumns, rows, kColumns, 52, ScrollBars::Vertical, 2, 0, 5, 10);
    s.setRowHeight(1, 15);
    s.setRowHeight(2, 12);
    s.setColors({1, 1, 1, rows}, colors::red, colors::lightYellow);
    for (int c = 2; c <= kBonusColumn; c += 2)
        s.setBackground({c, kFirstDataRow, c, rows}, colors::lightCyan);
    s.setBorder({1, 1, kColumns, rows}, BorderAll);
    s.setActiveCell(0, 0);

    drawHeader(s, 1, false);
    drawHeader(s, g + 3, true);

    // Every row of the history takes a sheet row, so an incomplete draw
    // leaves its row blank and is not looked back on. Intervals are
    // differences of draw numbers: gaps in the numbering count.
    LastSeen seen;
    int row = kFirstDataRow;
    for (const DrawRecord& d : history) {
        if (d.complete()) {
            const int n = d.drawNo;
            s.setText(1, row, n);
            for (int k = 0; k < kNumbersPerDraw; ++k) {
                const int number = d.numbers[std::size_t(k)];
                s.setText(2 * k + 2, row, number);
                const int interval = seen.intervalBefore(number, n);
                s.setText(2 * k + 3, row,
                          interval > 0 ? QString::number(interval) + QStringLiteral("回前")
                                       : QStringLiteral("初回"));
            }
            for (int number : d.numbers)
                seen.record(number, n);
        }
        ++row;
    }
    return s;
}

}  // namespace mirkano
