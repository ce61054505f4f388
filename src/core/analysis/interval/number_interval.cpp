#include "analysis/interval/interval.h"

namespace mirkano {

namespace {

constexpr int kColumns = 15;
constexpr int kFirstDataRow = 3;
constexpr int kBonusColumn = 14;

// The two header rows starting at row r. At the bottom the copy is mirrored:
// the column names come first and the title row second.
void drawHeader(Sheet& s, int r, bool bottom)
{
    const int titleRow = bottom ? r + 1 : r;
    const int nameRow = bottom ? r : r + 1;

    // The title row reads as two wide cells: the main numbers over columns
    // 2 to 13 and the bonus over columns 14 and 15.
    s.clearBorder({2, titleRow, kBonusColumn, titleRow});
    s.clearBorder({kBonusColumn, titleRow, kColumns, titleRow});
    s.setBorder(Block::cell(kBonusColumn, titleRow), BorderLeft);
    s.setBorder(Block::cell(kColumns, titleRow), BorderRight);

    s.setColors({2, r, kColumns, r + 1}, colors::black, colors::lightRed);
    s.setAllowOverflow(true);

    s.setText(7, titleRow, QStringLiteral("    本 数 字     "));
    s.setHAlign(Block::cell(7, titleRow), HAlign::Left);
    s.setText(kBonusColumn, titleRow, QStringLiteral("     ボ数字   　   "));
    s.setHAlign(Block::cell(kBonusColumn, titleRow), HAlign::Left);

    s.setText(1, nameRow, QStringLiteral("回数"));
    for (int k = 1; k <= 6; ++k)
        s.setText(2 * k, nameRow, QStringLiteral("第%1数字").arg(k));
    s.setText(kBonusColumn, nameRow, QStringLiteral("ボ数字"));
    for (int k = 1; k <= kNumbersPerDraw; ++k)
        s.setText(2 * k + 1, nameRow, QStringLiteral("差分"));
}

}  // namespace

Sheet buildNumberIntervalSheet(const History& history, const StartupTables& t)
{
    const int g = t.latestDrawNo;
    const int rows = g + 4;

    Sheet s;
    s.setUp(kColumns, rows, kColumns, 52, ScrollBars::Vertical, 2, 0, 5, 10);
    s.setRowHeight(1, 15);
    s.setRowHeight(2, 12);
    for (int c = 2; c <= kBonusColumn; c += 2)
        s.setBackground({c, kFirstDataRow, c, rows}, colors::lightCyan);
    s.setColors({1, 1, 1, rows}, colors::red, colors::lightYellow);
    s.setBorder({1, 1, kColumns, rows}, BorderAll);
    s.setActiveCell(0, 0);

    drawHeader(s, 1, false);
    drawHeader(s, g + 3, true);

    // Every row of the history takes a sheet row, so an incomplete draw
    // leaves its row blank. Differences are taken against the last complete
    // draw; the first complete draw has nothing to compare with and shows
    // none, even when incomplete rows precede it.
    std::array<int, kNumbersPerDraw> previous{};
    bool havePrevious = false;
    int row = kFirstDataRow;
    for (const DrawRecord& d : history) {
        if (d.complete()) {
            s.setText(1, row, d.drawNo);
            for (int k = 0; k < kNumbersPerDraw; ++k)
                s.setText(2 * k + 2, row, d.numbers[std::size_t(k)]);
            if (havePrevious) {
                for (int k = 0; k < kNumbersPerDraw; ++k) {
                    const int col = 2 * k + 3;
                    const int diff = d.numbers[std::size_t(k)] - previous[std::size_t(k)];
                    if (diff > 0) {
                        s.setText(col, row, u'+' + QString::number(diff));
                    } else {
                        s.setText(col, row, diff);
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
