// The sheet command: one analysis sheet, built from the history file, as JSON.

#include "cli/cli.h"

#include "core/analysis/analysis.h"
#include "core/sheet/sheet_json.h"
#include "core/history/history_store.h"
#include "core/history/startup_tables.h"

namespace mirkano::cli {

namespace {

QString availableAnalyses()
{
    QStringList ids;
    for (const Analysis& an : analyses())
        ids << QString::fromLatin1(an.id);
    ids << QString::fromLatin1(kPredictionId);
    return ids.join(QStringLiteral(", "));
}

}  // namespace

int runSheet(const Args& a, Streams& s)
{
    const QString db = a.required("db");
    if (a.positional.size() != 1)
        throw UsageError{QStringLiteral("分析を 1 つ指定してください。指定できる分析：") + availableAnalyses()};
    const QByteArray id = a.positional.first().toUtf8();
    if (id == kPredictionId)
        return runPredictionSheets(a, s);
    if (a.has("reflect"))
        throw UsageError{QStringLiteral("--reflect は分析 %1 にだけ指定できます").arg(QString::fromLatin1(kPredictionId))};
    // Every game has the same analyses by ID; the history decides the game.
    if (!findAnalysis(id.toStdString()))
        throw UsageError{QStringLiteral("分析「%1」はありません。指定できる分析：%2")
                             .arg(echoed(a.positional.first()), availableAnalyses())};
    const auto [game, history] = loadGameHistory(a, db);
    const Analysis* analysis = findAnalysis(game, id.toStdString());
    const StartupTables tables = buildStartupTables(history, game);
    writeSheetJson(s.out, analysis->build(history, tables),
                   {{QStringLiteral("analysis"), QString::fromLatin1(analysis->id)},
                    {QStringLiteral("caption"), analysis->facts.caption}});
    return kDone;
}

}  // namespace mirkano::cli
