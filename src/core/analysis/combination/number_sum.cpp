#include "core/analysis/combination/combination.h"

#include "core/analysis/draw_columns.h"
#include "core/analysis/draw_rows.h"

namespace mirkano {

Sheet buildNumberSumSheet(const History& history, const StartupTables& t)
{
    // 回数, the main numbers, their sum, the bonus numbers and the sum of all
    // (Loto 6: 10 columns, the sum in 8, the bonus in 9).
    const Game& game = t.game();
    const int mainSumColumn = game.mains + 2;
    const int firstBonus = mainSumColumn + 1;
    const int lastBonus = mainSumColumn + game.bonuses;
    const int totalColumn = lastBonus + 1;
    const int columns = totalColumn;
    const int rows = t.latestDrawNo + 1;
    Sheet s;
    s.setUp({.columns = columns, .rows = rows, .visibleColumns = columns, .visibleRows = 51,
             .scrollBars = ScrollBars::Vertical, .frozenRows = 1, .frozenColumns = 0,
             .columnWidth = 5, .rowHeight = 10});
    s.setRowHeight(1, 20);
    s.setColumnWidth(mainSumColumn, 8);
    for (int col = firstBonus; col <= lastBonus; ++col)
        s.setColumnWidth(col, 7);
    s.setColumnWidth(totalColumn, 10);
    s.setColors({1, 2, 1, rows}, colors::red, colors::lightYellow);
    for (int col : {mainSumColumn, totalColumn})
        s.setColors({col, 2, col, rows}, colors::blue, colors::lightCyan);
    s.setBorder({1, 1, columns, rows}, BorderAll);

    // The main-number headers read as one title cell inside an outline
    // that runs on around the sum and bonus headers. The title's lead of
    // spaces, four for each main number but one, centres it over them
    // (Loto 6: 23).
    s.clearBorder({2, 1, mainSumColumn - 1, 1});
    s.setBorder({2, 1, lastBonus, 1}, BorderOutline);
    s.setColors({1, 1, columns, 1}, colors::black, colors::lightRed);
    const int lead = 4 * game.mains - 1;
    s.setText(2, 1, QString(lead, QLatin1Char(' ')) + QStringLiteral("　本 数 字") + QString(30, QLatin1Char(' ')));
    s.setHAlign(Block::cell(2, 1), HAlign::Left);
    s.setAllowOverflow(true);
    s.setText(1, 1, QStringLiteral("回数"));
    s.setText(mainSumColumn, 1, QStringLiteral("本数字合計"));
    for (int j = 0; j < game.bonuses; ++j)
        s.setText(firstBonus + j, 1, bonusColumnName(game, j, QStringLiteral("ボ数字"), s.columnWidth(firstBonus + j)));
    s.setText(totalColumn, 1, QStringLiteral("本数字+ボ数字"));

    // Each row depends on its own draw only, in history order.
    for (const auto [d, row] : completeDrawRows(history, 2)) {
        s.setText(1, row, d.drawNo);
        int sum = 0;
        for (int i = 0; i < d.mainCount(); ++i) {
            s.setText(i + 2, row, d.main(i));
            sum += d.main(i);
        }
        s.setText(mainSumColumn, row, sum);
        for (int j = 0; j < d.bonusCount(); ++j) {
            s.setText(firstBonus + j, row, d.bonus(j));
            sum += d.bonus(j);
        }
        s.setText(totalColumn, row, sum);
    }
    return s;
}

}  // namespace mirkano
