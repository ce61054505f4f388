// The stats command: every test of the history against chance, as JSON.

#include "cli/cli.h"

#include "core/stats/stats_report.h"

namespace mirkano::cli {

int runStats(const Args& a, Streams& s)
{
    a.noPositional();
    const QString db = a.required("db");
    const ReflectFlags flags = parseReflect(a.optional("reflect"));
    const auto [game, rows] = loadGameHistory(a, db);
    writeJson(s.out, stats::statsJson(stats::statsReport(rows, game, flags)));
    return kDone;
}

}  // namespace mirkano::cli
