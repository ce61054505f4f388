// The sheet command for the prediction: the four sheets of 一発ミルカノ予想
// as the window shows them right after opening with the given options on.

#include "cli/cli.h"

#include "core/predict/prediction_sheets.h"
#include "core/sheet/sheet_json.h"
#include "core/history/history_store.h"
#include "core/history/startup_tables.h"

#include <QJsonArray>
#include <QJsonObject>


namespace mirkano::cli {

ReflectFlags parseReflect(const QString& list)
{
    ReflectFlags flags;
    if (list.isEmpty())
        return flags;
    for (const QString& item : list.split(QLatin1Char(','))) {
        const std::optional<int> index = parseDigits(item);
        if (!index || *index >= kReflectOptionCount)
            throw UsageError{QStringLiteral("--reflect の「%1」は 0～%2 のオプション番号ではありません")
                                 .arg(echoed(item))
                                 .arg(kReflectOptionCount - 1)};
        flags.on[std::size_t(*index)] = true;
    }
    return flags;
}

int runPredictionSheets(const Args& a, Streams& s)
{
    const QString db = a.required("db");
    const ReflectFlags flags = parseReflect(a.optional("reflect"));
    const auto [game, history] = loadGameHistory(a, db);
    const PeriodTables tables = buildPeriodTables(history, game);
    const PredictionSheets sheets =
        buildPredictionSheets(tables, predict(tables, buildStartupTables(history, game).latestDrawNo, flags));
    QJsonArray json;
    for (const Sheet& sheet : sheets)
        json.append(sheetToJson(sheet));
    const QJsonObject out{{QStringLiteral("analysis"), QString::fromLatin1(kPredictionId)},
                          {QStringLiteral("caption"), kPredictionCaption},
                          {QStringLiteral("sheets"), json}};
    writeJson(s.out, out);
    return kDone;
}

}  // namespace mirkano::cli
