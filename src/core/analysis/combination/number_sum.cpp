#include "core/analysis/combination/combination.h"

namespace mirkano {

namespace {

constexpr int kColumns = 10;
constexpr int kMainSumColumn = 8;
constexpr int kBonusColumn = 9;
constexpr int kTotalColumn = 10;

}  // namespace

Sheet buildNumberSumSheet(const History& history, const StartupTables& t)
{
    const int rows = t.latestDrawNo + 1;
    Sheet s;
    s.setUp({.columns = kColumns, .rows = rows, .visibleColumns = kColumns, .visibleRows = 51,
             .scrollBars = ScrollBars::Vertical, .frozenRows = 1, .frozenColumns = 0,
             .columnWidth = 5, .rowHeight = 10});
    s.setRowHeight(1, 20);
    s.setColumnWidth(kMainSumColumn, 8);
    s.setColumnWidth(kBonusColumn, 7);
    s.setColumnWidth(kTotalColumn, 10);
    s.setColors({1, 2, 1, rows}, colors::red, colors::lightYellow);
    for (int col : {kMainSumColumn, kTotalColumn})
        s.setColors({col, 2, col, rows}, colors::blue, colors::lightCyan);
    s.setBorder({1, 1, kColumns, rows}, BorderAll);

    // The six main-number headers read as one title cell inside an outline
    // that runs on around the sum and bonus headers.
    s.clearBorder({2, 1, 7, 1});
    s.setBorder({2, 1, kBonusColumn, 1}, BorderOutline);
    s.setColors({1, 1, kColumns, 1}, colors::black, colors::lightRed);
    s.setText(2, 1, QString(23, QLatin1Char(' ')) + QStringLiteral("　本 数 字") + QString(30, QLatin1Char(' ')));
    s.setHAlign(Block::cell(2, 1), HAlign::Left);
    s.setAllowOverflow(true);
    s.setText(1, 1, QStringLiteral("回数"));
    s.setText(kMainSumColumn, 1, QStringLiteral("本数字合計"));
    s.setText(kBonusColumn, 1, QStringLiteral("ボ数字"));
    s.setText(kTotalColumn, 1, QStringLiteral("本数字+ボ数字"));

    // Each row depends on its own draw only, in history order.
    int row = 2;
    for (const DrawRecord& d : history) {
        if (!d.complete())
            continue;
        s.setText(1, row, d.drawNo);
        int sum = 0;
        for (int i = 0; i < 6; ++i) {
            s.setText(i + 2, row, d.main(i));
            sum += d.main(i);
        }
        s.setText(kMainSumColumn, row, sum);
        s.setText(kBonusColumn, row, d.bonus());
        s.setText(kTotalColumn, row, sum + d.bonus());
        ++row;
    }
    return s;
}

}  // namespace mirkano
