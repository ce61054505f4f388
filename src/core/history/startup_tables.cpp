#include "core/history/startup_tables.h"

namespace mirkano {

StartupTables buildStartupTables(const History& history, GameId game)
{
    StartupTables t;
    t.gameId = game;
    for (const DrawRecord& row : history) {
        if (!row.complete())
            continue;
        for (int n : row.all())
            ++t.numberCount[std::size_t(n)];
        t.latestDrawNo = row.drawNo;
    }

    // Group the numbers by count, in ascending number order.
    t.maxCount = 0;
    t.countGroupRows = 1;
    t.countGroups.assign(1, QString());
    for (int n = 1; n <= t.game().pool; ++n) {
        const int c = t.numberCount[std::size_t(n)];
        if (c > t.maxCount) {
            t.maxCount = c;
            t.countGroups.resize(std::size_t(c) + 1);
        }
        QString& group = t.countGroups[std::size_t(c)];
        if (group.isEmpty()) {
            group = QString::number(n);
            ++t.countGroupRows;
        } else {
            group += u',' + QString::number(n);
        }
    }
    return t;
}

}  // namespace mirkano
