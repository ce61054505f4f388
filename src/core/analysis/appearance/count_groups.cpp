#include "core/analysis/appearance/appearance.h"

namespace mirkano {

Sheet buildCountGroupsSheet(const History&, const StartupTables& t)
{
    Sheet s;
    const int rows = t.countGroupRows;
    s.setUp({.columns = 2, .rows = rows, .visibleColumns = 2, .visibleRows = rows,
             .scrollBars = ScrollBars::Horizontal, .frozenRows = 0, .frozenColumns = 0,
             .columnWidth = 5, .rowHeight = 10});
    s.setColumnWidth(1, 5);
    s.setColumnWidth(2, 20);
    s.setBorder({1, 1, 2, rows}, BorderAll);
    // The label column is light yellow in every data row. (Rows up to the
    // latest draw number plus 2 would cover them only while no draw repeats a
    // number; a repeated number can give more distinct counts than draws.)
    s.setBackground({1, 2, 1, rows}, colors::lightYellow);
    s.setActiveCell(0, 0);

    s.setText(1, 1, QStringLiteral("出 現"));
    s.setText(2, 1, QStringLiteral("数 字"));
    s.setBackground({1, 1, 2, 1}, colors::lightRed);
    s.setAllowOverflow(true);
    // Every data row of the number column is blue and left-aligned, however
    // short the history is.
    s.setForeground({2, 2, 2, rows}, colors::blue);
    s.setHAlign({2, 2, 2, rows}, HAlign::Left);

    int row = 1;
    for (int c = 0; c <= t.maxCount; ++c) {
        const QString& group = t.countGroups[std::size_t(c)];
        if (group.isEmpty())
            continue;
        ++row;
        s.setText(1, row, QString::number(c) + u'回');
        s.setText(2, row, group);
    }
    return s;
}

}  // namespace mirkano
